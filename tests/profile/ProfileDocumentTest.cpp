// Profile documents: the fixed texts, the effect profile's parts, "SetProfile.xml".
#include "profile/EffectProfile.h"
#include "profile/FixedProfile.h"
#include "profile/LumetXmlProfileHelper.h"
#include "tests/profile/ProfileFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <tinyxml2.h>

#include <cstdio>

using Parts = EffectProfile::Parts;
using Block = EffectProfile::GroupBlock;
using Leds = EffectProfile::LedValues;
Q_DECLARE_METATYPE(EffectProfile::Parts)

namespace {

const QString Golden = QStringLiteral(LUMET_TEST_DATA "/profile/");

// Text mode reads CR LF line ends (Windows text files) as LF.
QByteArray ReadAll(const QString& path, QIODevice::OpenMode mode = QIODevice::NotOpen)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | mode) ? file.readAll() : QByteArray("<missing " + path.toUtf8() + ">");
}

// The mode element of a profile on one line without its LEDs, then each
// LED's values joined by '|'.
QStringList Mode(const std::string& profile)
{
    tinyxml2::XMLDocument doc;
    doc.Parse(profile.c_str());
    const tinyxml2::XMLElement* mode = tinyxml2::XMLConstHandle(doc).FirstChildElement("root")
        .FirstChildElement("device").FirstChildElement("scene").FirstChildElement("mode").ToElement();
    if (!mode)
        return {QStringLiteral("<no mode>")};
    tinyxml2::XMLPrinter printer(nullptr, true);
    mode->Accept(&printer);
    const QString text = QString::fromUtf8(printer.CStr());
    QStringList result{text.left(text.indexOf(QLatin1String("<led ")))};
    for (auto* led = mode->FirstChildElement("led"); led; led = led->NextSiblingElement("led")) {
        QStringList values;
        for (auto* value = led->FirstChildElement(); value; value = value->NextSiblingElement())
            values << QString::fromUtf8(value->GetText());
        result << values.join(QLatin1Char('|'));
    }
    return result;
}

} // namespace

class ProfileDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void fixedDocumentsMatchTheGoldenTexts()
    {
        QCOMPARE(QByteArray::fromStdString(FixedProfile::LedSwitch(true)), ReadAll(Golden + "led_switch_on.xml"));
        QCOMPARE(QByteArray::fromStdString(FixedProfile::LedSwitch(false)), ReadAll(Golden + "led_switch_off.xml"));
        QCOMPARE(QByteArray::fromStdString(FixedProfile::ResetAll()), ReadAll(Golden + "reset_all.xml"));
    }

    // The branches of the group block the views' golden profiles leave out:
    // colour types other than a gradient, no group setting, another device.
    // Under a German locale "%f" would print "0,500000".
    void profileParts_data()
    {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%f", 0.5);
        if (qgetenv("LC_ALL").startsWith("de_DE"))
            QCOMPARE(buffer, "0,500000"); // the locale is really in force
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("colorType"); // -1: the group has no setting
        QTest::addColumn<Parts>("parts");
        QTest::addColumn<QString>("expected");
        const QString order = "<effect_path_order><order key=\"Keyboard\">1</order><order key=\"Mouse\">2</order>"
                              "</effect_path_order><effect_speed>-2</effect_speed>";
        const QString cycle = "<start_end_color_cycle_start>0.750000</start_end_color_cycle_start>"
                              "<start_end_color_cycle_end>1.250000</start_end_color_cycle_end>"
                              "<start_end_color_cycle_range>0.500000</start_end_color_cycle_range>";
        const QString zeros = QString(cycle).replace(QRegularExpression("\\d\\.\\d+"), "0.000000");
        const QString plain = "<color_type>Plain</color_type>";
        const QString fromEnd = "<start_to_end_or_end_to_start>0</start_to_end_or_end_to_start>";
        const Parts comet(Leds::Colour, Block::Comet()), rainbow(Leds::Colour, Block::Rainbow());
        QTest::newRow("comet plain") << "Group" << 0 << comet << plain + zeros + order;
        QTest::newRow("rainbow cycle") << "Group" << 2 << rainbow << "<color_type>Cycle</color_type>" + cycle + fromEnd + order;
        QTest::newRow("no group setting")
            << "Group" << -1 << rainbow
            << plain + zeros + QString(fromEnd).replace(">0<", ">1<") + "<effect_path_order/><effect_speed>0</effect_speed>";
        QTest::newRow("not exactly Group") << "group" << 1 << Parts(Leds::Colour, Block::Strobing()) << "";
    }
    void profileParts()
    {
        QFETCH(QString, key);
        QFETCH(int, colorType);
        QFETCH(Parts, parts);
        QFETCH(QString, expected);
        const auto group = ProfileFixture::TwoLedGroup(key.toStdString());
        ProfileFixture::SetS0(*group->GetLeds()[0], 255, 0.5f, 0.25f, 1.0f, -3);
        group->GetLeds()[1]->ClearSettings(); // not covered by the status: sent as not applicable
        if (colorType >= 0) // every effect-wide value, from colorType to pathOrder
            group->SetGroupSetting(std::make_unique<EffectSetting>(EffectSetting{0, nullptr, 0, 0, 0, 0, 0, 0,
                colorType, 0.75f, 1.25f, 0.5f, true, 0, -2, {{"Mouse", 2}, {"Keyboard", 1}}}));
        const std::string profile = EffectProfile::Build(group.get(), key.toStdString(), 3, parts);
        QCOMPARE(Mode(profile), QStringList({"<mode key=\"3\"><iscolorsynced>0</iscolorsynced>" + expected,
                                             "255|0.500000|0.250000|1.000000|na|na", "na|na|na|na|na|na"}));
        // An element without text still prints a start and an end tag.
        QVERIFY(profile.find("/>") == std::string::npos);
        // Without a device there are no LEDs, and nothing to crash on.
        QCOMPARE(Mode(EffectProfile::Build(nullptr, "", -1, parts)).size(), 1);
    }

    // The probe prints the second of two profiles it builds. An installed program usually
    // cannot write its own directory; a folder in the file's place stops even root.
    void profileFileKeptOnlyWhileSwitchedOn()
    {
        const QByteArray expected = ReadAll(Golden + "color_cycle_two_leds.xml");
        QTemporaryDir dir; // the probe's program directory
        // The built probe, with whatever suffix programs carry here.
        const QString built = QStandardPaths::findExecutable("profile-print-probe", {LUMET_BIN_DIR});
        const QString program = dir.filePath(QFileInfo(built).fileName()), kept = dir.filePath("SetProfile.xml");
        QVERIFY(QFile::copy(built, program));
        // The probe and the kept file write text: line ends as the platform has them.
        auto run = [&](bool keep) {
            QProcess probe;
            probe.start(program, keep ? QStringList{"--keep"} : QStringList(), QIODevice::ReadWrite | QIODevice::Text);
            probe.waitForFinished(30000);
            return probe.readAllStandardOutput();
        };
        QCOMPARE(run(true), expected);
        QCOMPARE(ReadAll(kept, QIODevice::Text), expected);

        QFile stale(kept);
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("<root><funcid>4</funcid><stale/></root>\n") > 0);
        stale.close();
        QCOMPARE(run(false), expected);
        QVERIFY(!QFile::exists(kept));

        QVERIFY(QDir().mkdir(kept));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray sent[] = {run(true), run(false)};
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(sent[0], expected);
        QCOMPARE(sent[1], expected);
    }
};

QTEST_GUILESS_MAIN(ProfileDocumentTest)
#include "ProfileDocumentTest.moc"
