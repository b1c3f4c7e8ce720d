// "SetProfile.xml" in the program directory: kept only while the switch is on,
// never the source of what is sent. Each case runs a copy of the probe program
// in a directory prepared for it, so its own program directory is exercised.
#include "profile/EffectProfile.h"
#include "tests/profile/ProfileFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <tinyxml2.h>

namespace {

const char* const ProfileFile = "SetProfile.xml";

// The text the probe sends last: the colour cycle profile of the fixture.
QByteArray ExpectedProfile()
{
    const auto group = ProfileFixture::TwoLedGroup();
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    EffectProfile::Compose(doc, group.get(), group->GetKey(), 4, EffectProfile::Parts());
    tinyxml2::XMLPrinter printer(nullptr, false);
    doc.Print(&printer);
    return QByteArray(printer.CStr());
}

struct ProgramDirectory
{
    QTemporaryDir dir;
    QString program;

    bool Prepare()
    {
        program = dir.filePath(QStringLiteral("profile-print-probe"));
        return dir.isValid() && QFile::copy(QStringLiteral(LUMET_BIN_DIR "/profile-print-probe"), program);
    }
    QString FilePath() const { return dir.filePath(QLatin1String(ProfileFile)); }
    QByteArray Run(bool keep) const
    {
        QProcess probe;
        probe.start(program, keep ? QStringList{QStringLiteral("--keep")} : QStringList());
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
            return QByteArray("probe failed: ") + probe.readAllStandardError();
        return probe.readAllStandardOutput();
    }
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ProfileFileTest : public QObject
{
    Q_OBJECT

private slots:
    void keptFileHoldsTheLastDocument()
    {
        ProgramDirectory d;
        QVERIFY(d.Prepare());
        const QByteArray sent = d.Run(true);
        QCOMPARE(sent, ExpectedProfile());
        QCOMPARE(ReadAll(d.FilePath()), sent);
        QVERIFY(sent.contains("<mode key=\"4\">"));
    }

    void withoutTheSwitchNoFileRemainsAndAStaleOneIsNotSent()
    {
        ProgramDirectory d;
        QVERIFY(d.Prepare());
        QFile stale(d.FilePath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("<root><header>ORVEL_LUMET</header><funcid>4</funcid><stale/></root>\n");
        stale.close();

        const QByteArray sent = d.Run(false);
        QCOMPARE(sent, ExpectedProfile());
        QVERIFY(!QFile::exists(d.FilePath()));
    }

    // An installed program usually cannot write its own directory; the
    // profile must not suffer. A directory in the file's place stops the write
    // even for root.
    void unwritableDirectoryStillGivesTheFullProfile()
    {
        ProgramDirectory d;
        QVERIFY(d.Prepare());
        QVERIFY(QDir(d.dir.path()).mkdir(QLatin1String(ProfileFile)));
        QFile::setPermissions(d.dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray keep = d.Run(true);
        const QByteArray drop = d.Run(false);
        QFile::setPermissions(d.dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(keep, ExpectedProfile());
        QCOMPARE(drop, ExpectedProfile());
    }
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "ProfileFileTest.moc"
