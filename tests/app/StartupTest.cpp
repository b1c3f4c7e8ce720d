// Start-up as the user meets it: the built panel run as a process, with its
// registry file, a private lock directory and the simulated lighting service.
#include "app/HandOver.h"
#include "app/SingleInstance.h"
#include "tests/simulator/SimulatorProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <xcb/xcb.h>

#include <csignal>
#include <memory>

namespace {

const QString Program = QStringLiteral(LUMET_BIN_DIR "/vornlight");
const QString SimulatorData = QStringLiteral(LUMET_TEST_DATA "/../../simulator/data/");

// How long a panel that starts normally keeps running before it quits.
constexpr int NormalRunMs = 1500;

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SimulatorProcess> simulator;
    std::unique_ptr<QTemporaryDir> work;

    QString LockPath() const
    {
        return work->filePath(QStringLiteral("run/") + QLatin1String(SingleInstance::Name) + QStringLiteral(".lock"));
    }

    QString MarkerPath() const { return work->filePath(QStringLiteral("marker")); }

    // quitAfterMs < 0: the panel runs until it ends on its own or is killed.
    void Start(QProcess& panel, const QStringList& arguments, int quitAfterMs, const QString& display = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work->filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("VORNLIGHT_REGISTRY"), work->filePath(QStringLiteral("registry.reg")));
        env.remove(QStringLiteral("DISPLAY"));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        env.remove(QStringLiteral("VORNLIGHT_QUIT_AFTER_MS"));
        if (quitAfterMs >= 0)
            env.insert(QStringLiteral("VORNLIGHT_QUIT_AFTER_MS"), QString::number(quitAfterMs));
        panel.setProcessEnvironment(env);
        panel.start(Program, arguments);
        QVERIFY2(panel.waitForStarted(10000), qPrintable(panel.errorString()));
    }

    void WriteRegistry(const QString& values)
    {
        QFile file(work->filePath(QStringLiteral("registry.reg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORVEL\\LUMET]\r\n");
        file.write(values.toUtf8());
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }

    // A hand-over program: a shell script with the given body.
    QString WriteScript(const QString& body)
    {
        const QString path = work->filePath(QStringLiteral("handover.sh"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write("#!/bin/sh\n" + body.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    static QString RegistryText(const QString& text)
    {
        QString escaped = text;
        escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
        return QLatin1Char('"') + escaped + QLatin1Char('"');
    }

    // The panel gets past the single-instance claim, holds it while it runs,
    // quits on its timer with code 0 and gives the claim back.
    void ExpectNormalRun(const QStringList& arguments)
    {
        QProcess panel;
        Start(panel, arguments, NormalRunMs);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(WaitUntil([&] { return QFileInfo::exists(LockPath()) || panel.state() == QProcess::NotRunning; },
                           10000),
                 "the panel neither claimed the single instance nor ended");
        QVERIFY2(panel.state() == QProcess::Running, "the panel ended before it ran");
        QVERIFY(panel.waitForFinished(30000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(LockPath()));
    }

    // The panel ends on its own (no quit timer) with code 0 and never runs.
    void ExpectHandOver(const QString& display = QString())
    {
        QProcess panel;
        Start(panel, {}, -1, display);
        if (QTest::currentTestFailed())
            return;
        const bool ended = panel.waitForFinished(15000);
        if (!ended)
            panel.kill();
        QVERIFY2(ended, "the panel did not hand over");
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(LockPath()));
    }

private slots:
    void initTestCase()
    {
        simulator = std::make_unique<SimulatorProcess>(QStringList{
            QStringLiteral("--capability"), SimulatorData + QStringLiteral("capability.xml"),
            QStringLiteral("--status"), SimulatorData + QStringLiteral("status.xml")});
        QVERIFY2(simulator->Start(), qPrintable(simulator->ErrorOutput()));
    }

    void init()
    {
        work = std::make_unique<QTemporaryDir>();
        QVERIFY(work->isValid());
        QVERIFY(QDir(work->path()).mkdir(QStringLiteral("run")));
        QVERIFY(QFile::setPermissions(work->filePath(QStringLiteral("run")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void secondInstanceEndsAtOnce()
    {
        QProcess first;
        Start(first, {}, -1);
        QVERIFY(WaitUntil([&] { return QFileInfo::exists(LockPath()); }, 10000));

        QProcess second;
        QElapsedTimer clock;
        clock.start();
        Start(second, {}, -1);
        QVERIFY2(second.waitForFinished(10000), "the second panel kept running");
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // A panel that crashed leaves its lock behind; the next one starts anyway.
        first.kill();
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFileInfo::exists(LockPath()));
        ExpectNormalRun({});
    }

    void handOverNeedsMoreThanOneValue()
    {
        const QString script = WriteScript(QStringLiteral("touch \"%1\"").arg(MarkerPath()));
        WriteRegistry(QStringLiteral("\"LUMET\"=%1\r\n").arg(RegistryText(script)));
        ExpectNormalRun({});
        QVERIFY(!QFileInfo::exists(MarkerPath()));
    }

    // The panel waits for the program it started before it ends.
    void handOverStartsTheProgram()
    {
        const QString script = WriteScript(QStringLiteral("sleep 0.5\ntouch \"%1\"").arg(MarkerPath()));
        WriteRegistry(QStringLiteral("\"LUMET\"=%1\r\n\"needReboot\"=dword:00000000\r\n").arg(RegistryText(script)));
        ExpectHandOver();
        QVERIFY2(QFileInfo::exists(MarkerPath()), "the panel ended before its program did");
    }

    // ... but not for ever: the program is left running.
    void handOverWaitIsBounded()
    {
        const QString pidFile = work->filePath(QStringLiteral("pid"));
        const QString script = WriteScript(QStringLiteral("echo $$ > \"%1\"\nexec sleep 30").arg(pidFile));
        WriteRegistry(QStringLiteral("\"LUMET\"=%1\r\n\"Other\"=\"x\"\r\n").arg(RegistryText(script)));
        QElapsedTimer clock;
        clock.start();
        ExpectHandOver();
        const qint64 elapsed = clock.elapsed();
        QFile pid(pidFile);
        QVERIFY(pid.open(QIODevice::ReadOnly));
        const pid_t program = static_cast<pid_t>(pid.readAll().trimmed().toInt());
        QVERIFY(program > 0);
        const bool alive = ::kill(program, 0) == 0;
        ::kill(program, SIGKILL);
        QVERIFY2(elapsed >= HandOver::WaitMs - 100, qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < HandOver::WaitMs + 7000, qPrintable(QString::number(elapsed)));
        QVERIFY2(alive, "the started program was stopped with the panel");
    }

    // The quoted command line holds 253 characters of the program at most; a
    // longer name refuses the hand-over and the panel starts as usual.
    void overLongProgramStartsNormally_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("filler");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("253") << 253 << QStringLiteral("x") << true;
        QTest::newRow("253 with two-byte letters") << 253 << QStringLiteral("\u00fc") << true;
        QTest::newRow("254") << 254 << QStringLiteral("x") << false;
        QTest::newRow("1000") << 1000 << QStringLiteral("x") << false;
    }

    void overLongProgramStartsNormally()
    {
        QFETCH(int, length);
        QFETCH(QString, filler);
        QFETCH(bool, handedOver);
        // A program that does not exist: the hand-over still ends the panel.
        QString program = work->filePath(QStringLiteral("missing-"));
        program += filler.repeated(length - program.size());
        QCOMPARE(program.size(), length);
        WriteRegistry(QStringLiteral("\"LUMET\"=%1\r\n\"needReboot\"=\"\"\r\n").arg(RegistryText(program)));
        if (handedOver)
            ExpectHandOver();
        else
            ExpectNormalRun({});
    }

    // An open window of the other program means nothing is started.
    void handOverWindowAlreadyOpen()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            QSKIP("Xvfb is not installed");
        QProcess server;
        server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                            QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("320x240x24")});
        QVERIFY(server.waitForStarted(10000));
        // Ended politely on every path, so that it leaves no lock or socket behind.
        const std::unique_ptr<QProcess, void (*)(QProcess*)> stopServer(&server, [](QProcess* p) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
        });
        QByteArray number;
        QVERIFY(WaitUntil([&] {
            server.waitForReadyRead(50);
            number += server.readAllStandardOutput();
            return number.contains('\n') || server.state() == QProcess::NotRunning;
        }, 15000));
        const QString display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        QVERIFY2(number.trimmed().toInt() > 0 || number.trimmed() == "0", number.constData());

        const QString script = WriteScript(QStringLiteral("touch \"%1\"").arg(MarkerPath()));
        WriteRegistry(QStringLiteral("\"LUMET\"=%1\r\n\"Other\"=\"x\"\r\n").arg(RegistryText(script)));

        // Other windows do not count.
        const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
            xcb_connect(display.toLatin1().constData(), nullptr), xcb_disconnect);
        xcb_connection_t* x = connection.get();
        QVERIFY(!xcb_connection_has_error(x));
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
        auto openWindow = [&](const QByteArray& title) {
            const xcb_window_t window = xcb_generate_id(x);
            xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 50, 50, 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
            xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                                static_cast<uint32_t>(title.size()), title.constData());
            xcb_map_window(x, window);
            free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // round trip: all applied
        };
        openWindow("ORVEL LUMET 2");
        openWindow("ORVEL LUME");
        ExpectHandOver(display);
        QVERIFY2(QFileInfo::exists(MarkerPath()), "a window with another title stopped the hand-over");

        QVERIFY(QFile::remove(MarkerPath()));
        openWindow(HandOver::WindowTitle);
        ExpectHandOver(display);
        QThread::msleep(300);
        QVERIFY2(!QFileInfo::exists(MarkerPath()), "the program was started beside its open window");
    }

    // Options are single-dash words and case-sensitive; anything undeclared
    // ends the panel through the parser's report.
    void undeclaredOptionEndsWithParserError_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("lower case") << QStringLiteral("-capxml");
        QTest::newRow("upper case") << QStringLiteral("-STATUSXML");
        QTest::newRow("unknown") << QStringLiteral("-verbose");
    }

    void undeclaredOptionEndsWithParserError()
    {
        QFETCH(QString, option);
        QProcess panel;
        Start(panel, {option}, NormalRunMs);
        QVERIFY(panel.waitForFinished(15000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QVERIFY(panel.exitCode() != 0);
        const QString errors = QString::fromLocal8Bit(panel.readAllStandardError());
        QVERIFY2(errors.contains(option.mid(1)), qPrintable(errors));
    }

    void positionalArgumentIsAccepted()
    {
        ExpectNormalRun({QStringLiteral("positional"), QStringLiteral("-setProfileXml")});
    }

    void cleanupTestCase()
    {
        simulator.reset();
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
