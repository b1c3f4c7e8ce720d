#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <utime.h>

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void onlyOneClaimAtATime()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString lockPath = runtime.filePath(QLatin1String(SingleInstance::Name) + QStringLiteral(".lock"));

        auto first = std::make_unique<SingleInstance>();
        QVERIFY(first->Acquire());
        QVERIFY(QFileInfo::exists(lockPath));
        SingleInstance second;
        QVERIFY(!second.Acquire());

        // A panel runs for hours: its lock must not turn stale with age.
        const utimbuf hourAgo{time(nullptr) - 3600, time(nullptr) - 3600};
        QCOMPARE(utime(QFile::encodeName(lockPath).constData(), &hourAgo), 0);
        SingleInstance third;
        QVERIFY(!third.Acquire());

        first.reset();
        QVERIFY(!QFileInfo::exists(lockPath));
        SingleInstance fourth;
        QVERIFY(fourth.Acquire());
    }

    // Without a usable lock directory the panel still starts.
    void unusableLockDirectoryLetsThePanelRun()
    {
        QTemporaryDir base;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base.filePath(QStringLiteral("missing/deeper"))));
        SingleInstance instance;
        QVERIFY(instance.Acquire());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
