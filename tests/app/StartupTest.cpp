// Start-up as the user meets it: the panel as a process, with its registry, lock folder and the simulated service.
#include "app/HandOver.h"
#include "app/SingleInstance.h"
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/VirtualDisplay.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>
#include <utime.h>

class StartupTest : public QObject
{
    Q_OBJECT

    const QString data = QStringLiteral(LUMET_TEST_DATA "/../../simulator/data/");
    SimulatorProcess simulator{{"--capability", data + "capability.xml", "--status", data + "status.xml"}};
    std::unique_ptr<QTemporaryDir> work;
    const QByteArray searchPath = qgetenv("PATH");

    QString Path(const QString& name) const { return work->filePath(name); }
    QString Registry() const { return Path("registry.reg"); }
    QString Lock() const { return Path(QLatin1String(SingleInstance::Name) + ".lock"); }
    QString Marker() const { return Path("marker"); }

    // The panel's key holding "LUMET" (the quoted program) and maybe a second value.
    void WriteRegistry(QString program, bool secondValue = true)
    {
        program.replace('\\', "\\\\").replace('"', "\\\"");
        QFile file(Registry());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORVEL\\LUMET]\r\n"
                   "\"LUMET\"=\"" + program.toUtf8() + "\"\r\n");
        file.write(secondValue ? "\"needReboot\"=dword:00000000\r\n" : "");
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }

    // A hand-over program: a shell script that touches the marker after a while.
    QString MarkerScript(const char* sleep, const QString& path = QString()) const
    {
        QFile file(path.isEmpty() ? Path("handover.sh") : path);
        QDir().mkpath(QFileInfo(file).path());
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\nsleep " + QByteArray(sleep) + "\ntouch \"" + Marker().toUtf8() + "\"\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return file.fileName();
    }

    // The value "LUMET" for a kind of program, made ready in the work folder.
    QString HandOverProgram(const QString& kind) const
    {
        if (kind.startsWith("length ")) { // "length N filler": a script at a path of N UTF-16 units
            const int length = kind.section(' ', 1, 1).toInt();
            const QChar filler = kind.back();
            QString path = work->path() + '/';
            while (length - path.size() > 101) // in folders short enough for the file system
                path += QString(100, filler) + '/';
            return MarkerScript("0", path + QString(length - path.size(), filler));
        }
        if (kind == "bare name on the search path")
            return QFileInfo(MarkerScript("0", Path("bin/vornlight-handover"))).fileName();
        if (kind == "bare name in the current folder" || kind == "relative path")
            return (kind == "relative path" ? "./" : "") + QFileInfo(MarkerScript("0", Path("rel.sh"))).fileName();
        if (kind == "not executable") {
            const QString script = MarkerScript("0");
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner);
            return script;
        }
        if (kind == "folder")
            QDir().mkpath(Path("folder"));
        return kind == "missing" || kind == "folder" ? Path(kind) : kind == "empty" ? QString() : MarkerScript("0.5");
    }

    // The panel gets past the single-instance claim, runs until its timer quits it, and gives the claim back.
    void ExpectNormalRun(const QStringList& arguments = {}, const QString& runtime = QString())
    {
        PanelProcess panel(runtime.isEmpty() ? work->path() : runtime, Registry());
        panel.SetEnvironment("VORNLIGHT_QUIT_AFTER_MS", "1500");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(panel.Launch(arguments) && panel.EndsWith(0, 30000));
        QVERIFY2(clock.elapsed() >= 1400, "the panel ended before it ran");
        QVERIFY(!QFileInfo::exists(Lock()));
    }

    // The panel ends on its own (no quit timer) with code 0 and never runs.
    void ExpectHandOver(const QString& display = QString())
    {
        PanelProcess panel(work->path(), Registry(), display);
        QVERIFY(panel.Launch() && panel.EndsWith(0));
    }

private slots:
    void initTestCase() { QVERIFY2(simulator.Start(), qPrintable(simulator.ErrorOutput())); }

    // The panel starts in the work folder, whose bin/ is first on the search path.
    void init()
    {
        work = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(work->path()));
        qputenv("PATH", QFile::encodeName(Path("bin")) + ':' + searchPath);
    }

    void secondInstanceEndsAtOnce()
    {
        PanelProcess first(work->path(), Registry());
        QVERIFY(first.Launch());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(Lock()), 10000);
        // A panel runs for hours: its claim must not turn stale with age.
        const utimbuf hourAgo{time(nullptr) - 3600, time(nullptr) - 3600};
        QCOMPARE(utime(QFile::encodeName(Lock()).constData(), &hourAgo), 0);
        PanelProcess second(work->path(), Registry());
        QVERIFY2(second.Launch() && second.EndsWith(0, 10000), "the second panel kept running or failed");
        QCOMPARE(first.state(), QProcess::Running);

        // A panel that crashed leaves its lock behind; the next one starts anyway.
        first.kill();
        QVERIFY(first.waitForFinished(10000) && QFileInfo::exists(Lock()));
        ExpectNormalRun();
        ExpectNormalRun({}, Path("missing/deeper")); // nowhere to claim: the panel runs all the same
    }

    // The key must hold more than one value; a program of more than 253 characters
    // refuses the hand-over. Otherwise the panel starts the program, waits for it, and
    // ends. A name that cannot be started, or that would have to be taken from the
    // current folder, lets the panel start normally.
    void handOver_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("secondValue");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("only LUMET") << "script" << false << false;
        QTest::newRow("two values") << "script" << true << true;
        QTest::newRow("253") << "length 253 x" << true << true;
        QTest::newRow("253 two-byte letters") << "length 253 \u00fc" << true << true;
        QTest::newRow("254") << "length 254 x" << true << false;
        QTest::newRow("bare name on the search path") << "bare name on the search path" << true << true;
        for (const char* kind : {"bare name in the current folder", "relative path", "missing", "not executable",
                                 "folder", "empty"})
            QTest::newRow(kind) << kind << true << false;
    }

    void handOver()
    {
        QFETCH(QString, program);
        QFETCH(bool, secondValue);
        QFETCH(bool, handedOver);
        WriteRegistry(HandOverProgram(program), secondValue);
        if (handedOver)
            ExpectHandOver();
        else
            ExpectNormalRun();
        QCOMPARE(QFileInfo::exists(Marker()), handedOver);
    }

    // A start reads the registry file once, however many values it looks up.
    // (Closes are watched too: the queue folds identical events in a row.)
    void registryReadOncePerStart()
    {
        WriteRegistry(MarkerScript("0"), false);
        const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watcher >= 0 && inotify_add_watch(watcher, QFile::encodeName(Registry()).constData(),
                                                    IN_ACCESS | IN_OPEN | IN_CLOSE_NOWRITE) >= 0);
        ExpectNormalRun();
        int opened = 0, read = 0;
        char buffer[4096] __attribute__((aligned(__alignof__(inotify_event))));
        for (ssize_t n; (n = ::read(watcher, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                opened += (event->mask & IN_OPEN) != 0;
                read += (event->mask & IN_ACCESS) != 0;
                at += sizeof(inotify_event) + event->len;
            }
        }
        close(watcher);
        QVERIFY2(opened >= 3, "the hand-over, reboot and version look-ups did not all open the file");
        QCOMPARE(read, 1);
    }

    // An open window titled exactly "ORVEL LUMET" means the program runs already.
    void handOverWindowAlreadyOpen()
    {
        VirtualDisplay display;
        QVERIFY(display.Start());
        WriteRegistry(MarkerScript("0"));
        display.OpenWindow("ORVEL LUMET 2");
        display.OpenWindow("ORVEL LUME");
        ExpectHandOver(display.Name());
        QVERIFY2(QFile::remove(Marker()), "a window with another title stopped the hand-over");
        display.OpenWindow(HandOver::WindowTitle);
        ExpectHandOver(display.Name());
        QVERIFY2(!QFileInfo::exists(Marker()), "the program was started beside its open window");
        // It runs, though the name here would start nothing.
        WriteRegistry(Path("missing"));
        ExpectHandOver(display.Name());
    }

    // The panel waits for the program, but not for ever: after the bound it is left running.
    void handOverWaitIsBounded()
    {
        WriteRegistry(MarkerScript("6"));
        QElapsedTimer clock;
        clock.start();
        ExpectHandOver();
        QVERIFY2(clock.elapsed() >= HandOver::WaitMs - 100 && !QFileInfo::exists(Marker()),
                 "the panel did not wait for the bound, or waited past it");
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(Marker()), "the program was stopped with the panel", 10000);
    }

    // Options are single-dash words and case-sensitive; anything undeclared
    // ends the panel through the parser's report. Positional arguments pass.
    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("lower case") << QStringList{"-capxml"} << false;
        QTest::newRow("upper case") << QStringList{"-STATUSXML"} << false;
        QTest::newRow("positional") << QStringList{"positional", "-setProfileXml"} << true;
    }

    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, accepted);
        if (accepted)
            return ExpectNormalRun(arguments);
        PanelProcess panel(work->path(), Registry());
        panel.setProcessChannelMode(QProcess::SeparateChannels);
        QVERIFY(panel.Launch(arguments) && panel.waitForFinished(15000));
        QVERIFY(panel.exitStatus() == QProcess::NormalExit && panel.exitCode() != 0);
        const QString errors = QString::fromLocal8Bit(panel.readAllStandardError());
        QVERIFY2(errors.contains(arguments[0].mid(1)), qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
