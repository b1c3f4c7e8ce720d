#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "model/StatusParser.h"

#include <QFile>
#include <QtTest>

#include <clocale>

namespace {

std::string Fixture(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/model/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll().toStdString();
}

std::vector<std::string> ModeKeys(const DeviceMaster* device)
{
    std::vector<std::string> keys;
    for (const ModeInfo* mode : device->GetModes()->GetModes())
        keys.push_back(mode->GetKey());
    return keys;
}

StatusParser::DeviceIndex IndexOf(const CapabilityParser::Result& model)
{
    StatusParser::DeviceIndex index;
    for (const auto& device : model.devices)
        index[device->GetKey()] = device.get();
    return index;
}

} // namespace

class ModelParsingTest : public QObject
{
    Q_OBJECT

private slots:
    void runsUnderTheRequestedLocale();
    void positionsCommitAndRestore();
    void capabilityRecordsDevicesLedsAndModes();
    void capabilityWithoutGroupOrDocument();
    void statusFillsGroupAndLedSettings();
    void statusScenesAndTargets();
    void groupSwitchText_data();
    void groupSwitchText();
    void statusWithoutRootChangesNothing();
};

// The German run only proves something if the process really reads numbers
// with a decimal comma.
void ModelParsingTest::runsUnderTheRequestedLocale()
{
    if (!qgetenv("LC_ALL").startsWith("de_DE"))
        QSKIP("C locale run");
    QCOMPARE(std::localeconv()->decimal_point[0], ',');
}

void ModelParsingTest::positionsCommitAndRestore()
{
    DeviceMaster device("Group");
    device.AddLed(std::make_unique<LedInfo>("A", "A"));
    LedInfo* led = device.FindLed("A");
    QCOMPARE(led->GetPosition(), LedInfo::Point());

    led->SetPosition(10, 20);
    led->SetPosition(30, 40);
    QCOMPARE(led->GetPosition(), (LedInfo::Point{30, 40}));
    QCOMPARE(led->GetSavedPosition(), (LedInfo::Point{10, 20}));
    device.RestorePositions();
    QCOMPARE(led->GetPosition(), (LedInfo::Point{10, 20}));

    // After APPLY the current point is what UNDO returns to.
    led->SetPosition(50, 60);
    device.CommitPositions();
    led->SetPosition(70, 80);
    device.RestorePositions();
    QCOMPARE(led->GetPosition(), (LedInfo::Point{50, 60}));

    // Scenes outside 0..1 are neither stored nor read.
    led->SetSetting(2, std::make_unique<EffectSetting>());
    QVERIFY(!led->GetSetting(2));
    QVERIFY(!led->GetLoadedSetting(-1));
}

void ModelParsingTest::capabilityRecordsDevicesLedsAndModes()
{
    const CapabilityParser::Result model = CapabilityParser::Parse(Fixture("capability.xml"));
    QVERIFY(model.group);

    // Peripherals are left out, with their LEDs and modes.
    QCOMPARE(model.devices.size(), size_t(2));
    QCOMPARE(model.devices[0]->GetKey(), std::string("Mainboard"));
    QCOMPARE(model.devices[1]->GetKey(), std::string("Fan"));
    QCOMPARE(model.devices[1]->GetName(), std::string("Fan"));

    const DeviceMaster& group = *model.group;
    QCOMPARE(group.GetKey(), std::string("Group"));
    QCOMPARE(group.GetLeds().size(), size_t(4));
    LedInfo* first = group.FindLed("G1");
    QCOMPARE(first, group.GetLeds()[0]);
    QCOMPARE(first->GetName(), std::string("Pellix\nDram"));
    QCOMPARE(first->GetLocation(), std::string("1"));
    QCOMPARE(first->GetType(), std::string("dram"));
    // Entities are resolved, whitespace kept.
    QCOMPARE(group.FindLed("G2")->GetName(), std::string("Rock & Roll"));
    QCOMPARE(group.FindLed("G2")->GetLocation(), std::string(" 7 "));
    QCOMPARE(group.FindLed("G3")->GetName(), std::string());
    QVERIFY(!group.FindLed("KB1"));

    // Numeric order (2 before 10); keys that are not numbers are dropped; a
    // later mode with the same number wins.
    QCOMPARE(ModeKeys(&group), (std::vector<std::string>{"1", "2", " +3", "10"}));
    QCOMPARE(group.GetModes()->FindByKey("2")->GetName(), std::string("Breathing again"));
    QCOMPARE(group.GetModes()->FindByKey(" 10")->GetName(), std::string("Wave"));
    QCOMPARE(group.GetModes()->GetOwner(), model.group.get());
    QVERIFY(!group.GetModes()->FindByKey("fast"));
    QVERIFY(!group.GetModes()->FindByKey(""));
    QVERIFY(!group.GetModes()->FindByKey("0"));

    // A device without a mode list still has an (empty) one.
    QVERIFY(model.devices[1]->GetModes());
    QVERIFY(model.devices[1]->GetModes()->GetModes().empty());
    QCOMPARE(model.devices[0]->FindLed("G1")->GetName(), std::string("Mirror"));
}

void ModelParsingTest::capabilityWithoutGroupOrDocument()
{
    for (const char* text : {"", "<root><device key=\"Mainboard\"/></root>", "<root><device key=", "<other/>"}) {
        const CapabilityParser::Result model = CapabilityParser::Parse(text);
        QVERIFY2(!model.group, text);
    }
    // A document that stops at a zero byte is read up to there.
    const std::string cut = std::string("<root><device key=\"Group\"/></root>") + '\0' + "<junk";
    QVERIFY(CapabilityParser::Parse(cut).group);
}

void ModelParsingTest::statusFillsGroupAndLedSettings()
{
    const CapabilityParser::Result model = CapabilityParser::Parse(Fixture("capability.xml"));
    DeviceMaster* group = model.group.get();
    StatusParser::ApplyText(Fixture("status.xml"), group, IndexOf(model));

    QVERIFY(group->IsEnabled());
    const EffectSetting* setting = group->GetGroupSetting();
    QVERIFY(setting);
    QCOMPARE(setting->scene, 0);
    QCOMPARE(setting->mode, group->GetModes()->FindByKey("10"));
    QCOMPARE(setting->colorType, 1);
    QCOMPARE(setting->cycleStart, 0.25f);
    QCOMPARE(setting->cycleEnd, 0.75f);
    QCOMPARE(setting->cycleRange, 0.5f);
    QVERIFY(setting->endToStart);
    QCOMPARE(setting->musicIndex, 3);
    QCOMPARE(setting->effectSpeed, 7);
    QCOMPARE(setting->color, 0);
    // Negative, "na", empty and non-numeric orders are left out; the later G1 wins.
    QCOMPARE(setting->pathOrder, (std::map<std::string, int>{{"G1", 4}, {"MB1", 0}}));

    const EffectSetting* loaded = group->GetGroupSettingLoaded();
    QVERIFY(loaded && loaded != setting);
    QCOMPARE(loaded->pathOrder, setting->pathOrder);
    QCOMPARE(loaded->mode, setting->mode);

    // The first of two LEDs with one key gets the setting.
    const EffectSetting* g1 = group->FindLed("G1")->GetSetting(0);
    QVERIFY(g1);
    QCOMPARE(g1->mode, setting->mode);
    QCOMPARE(g1->color, 0);
    QCOMPARE(g1->hue, 0.5f);
    QCOMPARE(g1->saturation, 1.0f);
    QCOMPARE(g1->lightness, 0.25f);
    QCOMPARE(g1->speed, 3);
    QCOMPARE(g1->direction, -1);
    QVERIFY(g1->pathOrder.empty());
    QVERIFY(!group->GetLeds()[2]->GetSetting(0));

    const LedInfo* g2 = group->FindLed("G2");
    QVERIFY(g2->GetLoadedSetting(0) && g2->GetLoadedSetting(0) != g2->GetSetting(0));
    QCOMPARE(g2->GetSetting(0)->color, 65280);
    QCOMPARE(g2->GetSetting(0)->saturation, 0.0f);
    QCOMPARE(g2->GetSetting(0)->lightness, 0.5f);
    QCOMPARE(g2->GetSetting(0)->speed, 0);
    QCOMPARE(g2->GetSetting(0)->direction, 2);
    QCOMPARE(g2->GetLoadedSetting(0)->hue, 0.333333f);

    // Only the first mode of a scene counts.
    QVERIFY(!group->FindLed("G3")->GetSetting(0));
}

void ModelParsingTest::statusScenesAndTargets()
{
    const CapabilityParser::Result model = CapabilityParser::Parse(Fixture("capability.xml"));
    DeviceMaster* group = model.group.get();
    DeviceMaster* mainboard = model.devices[0].get();
    DeviceMaster* fan = model.devices[1].get();
    StatusParser::ApplyText(Fixture("status.xml"), group, IndexOf(model));

    // The group's "Non-S0" scene fills the main board, never the group.
    QVERIFY(!group->FindLed("G1")->GetSetting(1));
    const EffectSetting* mb1 = mainboard->FindLed("MB1")->GetSetting(1);
    QVERIFY(mb1);
    QCOMPARE(mb1->scene, 1);
    QCOMPARE(mb1->color, 255);
    QCOMPARE(mb1->mode, mainboard->GetModes()->FindByKey("4"));
    const EffectSetting* mirror = mainboard->FindLed("G1")->GetSetting(1);
    QVERIFY(mirror);
    QCOMPARE(mirror->color, 16711680);
    QCOMPARE(mirror->hue, 0.666667f);
    QCOMPARE(mirror->speed, 0);

    // "s0" is not "S0": the fan's second scene goes to the main board too.
    const EffectSetting* mb2 = mainboard->FindLed("MB2")->GetSetting(1);
    QVERIFY(mb2);
    QCOMPARE(mb2->color, 16777215);
    QVERIFY(!fan->FindLed("F1")->GetSetting(1));

    // The "Mainboard" element of a status document is not read.
    QVERIFY(!mainboard->FindLed("MB1")->GetSetting(0));
    QVERIFY(!mainboard->FindLed("MB2")->GetSetting(0));

    // A device reports its own running scene; a mode it does not have is null.
    const EffectSetting* f1 = fan->FindLed("F1")->GetSetting(0);
    QVERIFY(f1);
    QCOMPARE(f1->color, 42);
    QCOMPARE(f1->speed, 5);
    QVERIFY(!f1->mode);
}

void ModelParsingTest::groupSwitchText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("na") << "na" << false;
    QTest::newRow("NA") << "NA" << false;
    QTest::newRow("nA") << "nA" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("true") << "true" << false;
    QTest::newRow("blank 2") << " 2" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("huge") << "99999999999" << false;
}

void ModelParsingTest::groupSwitchText()
{
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    DeviceMaster group("Group");
    group.SetEnabled(!enabled);
    StatusParser::ApplyText("<root><device key=\"Group\"><isenabled>" + text.toStdString() + "</isenabled></device></root>",
                        &group, {});
    QCOMPARE(group.IsEnabled(), enabled);
}

void ModelParsingTest::statusWithoutRootChangesNothing()
{
    CapabilityParser::Result model = CapabilityParser::Parse(Fixture("capability.xml"));
    DeviceMaster* group = model.group.get();
    StatusParser::ApplyText(Fixture("status.xml"), group, IndexOf(model));
    StatusParser::ApplyText("<status><device key=\"Group\"><isenabled>0</isenabled></device></status>", group,
                        IndexOf(model));
    QVERIFY(group->IsEnabled());
    QVERIFY(group->FindLed("G1")->GetSetting(0));

    // Clearing drops the group's settings but not those of other devices.
    StatusParser::ClearGroup(group);
    QVERIFY(!group->GetGroupSetting() && !group->GetGroupSettingLoaded());
    QVERIFY(!group->FindLed("G1")->GetSetting(0) && !group->FindLed("G1")->GetLoadedSetting(0));
    QVERIFY(model.devices[1]->FindLed("F1")->GetSetting(0));
    // A missing group is tolerated.
    StatusParser::ClearGroup(nullptr);
    StatusParser::ApplyText(Fixture("status.xml"), nullptr, IndexOf(model));
    QCOMPARE(model.devices[0]->FindLed("MB1")->GetSetting(1)->color, 255);
}

QTEST_GUILESS_MAIN(ModelParsingTest)
#include "ModelParsingTest.moc"
