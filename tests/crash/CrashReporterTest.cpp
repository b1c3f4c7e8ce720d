#include "app/CrashReporter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

QString ExpectedInit(const QString& version)
{
    // 36 bytes with 4-byte pointers, 64 with 8-byte ones.
    const int size = sizeof(void*) == 4 ? 36 : 64;
    return QStringLiteral("InitCrashRpt size=%1 guid=A1C4E7F0-3B52-4D86-9E1A-7C0F5B2D8E43"
                          " prefix=null name=Vorn vendor=Orvel version=%2 hotfix=0 padding=0"
                          " package=null settings=56,0,1,0,0,0,0,0,0,0,0,0,0,0 ownProcess=1")
        .arg(size)
        .arg(version);
}

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList ReadyAnswers(int notReady)
{
    QStringList lines;
    for (int i = 0; i < notReady; ++i)
        lines << QStringLiteral("IsReadyToExit false");
    lines << QStringLiteral("IsReadyToExit true");
    return lines;
}

struct ProbeRun
{
    QString state;     // what the probe printed from main
    QStringList calls; // what the library was given
    qint64 exitMs = -1; // from the end of main to the end of the process
};

} // namespace

class CrashReporterTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString recordPath() const { return m_dir.filePath(QStringLiteral("record.txt")); }

    QProcessEnvironment environment(const QString& libraryDir, const QStringList& settings) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_LIBRARY_PATH"), libraryDir);
        env.insert(QStringLiteral("CRASH_TEST_RECORD"), recordPath());
        for (const QString& setting : settings)
            env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
        return env;
    }

    ProbeRun runProbe(const QString& libraryDir, const QStringList& settings)
    {
        QFile::remove(recordPath());
        ProbeRun run;
        QProcess probe;
        probe.setProcessEnvironment(environment(libraryDir, settings));
        probe.start(QStringLiteral(CRASH_PROBE), QStringList());
        if (!probe.waitForStarted(10000))
            return run;
        while (!probe.canReadLine() && probe.waitForReadyRead(10000)) {
        }
        QElapsedTimer exit;
        exit.start();
        run.state = QString::fromUtf8(probe.readLine()).trimmed();
        if (probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit
            && probe.exitCode() == 0)
            run.exitMs = exit.elapsed();
        run.calls = ReadLines(recordPath());
        return run;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qunsetenv("CRASH_TEST_NOT_READY");
        qunsetenv("CRASH_TEST_VERSION");
        qunsetenv("CRASH_TEST_INIT");
    }

    // The process-wide reporter initialises a complete library before main and
    // waits at exit until the library says it is ready.
    void completeLibrary_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("notReady");
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("initialised");

        QTest::newRow("ready after five polls") << QStringList{"CRASH_TEST_NOT_READY=5"} << 5
                                                << "3.1.4.15" << 1;
        QTest::newRow("version unavailable")
            << QStringList{"CRASH_TEST_VERSION=fail"} << 0 << "1.0.0.0" << 1;
        QTest::newRow("initialisation fails")
            << QStringList{"CRASH_TEST_INIT=fail", "CRASH_TEST_NOT_READY=2"} << 2 << "3.1.4.15" << 0;
    }

    void completeLibrary()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, notReady);
        QFETCH(QString, version);
        QFETCH(int, initialised);

        const ProbeRun run = runProbe(QStringLiteral(CRASH_COMPLETE_DIR), settings);
        QCOMPARE(run.state, QStringLiteral("loaded=1 initialised=%1").arg(initialised));
        QCOMPARE(run.calls, QStringList() << QStringLiteral("GetVersionFromApp")
                                          << ExpectedInit(version) << ReadyAnswers(notReady));
        QVERIFY(run.exitMs >= 0);
        // Each "not ready" costs one 100 ms step; the line is read a moment
        // after the probe wrote it, hence a little slack below.
        QVERIFY2(run.exitMs >= notReady * 100 - 30, qPrintable(QString::number(run.exitMs)));
        QVERIFY2(run.exitMs < notReady * 100 + 3000, qPrintable(QString::number(run.exitMs)));
    }

    // A library that cannot be used changes nothing: no call, no wait, even
    // though its "IsReadyToExit" would keep the process waiting.
    void unusableLibrary_data()
    {
        QTest::addColumn<QString>("libraryDir");
        QTest::newRow("missing an entry point") << QStringLiteral(CRASH_INCOMPLETE_DIR);
        QTest::newRow("no library") << m_dir.path();
    }

    void unusableLibrary()
    {
        QFETCH(QString, libraryDir);
        const ProbeRun run = runProbe(libraryDir, {"CRASH_TEST_NOT_READY=5"});
        QCOMPARE(run.state, QStringLiteral("loaded=0 initialised=0"));
        QCOMPARE(run.calls, QStringList());
        QVERIFY(run.exitMs >= 0);
        QVERIFY2(run.exitMs < 400, qPrintable(QString::number(run.exitMs)));
    }

    // A library that never becomes ready holds the exit only for the bound.
    void exitWaitIsBounded()
    {
        QFile::remove(recordPath());
        qputenv("CRASH_TEST_RECORD", QFile::encodeName(recordPath()));
        qputenv("CRASH_TEST_NOT_READY", "-1");
        auto reporter = std::make_unique<CrashReporter>(CRASH_COMPLETE_DIR "/libcrashrpt.so", 3);
        qunsetenv("CRASH_TEST_NOT_READY");
        QVERIFY(reporter->loaded());
        QVERIFY(reporter->initialised());
        QVERIFY(!reporter->assertFilterInstalled());

        QElapsedTimer exit;
        exit.start();
        reporter.reset();
        const qint64 ms = exit.elapsed();
        QVERIFY2(ms >= 300 && ms < 3000, qPrintable(QString::number(ms)));
        QStringList neverReady = ReadyAnswers(4);
        neverReady.removeLast();
        QCOMPARE(ReadLines(recordPath()).filter(QStringLiteral("IsReadyToExit")), neverReady);
    }

    // The panel itself carries the reporter: the library is initialised
    // before the panel's own start-up runs.
    void panelCarriesReporter()
    {
        QFile::remove(recordPath());
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QProcessEnvironment env = environment(QStringLiteral(CRASH_COMPLETE_DIR), {});
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("VORNLIGHT_REGISTRY"), runtime.filePath(QStringLiteral("none.reg")));
        QProcess panel;
        panel.setProcessEnvironment(env);
        panel.start(QStringLiteral(CRASH_PANEL), QStringList());
        QVERIFY(panel.waitForStarted(10000));

        QStringList calls;
        for (int i = 0; i < 200 && calls.size() < 2; ++i) {
            QThread::msleep(50);
            calls = ReadLines(recordPath());
        }
        panel.kill();
        panel.waitForFinished(10000);
        QVERIFY(calls.size() >= 2);
        QCOMPARE(calls.mid(0, 2), QStringList() << QStringLiteral("GetVersionFromApp")
                                                << ExpectedInit(QStringLiteral("3.1.4.15")));
    }
};

QTEST_GUILESS_MAIN(CrashReporterTest)
#include "CrashReporterTest.moc"
