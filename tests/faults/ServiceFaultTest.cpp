// The real panel against a lighting service that is absent, killed, hangs or
// answers garbage, driven by clicks on a private X server as a user would.

#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/VirtualDisplay.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <memory>

namespace {

const QString MainTitle = QLatin1String(PanelProcess::Title);

// The client gives up on a call after 10 s; the refusal and the ends come
// within 18 s on a loaded machine, well short of the bus's own 25 s.
constexpr int ClientTimeoutMs = 10000;
constexpr int WithinMs = 18000;
constexpr int NoGroupExitCode = 255; // -1 as the parent sees it

// How the service behaves when the panel starts.
constexpr int Absent = 0, Hangs = 1, Serves = 2;

QByteArray RandomBytes(quint32 seed, int size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random.bounded(1, 256)); });
    return bytes;
}

} // namespace

class ServiceFaultTest : public QObject
{
    Q_OBJECT

private:
    VirtualDisplay display;
    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<SimulatorProcess> service;

    std::unique_ptr<PanelProcess> StartPanel()
    {
        auto panel = std::make_unique<PanelProcess>(work->path(), work->filePath("none.reg"), display.Name());
        if (!panel->Launch())
            QTest::qFail("the panel did not start", __FILE__, __LINE__);
        return panel;
    }

    // A document for the service: the simulated rig's own when bytes is null.
    QString Document(const char* name, const QByteArray& bytes)
    {
        if (bytes.isNull())
            return QStringLiteral(LUMET_SOURCE_DIR "/simulator/data/") + name;
        QFile file(work->filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            QTest::qFail("cannot write a document for the service", __FILE__, __LINE__);
        return file.fileName();
    }

    // A service that serves two documents unchanged.
    void StartService(const QByteArray& capability = {}, const QByteArray& status = {})
    {
        service = std::make_unique<SimulatorProcess>(QStringList{
            "--capability", Document("capability.xml", capability), "--status", Document("status.xml", status)});
        QVERIFY2(service->Start(), qPrintable(service->ErrorOutput()));
    }

    void Click(const QString& window, QPoint at) { QVERIFY(display.Click(window, at)); }

    // The no-group message shows (at start without the main window); OK ends with -1.
    void ExpectNoGroupRefusal(PanelProcess& panel, bool atStart)
    {
        const QString box = display.WaitForWindow(QStringLiteral("Error"), WithinMs);
        QVERIFY2(!box.isEmpty(), "no error message appeared");
        if (atStart)
            QVERIFY2(display.WaitForWindow(MainTitle, 0).isEmpty(), "the main window showed without a model");
        QVERIFY(display.PressKey(box, QStringLiteral("Return")));
        QVERIFY2(panel.EndsWith(NoGroupExitCode), qPrintable(QString::number(panel.exitCode())));
    }

    // Selects an effect (enabling APPLY and UNDO), then uses every action but DEFAULT.
    void UseEveryAction(PanelProcess& panel, const QString& window)
    {
        for (QPoint at : {PanelProcess::EffectButton(0), PanelProcess::LedSwitch, PanelProcess::LedSwitch,
                          PanelProcess::ApplyButton, PanelProcess::EffectButton(0), PanelProcess::UndoButton})
            Click(window, at);
        QThread::msleep(300);
        QVERIFY2(panel.state() == QProcess::Running, "the panel ended");
        QVERIFY(!display.WaitForWindow(MainTitle, 0).isEmpty());
    }

    void Hold(bool stop) { if (service) ::kill(static_cast<pid_t>(service->Pid()), stop ? SIGSTOP : SIGCONT); }

private slots:
    void initTestCase()
    {
        if (!display.Start())
            QSKIP("Xvfb and xdotool are needed to drive the panel");
    }

    void init()
    {
        work = std::make_unique<QTemporaryDir>();
        QVERIFY(work->isValid());
    }

    void cleanup()
    {
        Hold(false);
        service.reset();
    }

    // Whatever the service gives at start, the panel either refuses with the
    // no-group message or keeps the model it has and goes on, its close button
    // (handled after every earlier click) ending it with 0.
    void atStart_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("capability");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<bool>("refused");
        const QByteArray rig; // the simulated rig's document
        QTest::newRow("absent") << Absent << rig << rig << true;
        QTest::newRow("hangs") << Hangs << rig << rig << true;
        QTest::newRow("capability random") << Serves << RandomBytes(11, 4096) << rig << true;
        QTest::newRow("no group") << Serves << QByteArray("<root><device key=\"Mainboard\"/></root>") << rig << true;
        const QByteArray deep = QByteArray("<root><device key=\"Group\">") + QByteArray("<a>").repeated(20000);
        QTest::newRow("nested deeply") << Serves << deep << rig << true;
        QTest::newRow("status random") << Serves << rig << RandomBytes(12, 4096) << false;
        QTest::newRow("status empty root") << Serves << rig << QByteArray("<root/>") << false;
    }

    void atStart()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, capability);
        QFETCH(QByteArray, status);
        QFETCH(bool, refused);
        if (kind != Absent)
            StartService(capability, status);
        if (kind == Hangs)
            Hold(true);
        const auto panel = StartPanel();
        if (refused) {
            ExpectNoGroupRefusal(*panel, true);
            return;
        }
        const QString window = panel->WaitForWindow(display);
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        UseEveryAction(*panel, window);
        Click(window, PanelProcess::CloseButton);
        QVERIFY(panel->EndsWith(0, 30000));
    }

    // Every action does nothing harmful once the service is gone, nor once a
    // new one answers garbage; DEFAULT then reloads the capability, which it
    // cannot give: the panel refuses as at start instead of running on
    // without a model.
    void lostWhileRunning()
    {
        StartService();
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        service->Kill();
        UseEveryAction(*panel, window);
        StartService(RandomBytes(13, 2048), RandomBytes(14, 2048));
        UseEveryAction(*panel, window);
        QThread::msleep(1100); // DEFAULT is ignored within a second of the start
        Click(window, PanelProcess::DefaultButton);
        ExpectNoGroupRefusal(*panel, false);
    }

    // Each call to the frozen service gives up after the client's timeout:
    // the close button, queued behind the LED switch, ends the panel soon after.
    void serviceHangsWhileRunning()
    {
        StartService();
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        Hold(true);
        QElapsedTimer clock;
        clock.start();
        Click(window, PanelProcess::LedSwitch);
        Click(window, PanelProcess::CloseButton);
        QVERIFY2(panel->EndsWith(0, WithinMs), "a call outlived the client's timeout");
        QVERIFY2(clock.elapsed() >= ClientTimeoutMs - 1000, "the switch did not wait for the service at all");
    }
};

QTEST_GUILESS_MAIN(ServiceFaultTest)
#include "ServiceFaultTest.moc"
