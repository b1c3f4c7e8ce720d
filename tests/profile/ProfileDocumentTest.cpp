// Profile documents: the element builder, the in-memory print, the effect
// profile's parts and the fixed documents.
#include "profile/EffectProfile.h"
#include "profile/FixedProfile.h"
#include "profile/LumetXmlProfileHelper.h"
#include "tests/profile/ProfileFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <tinyxml2.h>

#include <cstdio>


namespace {

using Parts = EffectProfile::Parts;
using Block = EffectProfile::GroupBlock;
using Leds = EffectProfile::LedValues;

QByteArray Golden(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/profile/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("missing golden file ") + name;
    return file.readAll();
}

// The printed profile parsed back, with short ways to the parts tests look at.
struct Parsed
{
    explicit Parsed(const std::string& text) : source(text) { doc.Parse(text.c_str()); }

    const tinyxml2::XMLElement* Mode() const
    {
        return tinyxml2::XMLConstHandle(doc)
            .FirstChildElement("root")
            .FirstChildElement("device")
            .FirstChildElement("scene")
            .FirstChildElement("mode")
            .ToElement();
    }
    // Names of the mode's children in document order.
    QStringList ModeChildren() const
    {
        QStringList names;
        for (auto* e = Mode() ? Mode()->FirstChildElement() : nullptr; e; e = e->NextSiblingElement())
            names << QString::fromUtf8(e->Name());
        return names;
    }
    QString ModeText(const char* name) const
    {
        const auto* e = Mode() ? Mode()->FirstChildElement(name) : nullptr;
        return e ? QString::fromUtf8(e->GetText() ? e->GetText() : "") : QStringLiteral("<absent>");
    }
    // The six values of the n-th led, joined by '|'.
    QString LedValues(int n) const
    {
        const tinyxml2::XMLElement* led = Mode() ? Mode()->FirstChildElement("led") : nullptr;
        for (int i = 0; led && i < n; ++i)
            led = led->NextSiblingElement("led");
        if (!led)
            return QStringLiteral("<no led>");
        QStringList values;
        for (const char* name : {"color", "hue", "saturation", "lightness", "speed", "direction"}) {
            const auto* e = led->FirstChildElement(name);
            values << (e && e->GetText() ? QString::fromUtf8(e->GetText()) : QStringLiteral("?"));
        }
        return values.join(QLatin1Char('|'));
    }

    std::string source;
    tinyxml2::XMLDocument doc;
};

} // namespace

class ProfileDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void fixedDocumentsMatchTheServiceTexts()
    {
        QCOMPARE(QByteArray::fromStdString(FixedProfile::LedSwitch(true)), Golden("led_switch_on.xml"));
        QCOMPARE(QByteArray::fromStdString(FixedProfile::LedSwitch(false)), Golden("led_switch_off.xml"));
        QCOMPARE(QByteArray::fromStdString(FixedProfile::ResetAll()), Golden("reset_all.xml"));
        QCOMPARE(QString::fromLatin1(FixedProfile::TargetKey), QStringLiteral("Mainboard"));
    }

    void appendElementAlwaysCarriesText()
    {
        tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
        auto* root = LumetXmlProfileHelper::AppendElement(doc, &doc, "root", "", "");
        auto* keyed = LumetXmlProfileHelper::AppendElement(doc, root, "led", "DIMM_A1", "");
        auto* plain = LumetXmlProfileHelper::AppendElement(doc, root, "state", "", "S0");
        QCOMPARE(doc.RootElement(), root);
        QCOMPARE(root->LastChildElement(), plain);
        QCOMPARE(QString::fromUtf8(keyed->Attribute("key")), QStringLiteral("DIMM_A1"));
        QVERIFY(!plain->Attribute("key"));
        QVERIFY(keyed->FirstChild() && keyed->FirstChild()->ToText());

        const std::string text = LumetXmlProfileHelper::PrintProfile(doc);
        QVERIFY(text.find("<led key=\"DIMM_A1\"></led>") != std::string::npos);
        QVERIFY(text.find("/>") == std::string::npos);
        QVERIFY(text.find("<?xml") == std::string::npos);
    }

    // The text in memory is what saving the document and reading it back gives.
    void printEqualsTheFileRoundTrip()
    {
        const auto group = ProfileFixture::TwoLedGroup();
        tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
        EffectProfile::Compose(doc, group.get(), "Group", 3, Parts(Leds::Colour, Block::Strobing()));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.xml"));
        QCOMPARE(doc.SaveFile(path.toLocal8Bit().constData()), tinyxml2::XML_SUCCESS);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QByteArray::fromStdString(LumetXmlProfileHelper::PrintProfile(doc)), saved.readAll());
    }

    void skeletonAndColourValues()
    {
        const auto group = ProfileFixture::TwoLedGroup();
        const Parsed p(EffectProfile::Build(group.get(), "Group", 1, Parts()));
        const tinyxml2::XMLConstHandle root = tinyxml2::XMLConstHandle(p.doc).FirstChildElement("root");
        QCOMPARE(QString::fromUtf8(root.FirstChildElement("header").ToElement()->GetText()),
                 QStringLiteral("ORVEL_LUMET"));
        QCOMPARE(QString::fromUtf8(root.FirstChildElement("version").ToElement()->GetText()), QStringLiteral("1.1"));
        QCOMPARE(QString::fromUtf8(root.FirstChildElement("funcid").ToElement()->GetText()), QStringLiteral("4"));
        const auto* device = root.FirstChildElement("device").ToElement();
        QCOMPARE(QString::fromUtf8(device->Attribute("key")), QStringLiteral("Group"));
        QCOMPARE(QString::fromUtf8(device->FirstChildElement("scene")->FirstChildElement("state")->GetText()),
                 QStringLiteral("S0"));
        QCOMPARE(QString::fromUtf8(p.Mode()->Attribute("key")), QStringLiteral("1"));
        QCOMPARE(p.ModeChildren(), QStringList({"iscolorsynced", "led", "led"}));
        QCOMPARE(p.ModeText("iscolorsynced"), QStringLiteral("0"));
        QCOMPARE(QString::fromUtf8(p.Mode()->LastChildElement("led")->Attribute("key")), QStringLiteral("DIMM_A2"));
        QCOMPARE(p.LedValues(0), QStringLiteral("255|0.000000|1.000000|0.500000|na|na"));
        QCOMPARE(p.LedValues(1), QStringLiteral("16711680|0.666667|1.000000|0.500000|na|na"));
    }

    // Under a German locale "%f" would print "0,500000".
    void numbersIgnoreTheUserLocale()
    {
        if (qgetenv("LC_ALL").startsWith("de_DE")) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%f", 0.5);
            QCOMPARE(QByteArray(buf), QByteArray("0,500000")); // the locale is really in force
        }
        const auto group = ProfileFixture::TwoLedGroup();
        ProfileFixture::SetS0(*group->GetLeds()[0], 0, 0.5f, 0.25f, 1.0f, -3);
        const Parsed p(EffectProfile::Build(group.get(), "Group", 11, Parts(Leds::ColourAndSpeed)));
        QCOMPARE(p.LedValues(0), QStringLiteral("0|0.500000|0.250000|1.000000|-3|na"));
    }

    void ledValuesPerKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("colour") << int(Leds::Colour) << "255|0.000000|1.000000|0.500000|na|na"
                                << "16711680|0.666667|1.000000|0.500000|na|na";
        QTest::newRow("colour and speed") << int(Leds::ColourAndSpeed) << "255|0.000000|1.000000|0.500000|2|na"
                                          << "16711680|0.666667|1.000000|0.500000|-1|na";
        QTest::newRow("dark") << int(Leds::Dark) << "0|0.000000|1.000000|0.500000|na|na"
                              << "0|0.666667|1.000000|0.500000|na|na";
        QTest::newRow("none") << int(Leds::None) << "na|na|na|na|na|na"
                              << "na|na|na|na|na|na";
    }
    void ledValuesPerKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, first);
        QFETCH(QString, second);
        const auto group = ProfileFixture::TwoLedGroup();
        const Parsed p(EffectProfile::Build(group.get(), "Group", 1, Parts(Leds(kind))));
        QCOMPARE(p.LedValues(0), first);
        QCOMPARE(p.LedValues(1), second);

        // An LED the status did not cover is sent as not applicable, whatever
        // the view would read from it.
        group->GetLeds()[1]->ClearSettings();
        const Parsed missing(EffectProfile::Build(group.get(), "Group", 1, Parts(Leds(kind))));
        QCOMPARE(missing.LedValues(0), first);
        QCOMPARE(missing.LedValues(1), QStringLiteral("na|na|na|na|na|na"));
    }

    void groupBlocks_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("colorType");
        QTest::addColumn<QStringList>("children");
        QTest::addColumn<QString>("values");
        const QStringList leds{"led", "led"};
        QTest::newRow("strobing") << 0 << 1 << QStringList({"iscolorsynced", "color_type", "effect_path_order",
                                                            "effect_speed"}) + leds
                                  << "Plain|<absent>|<absent>|<absent>|-2";
        QTest::newRow("wave with speed") << 1 << 0
                                         << QStringList({"iscolorsynced", "color_type", "effect_speed"}) + leds
                                         << "Plain|<absent>|<absent>|<absent>|-2";
        QTest::newRow("wave without speed") << 2 << 0 << QStringList({"iscolorsynced", "color_type"}) + leds
                                            << "Plain|<absent>|<absent>|<absent>|<absent>";
        const QStringList comet{"iscolorsynced", "color_type", "start_end_color_cycle_start",
                                "start_end_color_cycle_end", "start_end_color_cycle_range", "effect_path_order",
                                "effect_speed"};
        QTest::newRow("comet plain") << 3 << 0 << comet + leds << "Plain|0.000000|0.000000|0.000000|-2";
        QTest::newRow("comet gradient") << 3 << 1 << comet + leds << "Gradient|0.750000|1.250000|0.500000|-2";
        QStringList rainbow = comet;
        rainbow.insert(5, QStringLiteral("start_to_end_or_end_to_start"));
        QTest::newRow("rainbow cycle") << 4 << 2 << rainbow + leds << "Cycle|0.750000|1.250000|0.500000|-2";
        QTest::newRow("rainbow plain") << 4 << 0 << rainbow + leds << "Plain|0.750000|1.250000|0.500000|-2";
    }
    void groupBlocks()
    {
        QFETCH(int, view);
        QFETCH(int, colorType);
        QFETCH(QStringList, children);
        QFETCH(QString, values);
        const Block blocks[] = {Block::Strobing(), Block::Wave(true), Block::Wave(false), Block::Comet(),
                                Block::Rainbow()};
        const auto group = ProfileFixture::TwoLedGroup();
        auto setting = std::make_unique<EffectSetting>();
        setting->colorType = colorType;
        setting->cycleStart = 0.75f;
        setting->cycleEnd = 1.25f;
        setting->cycleRange = 0.5f;
        setting->effectSpeed = -2;
        setting->endToStart = true;
        setting->pathOrder = {{"Mouse", 2}, {"Keyboard", 1}};
        group->SetGroupSetting(std::move(setting));

        const Parsed p(EffectProfile::Build(group.get(), "Group", 3, Parts(Leds::Colour, blocks[view])));
        QCOMPARE(p.ModeChildren(), children);
        const QStringList got{p.ModeText("color_type"), p.ModeText("start_end_color_cycle_start"),
                              p.ModeText("start_end_color_cycle_end"), p.ModeText("start_end_color_cycle_range"),
                              p.ModeText("effect_speed")};
        QCOMPARE(got.join(QLatin1Char('|')), values);
        if (children.contains(QStringLiteral("start_to_end_or_end_to_start")))
            QCOMPARE(p.ModeText("start_to_end_or_end_to_start"), QStringLiteral("0"));
        if (children.contains(QStringLiteral("effect_path_order"))) {
            const auto* order = p.Mode()->FirstChildElement("effect_path_order")->FirstChildElement("order");
            QVERIFY(order && order->NextSiblingElement("order"));
            QCOMPARE(QString::fromUtf8(order->Attribute("key")), QStringLiteral("Keyboard"));
            QCOMPARE(QString::fromUtf8(order->GetText()), QStringLiteral("1"));
            QCOMPARE(QString::fromUtf8(order->NextSiblingElement("order")->Attribute("key")),
                     QStringLiteral("Mouse"));
        }
    }

    // A group without a setting writes the block of a zeroed one; a device
    // that is not exactly "Group" gets no block at all.
    void groupBlockSources()
    {
        const auto group = ProfileFixture::TwoLedGroup();
        QVERIFY(!group->GetGroupSetting());
        const Parsed zeroed(EffectProfile::Build(group.get(), "Group", 5, Parts(Leds::Colour, Block::Rainbow())));
        QCOMPARE(zeroed.ModeText("color_type"), QStringLiteral("Plain"));
        QCOMPARE(zeroed.ModeText("start_end_color_cycle_end"), QStringLiteral("0.000000"));
        QCOMPARE(zeroed.ModeText("start_to_end_or_end_to_start"), QStringLiteral("1"));
        QCOMPARE(zeroed.ModeText("effect_speed"), QStringLiteral("0"));
        QVERIFY(!zeroed.Mode()->FirstChildElement("effect_path_order")->FirstChildElement());

        const auto other = ProfileFixture::TwoLedGroup("group");
        other->SetGroupSetting(std::make_unique<EffectSetting>());
        const Parsed lower(EffectProfile::Build(other.get(), "group", 3, Parts(Leds::Colour, Block::Strobing())));
        QCOMPARE(lower.ModeChildren(), QStringList({"iscolorsynced", "led", "led"}));
    }

    void ownModeValuesOfMusicAndTemperature()
    {
        const auto group = ProfileFixture::TwoLedGroup();
        const Parsed music(EffectProfile::Build(group.get(), "Group", 19, Parts(Leds::None).WithMusicIndex(2)));
        QCOMPARE(music.ModeChildren(), QStringList({"iscolorsynced", "music_index", "led", "led"}));
        QCOMPARE(music.ModeText("music_index"), QStringLiteral("2"));
        QCOMPARE(music.LedValues(1), QStringLiteral("na|na|na|na|na|na"));

        const Parsed temperature(
            EffectProfile::Build(group.get(), "Group", 18, Parts(Leds::None).WithEffectSpeed(-2)));
        QCOMPARE(temperature.ModeChildren(), QStringList({"iscolorsynced", "effect_speed", "led", "led"}));
        QCOMPARE(temperature.ModeText("effect_speed"), QStringLiteral("-2"));
    }

    void deviceWithoutLeds()
    {
        const Parsed none(EffectProfile::Build(nullptr, "", -1, Parts(Leds::Colour, Block::Strobing())));
        QCOMPARE(QString::fromUtf8(none.Mode()->Attribute("key")), QStringLiteral("-1"));
        QCOMPARE(none.ModeChildren(), QStringList({"iscolorsynced"}));
        QVERIFY(!none.doc.RootElement()->FirstChildElement("device")->Attribute("key"));
    }
};

QTEST_GUILESS_MAIN(ProfileDocumentTest)
#include "ProfileDocumentTest.moc"
