#include "app/CrashReporter.h"
#include "tests/support/PanelProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class CrashReporterTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    const QString recordPath = dir.filePath(QStringLiteral("record.txt"));

    static QString ExpectedInit(const QString& version)
    {
        // 36 bytes with 4-byte pointers, 64 with 8-byte ones.
        return QStringLiteral("InitCrashRpt size=%1 guid=A1C4E7F0-3B52-4D86-9E1A-7C0F5B2D8E43 prefix=null name=Vorn"
                              " vendor=Orvel version=%2 hotfix=0 padding=0 package=null"
                              " settings=56,0,1,0,0,0,0,0,0,0,0,0,0,0 ownProcess=1")
            .arg(sizeof(void*) == 4 ? 36 : 64).arg(version);
    }

    // What the stand-in library was given, a call a line.
    QStringList Record() const
    {
        QFile file(recordPath);
        return file.open(QIODevice::ReadOnly) ? QString(file.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
    }

private slots:
    void initTestCase() { qputenv("CRASH_TEST_RECORD", QFile::encodeName(recordPath)); }

    void cleanup()
    {
        for (const char* name : {"LD_LIBRARY_PATH", "CRASH_TEST_NOT_READY", "CRASH_TEST_VERSION", "CRASH_TEST_INIT"})
            qunsetenv(name);
        QFile::remove(recordPath);
    }

    // The panel's reporter instance initialises a complete library before main
    // and waits at exit, 100 ms per "not ready". A library that cannot be used
    // changes nothing: no call, no wait (though its "IsReadyToExit" would).
    void probe_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QByteArray>("failing"); // the entry point told to fail
        QTest::addColumn<int>("notReady");
        QTest::addColumn<QString>("version"); // empty: the library is not used
        QTest::addColumn<int>("initialised");
        const QString complete = QStringLiteral(CRASH_COMPLETE_DIR);
        QTest::newRow("ready after five polls") << complete << QByteArray() << 5 << "3.1.4.15" << 1;
        QTest::newRow("version unavailable") << complete << QByteArray("CRASH_TEST_VERSION") << 0 << "1.0.0.0" << 1;
        QTest::newRow("initialisation fails") << complete << QByteArray("CRASH_TEST_INIT") << 2 << "3.1.4.15" << 0;
        QTest::newRow("missing an entry point") << CRASH_INCOMPLETE_DIR << QByteArray() << 5 << QString() << 0;
        QTest::newRow("no library") << dir.path() << QByteArray() << 5 << QString() << 0;
    }

    void probe()
    {
        QFETCH(QString, library);
        QFETCH(QByteArray, failing);
        QFETCH(int, notReady);
        QFETCH(QString, version);
        QFETCH(int, initialised);
        qputenv("LD_LIBRARY_PATH", QFile::encodeName(library));
        qputenv("CRASH_TEST_NOT_READY", QByteArray::number(notReady));
        if (!failing.isEmpty())
            qputenv(failing.constData(), "fail");
        const int waits = version.isEmpty() ? 0 : notReady;
        QProcess probe;
        probe.start(QStringLiteral(CRASH_PROBE), QStringList());
        // The probe's one line ends main: the exit is timed from there.
        QVERIFY(probe.waitForStarted(10000) && probe.waitForReadyRead(10000));
        QElapsedTimer exit;
        exit.start();
        QCOMPARE(probe.readLine().trimmed(), QByteArray("loaded=") + (version.isEmpty() ? "0" : "1")
                                                 + " initialised=" + QByteArray::number(initialised));
        QVERIFY(probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0);
        const qint64 ms = exit.elapsed();
        QCOMPARE(Record(), (version.isEmpty() ? QStringList()
                                              : QStringList{"GetVersionFromApp", ExpectedInit(version)}
                                                  + QVector<QString>(waits, "IsReadyToExit false").toList()
                                                  + QStringList{"IsReadyToExit true"}));
        // The line is read a moment after the probe wrote it: a little slack below.
        QVERIFY2(ms >= waits * 100 - 30 && ms < waits * 100 + (version.isEmpty() ? 400 : 3000),
                 qPrintable(QString::number(ms)));
    }

    // A library that never becomes ready holds the exit only for the bound.
    void exitWaitIsBounded()
    {
        qputenv("CRASH_TEST_NOT_READY", "-1");
        auto reporter = std::make_unique<CrashReporter>(CRASH_COMPLETE_DIR "/libcrashrpt.so", 3);
        QVERIFY(reporter->loaded() && reporter->initialised() && !reporter->assertFilterInstalled());
        QElapsedTimer exit;
        exit.start();
        reporter.reset();
        QVERIFY2(exit.elapsed() >= 300 && exit.elapsed() < 3000, qPrintable(QString::number(exit.elapsed())));
        QCOMPARE(Record().filter(QStringLiteral("IsReadyToExit")), QVector<QString>(4, "IsReadyToExit false").toList());
    }

    // The panel itself carries the reporter: the library is initialised
    // before the panel's own start-up runs.
    void panelCarriesReporter()
    {
        PanelProcess panel(dir.path(), dir.filePath(QStringLiteral("none.reg")));
        panel.SetEnvironment(QStringLiteral("LD_LIBRARY_PATH"), QStringLiteral(CRASH_COMPLETE_DIR));
        QVERIFY(panel.Launch());
        QTRY_COMPARE_WITH_TIMEOUT(Record().mid(0, 2),
                                  (QStringList{"GetVersionFromApp", ExpectedInit(QStringLiteral("3.1.4.15"))}), 10000);
    }
};

QTEST_GUILESS_MAIN(CrashReporterTest)
#include "CrashReporterTest.moc"
