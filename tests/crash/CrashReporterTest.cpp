#include "app/CrashReporter.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

class CrashReporterTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const QString recordPath = dir.filePath(QStringLiteral("record.txt"));

    // What a usable library is told, a call a line; the record is 36 bytes with
    // 4-byte pointers, 64 with 8-byte ones.
    static QStringList Expected(const QString& version, int waits)
    {
        return QStringList{"GetVersionFromApp",
                QStringLiteral("InitCrashRpt size=%1 guid=A1C4E7F0-3B52-4D86-9E1A-7C0F5B2D8E43 prefix=null name=Vorn"
                               " vendor=Orvel version=%2 hotfix=0 padding=0 package=null"
                               " settings=56,0,1,0,0,0,0,0,0,0,0,0,0,0 ownProcess=1")
                    .arg(sizeof(void*) == 4 ? 36 : 64).arg(version)}
            + QVector<QString>(waits, "IsReadyToExit false").toList() << "IsReadyToExit true";
    }

    QStringList Record() const
    {
        QFile file(recordPath);
        return file.open(QIODevice::ReadOnly) ? QString(file.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
    }

private slots:
    void initTestCase() { qputenv("CRASH_TEST_RECORD", QFile::encodeName(recordPath)); }

    void cleanup() { QFile::remove(recordPath); }

    // The panel's reporter instance initialises a complete library before main
    // and waits at exit, 100 ms per "not ready". A library that cannot be used
    // changes nothing: no call, no wait (though its "IsReadyToExit" would).
    void probe_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<int>("notReady");
        QTest::addColumn<QString>("version"); // empty: the library is not used
        QTest::newRow("ready after five polls") << CRASH_COMPLETE_DIR << 5 << "3.1.4.15";
        QTest::newRow("version unavailable") << CRASH_COMPLETE_DIR << 0 << "1.0.0.0";
        QTest::newRow("missing an entry point") << CRASH_INCOMPLETE_DIR << 5 << QString();
        QTest::newRow("no library") << dir.path() << 5 << QString();
    }

    void probe()
    {
        QFETCH(QString, library);
        QFETCH(int, notReady);
        QFETCH(QString, version);
        qputenv("LD_LIBRARY_PATH", QFile::encodeName(library));
        qputenv("CRASH_TEST_NOT_READY", QByteArray::number(notReady));
        // "1.0.0.0" when the library cannot tell the version.
        version == "1.0.0.0" ? qputenv("CRASH_TEST_VERSION", "fail") : qunsetenv("CRASH_TEST_VERSION");
        const int waits = version.isEmpty() ? 0 : notReady;
        QProcess probe;
        probe.start(QStringLiteral(CRASH_PROBE), QStringList());
        // The probe's one line ends main: the exit is timed from its reading, a little late.
        QVERIFY(probe.waitForStarted(10000) && probe.waitForReadyRead(10000));
        QElapsedTimer exit;
        exit.start();
        QCOMPARE(QString(probe.readLine().trimmed()),
                 QStringLiteral("loaded=%1 initialised=%1").arg(int(!version.isEmpty())));
        QVERIFY(probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0);
        const qint64 ms = exit.elapsed();
        QCOMPARE(Record(), version.isEmpty() ? QStringList() : Expected(version, waits));
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
};

QTEST_GUILESS_MAIN(CrashReporterTest)
#include "CrashReporterTest.moc"
