// Where the single-instance lock goes without $XDG_RUNTIME_DIR: a folder of
// the user's own under the temporary folder, never one another user could
// have planted there.
#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class SingleInstanceTest : public QObject
{
    Q_OBJECT

    const QString systemTemp = QDir::tempPath();
    std::unique_ptr<QTemporaryDir> temp;

    static QString LockName() { return QLatin1String(SingleInstance::Name) + QStringLiteral(".lock"); }
    QString Folder() const { return temp->filePath(QStringLiteral("vornlight-%1").arg(geteuid())); }
    QString Lock() const { return Folder() + QLatin1Char('/') + LockName(); }

private slots:
    void init()
    {
        temp = std::make_unique<QTemporaryDir>(systemTemp + QStringLiteral("/lock-folder-XXXXXX"));
        qputenv("TMPDIR", QFile::encodeName(temp->path()));
        qunsetenv("XDG_RUNTIME_DIR");
    }

    void ownFolderMadeAndUsed()
    {
        for (int round = 0; round < 2; ++round) { // made, then found
            SingleInstance first;
            QVERIFY(first.Acquire());
            struct stat st {};
            QVERIFY(lstat(QFile::encodeName(Folder()).constData(), &st) == 0 && S_ISDIR(st.st_mode));
            QCOMPARE(st.st_mode & 07777, static_cast<mode_t>(0700));
            QVERIFY(QFileInfo::exists(Lock()));
            QVERIFY(!QFileInfo::exists(temp->filePath(LockName())));
            SingleInstance second;
            QVERIFY2(!second.Acquire(), "a second claim in the same folder was granted");
        }
    }

    // A folder that is not the user's own is left alone: the panel runs,
    // without the claim, and says why.
    void plantedFolderRefused_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<QString>("why");
        QTest::newRow("others may write") << "mode 0777" << "may be written by others";
        QTest::newRow("group may write") << "mode 0770" << "may be written by others";
        QTest::newRow("link to an own folder") << "link" << "is not a folder";
        QTest::newRow("a file") << "file" << "is not a folder";
        QTest::newRow("another user's") << "owner 0700" << "belongs to another user";
    }

    void plantedFolderRefused()
    {
        QFETCH(QString, planted);
        QFETCH(QString, why);
        const QByteArray folder = QFile::encodeName(Folder());
        if (planted == "link")
            QVERIFY(mkdir(QFile::encodeName(temp->filePath("mine")), 0700) == 0 && symlink("mine", folder) == 0);
        else if (planted == "file")
            QVERIFY(QFile(Folder()).open(QIODevice::WriteOnly));
        else
            QVERIFY(mkdir(folder, 0700) == 0 && chmod(folder, planted.section(' ', 1).toUInt(nullptr, 8)) == 0);
        if (planted.startsWith("owner")) {
            if (geteuid() != 0)
                QSKIP("only root can give a folder to another user");
            QVERIFY(chown(folder, 65534, 65534) == 0);
        }
        const QString message = Folder() + QLatin1Char(' ') + why;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(message)));
        SingleInstance first, second;
        QVERIFY(first.Acquire());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(why)));
        QVERIFY(second.Acquire());
        QVERIFY(!QFileInfo::exists(Lock()));
        QVERIFY(!QFileInfo::exists(temp->filePath(QStringLiteral("mine/") + LockName())));
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
