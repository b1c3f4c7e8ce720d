#include "app/RegReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <sys/stat.h>

namespace {

const char* const PanelKey = "Software\\ORVEL\\LUMET";
const char* const UninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}";

QByteArray Fixture(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/app/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


// The string value, "(none)" when readString refuses it; a refused read must
// leave its output alone.
std::string Read(const char* key, const char* value, dali::RegRoot root = dali::RegRoot::LocalMachine)
{
    dali::RegReader reader;
    std::string out = "(none)";
    if (reader.open(root, key, false, false) && !reader.readString(value, out) && out != "(none)")
        return "(output changed)";
    return out;
}

} // namespace

class RegReaderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // Writes the registry file the reader will see; mode < 0: no file at all.
    void UseRegistry(const QByteArray& bytes, int mode = 0600)
    {
        QFile file(dir.filePath(mode < 0 ? QStringLiteral("absent.reg") : QStringLiteral("registry.reg")));
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(file.fileName()));
        if (mode >= 0) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
            QCOMPARE(fchmod(file.handle(), static_cast<mode_t>(mode)), 0);
        }
    }

private slots:
    // The panel starts the program the registry names: a file others could
    // have written, or that is not a registry export, reads as empty.
    void readsValuesByType_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("mode"); // < 0: no file
        QTest::addColumn<bool>("trusted");
        const QByteArray good = Fixture("registry-v5.reg");
        QTest::newRow("version 5, UTF-8") << good << 0600 << true;
        // regedit writes version 5 exports in UTF-16LE with a byte-order mark.
        QTest::newRow("version 5, UTF-16")
            << QTextCodec::codecForName("UTF-16LE")->fromUnicode(QString::fromUtf8(good)) << 0600 << true;
        QTest::newRow("REGEDIT4") << Fixture("registry-v4.reg") << 0600 << true;
        QTest::newRow("others may write") << good << 0602 << false;
        QTest::newRow("no header") << good.mid(good.indexOf('\n') + 1) << 0600 << false;
        QTest::newRow("missing") << good << -1 << false;
    }

    void readsValuesByType()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, mode);
        QFETCH(bool, trusted);
        UseRegistry(bytes, mode);
        QCOMPARE(Read(PanelKey, "LUMET"),
                 std::string(trusted ? "C:\\Program Files (x86)\\ORVEL\\\"Lumet\" Pro.exe" : "(none)"));
        if (!trusted)
            return;
        QCOMPARE(Read(PanelKey, "Owner"), std::string("L\xc3\xbcmet"));
        // Names compare without regard to case, keys too.
        QCOMPARE(Read("SOFTWARE\\orvel\\lumet", "lumet"), Read(PanelKey, "LUMET"));
        // Only the first string of a multi-string; no expansion.
        QCOMPARE(Read(PanelKey, "Sequence"), std::string("first"));
        QCOMPARE(Read(PanelKey, "DataPath"), std::string("%PROGRAMDATA%\\Lumet"));
        // Not strings, deleted or missing.
        for (const char* name : {"needReboot", "Raw", "Removed", "missing"})
            QCOMPARE(Read(PanelKey, name), std::string("(none)"));
        QCOMPARE(Read(UninstallKey, "DisplayVersion"), std::string("1.4.2"));
        QCOMPARE(Read(UninstallKey, ""), std::string("Vornlight"));
        QCOMPARE(Read(PanelKey, "LUMET", dali::RegRoot::CurrentUser), std::string("/home/user/other"));
    }

    void countsValuesAndKeys()
    {
        UseRegistry(Fixture("registry-v5.reg"));
        dali::RegReader reader;
        // Every type counts; a deleted value does not.
        QVERIFY(reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false) && !reader.subKeys().count());
        QCOMPARE(reader.values().count(), 6u);
        // A key that only exists as the parent of listed keys.
        QVERIFY(reader.open(dali::RegRoot::LocalMachine, "Software\\ORVEL", false, false) && !reader.values().count());
        QCOMPARE(reader.subKeys().count(), 2u);
        for (const char* missing : {"Software\\ORVEL\\LUMET\\Deeper", "Software\\ORV", "Software\\Gone\\Below"})
            QVERIFY2(!reader.open(dali::RegRoot::LocalMachine, missing, false, false) && !reader.values().count(),
                     missing);

        // Closing empties the sets, and is safe twice and before any open.
        dali::RegReader other;
        other.close();
        QVERIFY(other.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
        other.close();
        other.close();
        std::string text;
        QVERIFY(other.values().count() == 0 && !other.readString("LUMET", text));
    }
};

QTEST_GUILESS_MAIN(RegReaderTest)
#include "RegReaderTest.moc"
