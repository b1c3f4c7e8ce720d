// The real panel against a lighting service that fails: absent at start,
// killed while the panel runs, hanging, or answering garbage. The panel runs
// on a private X server and is driven by clicks, as a user would drive it.

#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/VirtualDisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <memory>

namespace {

const QString MainTitle = QLatin1String(PanelProcess::Title);
const QString ErrorTitle = QStringLiteral("Error");

// The client gives up on a call after 10 s; slack for a loaded machine, well
// short of the 25 s a call would wait without the client's bound.
constexpr int ClientTimeoutMs = 10000;
constexpr int TimeoutSlackMs = 8000;
// The exit code -1 as the parent sees it.
constexpr int NoGroupExitCode = 255;

QByteArray ReadSource(const char* path)
{
    QFile file(QStringLiteral(LUMET_SOURCE_DIR "/") + QLatin1String(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray RandomBytes(quint32 seed, int size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.bounded(1, 256));
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
        auto panel = std::make_unique<PanelProcess>(work->filePath(QStringLiteral("run")),
                                                    work->filePath(QStringLiteral("none.reg")), display.Name());
        if (!panel->Launch())
            QTest::qFail("the panel did not start", __FILE__, __LINE__);
        return panel;
    }

    // Whether a window titled title is showing now.
    bool Showing(const QString& title) const { return !display.WaitForWindow(title, 0).isEmpty(); }

    void StartService(const QStringList& arguments)
    {
        service = std::make_unique<SimulatorProcess>(arguments);
        QVERIFY2(service->Start(), qPrintable(service->ErrorOutput()));
    }

    void StartRig() { StartService({QStringLiteral("--state-dir"), work->filePath(QStringLiteral("state")),
                                    QStringLiteral("--reset")}); }

    void StartFixed(const QByteArray& capability, const QByteArray& status)
    {
        const QString cap = work->filePath(QStringLiteral("capability.xml"));
        const QString sta = work->filePath(QStringLiteral("status.xml"));
        QFile c(cap), s(sta);
        QVERIFY(c.open(QIODevice::WriteOnly) && c.write(capability) == capability.size());
        QVERIFY(s.open(QIODevice::WriteOnly) && s.write(status) == status.size());
        c.close();
        s.close();
        StartService({QStringLiteral("--capability"), cap, QStringLiteral("--status"), sta});
    }

    void Click(const QString& window, QPoint at) { QVERIFY(display.Click(window, at)); }

    // The no-group message is shown (at start without the main window); OK
    // ends the panel with -1.
    void ExpectNoGroupRefusal(PanelProcess& panel, int withinMs, bool atStart)
    {
        const QString box = display.WaitForWindow(ErrorTitle, withinMs);
        QVERIFY2(!box.isEmpty(), "no error message appeared");
        if (atStart)
            QVERIFY2(!Showing(MainTitle), "the main window showed without a model");
        QVERIFY(display.PressKey(box, QStringLiteral("Return")));
        QVERIFY2(panel.EndsWith(NoGroupExitCode), qPrintable(QString::number(panel.exitCode())));
    }

    // The panel survived what came before: it still shows its window, and its
    // close button (handled after every earlier click) ends it with 0.
    void ExpectStillRunningThenClose(PanelProcess& panel, const QString& window)
    {
        QThread::msleep(300);
        QVERIFY2(panel.state() == QProcess::Running, "the panel ended");
        QVERIFY(Showing(MainTitle));
        Click(window, PanelProcess::CloseButton);
        QVERIFY(panel.EndsWith(0, 30000));
    }

    // Selects an effect (which enables APPLY and UNDO), then uses every action
    // the window has except DEFAULT.
    void UseEveryAction(const QString& window)
    {
        Click(window, PanelProcess::EffectButton(0));
        Click(window, PanelProcess::LedSwitch);
        Click(window, PanelProcess::LedSwitch);
        Click(window, PanelProcess::ApplyButton);
        Click(window, PanelProcess::EffectButton(0));
        Click(window, PanelProcess::UndoButton);
    }

    void Hold(bool stop)
    {
        ::kill(static_cast<pid_t>(service->Pid()), stop ? SIGSTOP : SIGCONT);
    }

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
        QVERIFY(QDir(work->path()).mkpath(QStringLiteral("run")));
        QVERIFY(QFile::setPermissions(work->filePath(QStringLiteral("run")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void cleanup()
    {
        if (service)
            Hold(false);
        service.reset();
    }

    void serviceAbsentAtStart()
    {
        const auto panel = StartPanel();
        ExpectNoGroupRefusal(*panel, 20000, true);
    }

    void serviceKilledWhileRunning()
    {
        StartRig();
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        service->Kill();
        UseEveryAction(window);
        ExpectStillRunningThenClose(*panel, window);
    }

    // DEFAULT reloads the capability, which a missing service cannot give:
    // the panel refuses as at start instead of running on without a model.
    void serviceKilledThenDefault()
    {
        StartRig();
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY(!window.isEmpty());
        service->Kill();
        QThread::msleep(1100); // DEFAULT is ignored within a second of the start
        Click(window, PanelProcess::DefaultButton);
        ExpectNoGroupRefusal(*panel, 20000, false);
    }

    // The capability call gives up after the client's timeout: the refusal
    // shows within it, not after the bus's own 25 s.
    void serviceHangsAtStart()
    {
        StartRig();
        Hold(true);
        const auto panel = StartPanel();
        ExpectNoGroupRefusal(*panel, ClientTimeoutMs + TimeoutSlackMs, true);
    }

    // Each call to the frozen service gives up after the client's timeout:
    // the close button, queued behind the LED switch, ends the panel soon after.
    void serviceHangsWhileRunning()
    {
        StartRig();
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY(!window.isEmpty());
        Hold(true);
        QElapsedTimer clock;
        clock.start();
        Click(window, PanelProcess::LedSwitch);
        Click(window, PanelProcess::CloseButton);
        QVERIFY2(panel->EndsWith(0, ClientTimeoutMs + TimeoutSlackMs), "a call outlived the client's timeout");
        QVERIFY2(clock.elapsed() >= ClientTimeoutMs - 1000, "the switch did not wait for the service at all");
    }

    void garbageCapability_data()
    {
        QTest::addColumn<QByteArray>("capability");
        const QByteArray real = ReadSource("simulator/data/capability.xml");
        QTest::newRow("random bytes") << RandomBytes(11, 4096);
        QTest::newRow("cut off") << real.left(real.size() / 2);
        QTest::newRow("no group") << QByteArray("<root><device key=\"Mainboard\"><ledlist/></device></root>");
        QTest::newRow("nested deeply") << QByteArray("<root><device key=\"Group\">") + QByteArray("<a>").repeated(20000);
    }

    void garbageCapability()
    {
        QFETCH(QByteArray, capability);
        StartFixed(capability, ReadSource("simulator/data/status.xml"));
        const auto panel = StartPanel();
        ExpectNoGroupRefusal(*panel, 20000, true);
    }

    void garbageStatus_data()
    {
        QTest::addColumn<QByteArray>("status");
        const QByteArray real = ReadSource("simulator/data/status.xml");
        QTest::newRow("random bytes") << RandomBytes(12, 4096);
        QTest::newRow("cut off") << real.left(real.size() / 2);
        QTest::newRow("absurd values")
            << QByteArray("<root><device key=\"Group\"><isenabled>99999999999</isenabled><scene><mode key=\"-1\"/></scene>"
                          "<scene><state>S0</state><mode key=\"4\"><color_type>?</color_type>"
                          "<start_end_color_cycle_start>1e999</start_end_color_cycle_start>"
                          "<effect_path_order><order key=\"\">-5</order><order key=\"x\">2147483648</order>"
                          "</effect_path_order><effect_speed>nan</effect_speed>"
                          "<led key=\"DIMM_A1\"><color>-1</color><hue>inf</hue><saturation>-3</saturation>"
                          "<lightness>1e-999</lightness><speed>0x10</speed></led><led key=\"nope\"/></mode></scene>"
                          "</device><device key=\"Group\"/></root>");
        QTest::newRow("empty root") << QByteArray("<root/>");
    }

    // The panel keeps the model it has and goes on.
    void garbageStatus()
    {
        QFETCH(QByteArray, status);
        StartFixed(ReadSource("simulator/data/capability.xml"), status);
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        UseEveryAction(window);
        ExpectStillRunningThenClose(*panel, window);
    }

    // A service that starts answering garbage while the panel runs.
    void garbageAfterStart()
    {
        StartRig();
        const auto panel = StartPanel();
        const QString window = panel->WaitForWindow(display);
        QVERIFY(!window.isEmpty());
        service->Kill();
        StartFixed(RandomBytes(13, 2048), RandomBytes(14, 2048));
        UseEveryAction(window);
        QThread::msleep(1100);
        Click(window, PanelProcess::DefaultButton);
        ExpectNoGroupRefusal(*panel, 20000, false);
    }
};

QTEST_GUILESS_MAIN(ServiceFaultTest)
#include "ServiceFaultTest.moc"
