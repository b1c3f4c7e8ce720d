#include "app/RegReader.h"
#include "app/linux/RegistryFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <sys/stat.h>

namespace {

constexpr dali::RegRoot Machine = dali::RegRoot::LocalMachine;
const char* const PanelKey = "Software\\ORVEL\\LUMET";
const char* const UninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}";
const std::string Program = "C:\\Program Files (x86)\\ORVEL\\\"Lumet\" Pro.exe";

QByteArray Fixture(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/app/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The string value, "(none)" when readString refuses it; a refused read must
// leave its output alone.
std::string Read(const char* key, const char* value, dali::RegRoot root = Machine)
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
        QFile file(dir.filePath(mode < 0 ? "absent.reg" : "registry.reg"));
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
        QCOMPARE(Read(PanelKey, "LUMET"), trusted ? Program : std::string("(none)"));
        if (!trusted)
            return;
        QCOMPARE(Read(PanelKey, "Owner"), std::string("L\xc3\xbcmet"));
        // Names compare without regard to case, keys too.
        QCOMPARE(Read("SOFTWARE\\orvel\\lumet", "lumet"), Program);
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
        QVERIFY(reader.open(Machine, PanelKey, false, false) && !reader.subKeys().count());
        QCOMPARE(reader.values().count(), 6u);
        // A key that only exists as the parent of listed keys.
        QVERIFY(reader.open(Machine, "Software\\ORVEL", false, false) && !reader.values().count());
        QCOMPARE(reader.subKeys().count(), 2u);
        for (const char* missing : {"Software\\ORVEL\\LUMET\\Deeper", "Software\\ORV", "Software\\Gone\\Below"})
            QVERIFY2(!reader.open(Machine, missing, false, false) && !reader.values().count(), missing);
        // Closing is safe before any open and twice, and empties the sets.
        dali::RegReader().close();
        QVERIFY(reader.open(Machine, PanelKey, false, false));
        reader.close();
        reader.close();
        std::string text;
        QVERIFY(reader.values().count() == 0 && !reader.readString("LUMET", text));
    }

    // One parse serves every reader while the file stays as it was; a file
    // rewritten or made untrustworthy is read again, while a reader opened
    // before keeps the file as it read it.
    void readersShareOneParse()
    {
        UseRegistry(Fixture("registry-v5.reg"));
        const auto first = dali::RegistryFile::Shared();
        dali::RegReader reader;
        QVERIFY(reader.open(Machine, PanelKey, false, false));
        QCOMPARE(dali::RegistryFile::Shared().get(), first.get());

        UseRegistry("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\ORVEL\\LUMET]\n\"LUMET\"=\"/usr/bin/other\"\n");
        QCOMPARE(Read(PanelKey, "LUMET"), std::string("/usr/bin/other"));
        std::string kept;
        QVERIFY(reader.readString("LUMET", kept) && kept == Program && reader.values().count() == 6);

        QCOMPARE(chmod(QFile::encodeName(dir.filePath("registry.reg")).constData(), 0620), 0);
        QCOMPARE(Read(PanelKey, "LUMET"), std::string("(none)"));
    }

    // A parse takes a bounded number of steps per line however the values
    // and keys pile up: one key with thousands of values set, deleted under
    // another case and set again, and thousands of keys deleted one by one.
    void parseStepsGrowWithTheFileOnly()
    {
        for (const int n : {1000, 4000}) {
            QByteArray text = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Big]\n";
            for (int i = 0; i < n; ++i)
                text += "\"v" + QByteArray::number(i) + "\"=\"" + QByteArray::number(i) + "\"\n";
            for (int i = 1; i < n; i += 2)
                text += "\"V" + QByteArray::number(i) + "\"=-\n";
            for (int i = 0; i < n; i += 4)
                text += "\"v" + QByteArray::number(i) + "\"=dword:" + QByteArray::number(i % 256, 16) + "\n";
            for (int i = 0; i < n; ++i)
                text += "[HKEY_LOCAL_MACHINE\\Gone\\K" + QByteArray::number(i) + "\\Below]\n\"x\"=\"y\"\n";
            for (int i = 0; i < n; ++i)
                text += "[-HKEY_LOCAL_MACHINE\\Gone\\K" + QByteArray::number(i) + "]\n";
            const dali::RegistryFile file = dali::RegistryFile::Parse(text);
            const int lines = text.count('\n');
            QVERIFY2(file.parseSteps() <= 4u * static_cast<quint64>(lines),
                     qPrintable(QStringLiteral("%1 steps for %2 lines").arg(file.parseSteps()).arg(lines)));

            // What is left: the even values, every fourth one a number now.
            const dali::RegistryFile::Key* big = file.key("HKEY_LOCAL_MACHINE\\BIG");
            QVERIFY(big && big->values.size() == static_cast<size_t>(n / 2));
            QVERIFY(!file.hasKey("HKEY_LOCAL_MACHINE\\Gone"));
            for (int i = 0; i < n; ++i) {
                const dali::RegistryFile::Value* value = big->find(QStringLiteral("V%1").arg(i));
                QVERIFY2(i % 2 ? !value
                               : value && value->name == QStringLiteral("v%1").arg(i)
                                     && value->type == (i % 4 ? dali::RegistryFile::TypeString : dali::RegistryFile::TypeDword),
                         qPrintable(QString::number(i)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(RegReaderTest)
#include "RegReaderTest.moc"
