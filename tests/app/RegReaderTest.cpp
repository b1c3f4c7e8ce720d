#include "app/RegReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const char* const PanelKey = "Software\\ORVEL\\LUMET";

QByteArray Fixture(const QString& name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/app/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// regedit writes version 5 exports in UTF-16LE with a byte-order mark.
QByteArray ToUtf16(const QByteArray& utf8)
{
    const QString text = QString::fromUtf8(utf8);
    QByteArray out("\xff\xfe", 2);
    for (const QChar c : text) {
        out += static_cast<char>(c.unicode() & 0xff);
        out += static_cast<char>(c.unicode() >> 8);
    }
    return out;
}

std::string Read(const char* key, const char* value, bool* found = nullptr)
{
    dali::RegReader reader;
    std::string out = "(untouched)";
    const bool ok = reader.open(dali::RegRoot::LocalMachine, key, false, false) && reader.readString(value, out);
    if (found)
        *found = ok;
    return ok ? out : std::string("(none)");
}

} // namespace

class RegReaderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // Writes the registry file the reader will see, owner-only unless told.
    void UseRegistry(const QByteArray& bytes, mode_t mode = 0600)
    {
        const QString path = dir.filePath(QStringLiteral("registry.reg"));
        QFile::remove(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QCOMPARE(chmod(QFile::encodeName(path).constData(), mode), 0);
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(path));
    }

private slots:
    void readsValuesByType_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("version 5, UTF-8") << Fixture(QStringLiteral("registry-v5.reg"));
        QTest::newRow("version 5, UTF-16") << ToUtf16(Fixture(QStringLiteral("registry-v5.reg")));
        QTest::newRow("REGEDIT4") << Fixture(QStringLiteral("registry-v4.reg"));
    }

    void readsValuesByType()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        UseRegistry(bytes);

        QCOMPARE(Read(PanelKey, "LUMET"), std::string("C:\\Program Files (x86)\\ORVEL\\\"Lumet\" Pro.exe"));
        QCOMPARE(Read(PanelKey, "Owner"), std::string("L\xc3\xbcmet"));
        // Names compare without regard to case, keys too.
        QCOMPARE(Read("SOFTWARE\\orvel\\lumet", "lumet"), Read(PanelKey, "LUMET"));
        // Only the first string of a multi-string; no expansion.
        QCOMPARE(Read(PanelKey, "Sequence"), std::string("first"));
        QCOMPARE(Read(PanelKey, "DataPath"), std::string("%PROGRAMDATA%\\Lumet"));
        // Not strings, deleted or missing: false, and the output stays as it was.
        for (const char* name : {"needReboot", "Raw", "Removed", "missing"}) {
            dali::RegReader reader;
            QVERIFY(reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
            std::string out = "kept";
            QVERIFY2(!reader.readString(name, out), name);
            QCOMPARE(out, std::string("kept"));
        }
        QCOMPARE(Read("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}",
                      "DisplayVersion"),
                 std::string("1.4.2"));
        QCOMPARE(Read("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}",
                      ""),
                 std::string("Vornlight"));

        dali::RegReader user;
        std::string text;
        QVERIFY(user.open(dali::RegRoot::CurrentUser, PanelKey, false, false));
        QVERIFY(user.readString("LUMET", text));
        QCOMPARE(text, std::string("/home/user/other"));
    }

    void countsValuesAndKeys()
    {
        UseRegistry(Fixture(QStringLiteral("registry-v5.reg")));
        dali::RegReader reader;
        // Every type counts; a deleted value does not.
        QVERIFY(reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
        QCOMPARE(reader.values().count(), 6u);
        QCOMPARE(reader.subKeys().count(), 0u);

        QVERIFY(reader.open(dali::RegRoot::LocalMachine, "Software\\ORVEL\\Single", false, false));
        QCOMPARE(reader.values().count(), 1u);

        // A key that only exists as the parent of listed keys.
        QVERIFY(reader.open(dali::RegRoot::LocalMachine, "Software\\ORVEL", false, false));
        QCOMPARE(reader.values().count(), 0u);
        QCOMPARE(reader.subKeys().count(), 2u);

        for (const char* missing : {"Software\\ORVEL\\LUMET\\Deeper", "Software\\ORV", "Software\\Gone",
                                    "Software\\Gone\\Below"}) {
            QVERIFY2(!reader.open(dali::RegRoot::LocalMachine, missing, false, false), missing);
            QVERIFY(!reader.isOpen());
            QCOMPARE(reader.values().count(), 0u);
        }
    }

    void closeIsSafeAndRepeatable()
    {
        UseRegistry(Fixture(QStringLiteral("registry-v5.reg")));
        dali::RegReader reader;
        QCOMPARE(reader.values().count(), 0u);
        std::string text;
        QVERIFY(!reader.readString("LUMET", text));
        reader.close();

        QVERIFY(reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
        const dali::RegValueSet& values = reader.values();
        QCOMPARE(values.count(), 6u);
        reader.close();
        reader.close();
        QCOMPARE(values.count(), 0u);
        QVERIFY(!reader.readString("LUMET", text));
        QVERIFY(reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
        QVERIFY(reader.readString("LUMET", text));
    }

    // The panel starts the program the registry names: a file others could
    // have written, or that is not a registry export, reads as empty.
    void untrustedOrForeignFilesAreEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("mode");
        const QByteArray good = Fixture(QStringLiteral("registry-v5.reg"));
        QTest::newRow("group may write") << good << 0620;
        QTest::newRow("others may write") << good << 0602;
        QTest::newRow("no header") << good.mid(good.indexOf('\n') + 1) << 0600;
        QTest::newRow("empty") << QByteArray() << 0600;
    }

    void untrustedOrForeignFilesAreEmpty()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, mode);
        UseRegistry(bytes, static_cast<mode_t>(mode));
        dali::RegReader reader;
        QVERIFY(!reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
        std::string text;
        QVERIFY(!reader.readString("LUMET", text));
    }

    void missingFileIsEmptyRegistry()
    {
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(dir.filePath(QStringLiteral("absent.reg"))));
        dali::RegReader reader;
        QVERIFY(!reader.open(dali::RegRoot::LocalMachine, PanelKey, false, false));
        QVERIFY(!reader.open(dali::RegRoot::LocalMachine, PanelKey, true, false));
    }
};

QTEST_GUILESS_MAIN(RegReaderTest)
#include "RegReaderTest.moc"
