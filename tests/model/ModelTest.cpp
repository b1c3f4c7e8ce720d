// The device model: the fixtures read into the records, and the aggregator's
// loads against a service in memory.
#include "tests/support/RecordingService.h"

#include "app/ProgramDirectory.h"
#include "model/CapabilityParser.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "model/StatusParser.h"
#include "service/ServiceClient.h"

#include <QtTest>

#include <tinyxml2.h>

#include <clocale>

namespace {

const QString Data = QStringLiteral(LUMET_TEST_DATA "/model/");

std::string ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing " + path.toStdString() + ">";
}

// color hue saturation lightness speed direction
QString LedValues(const EffectSetting* s)
{
    return s ? QStringLiteral("%1 %2 %3 %4 %5 %6").arg(s->color).arg(s->hue).arg(s->saturation).arg(s->lightness)
                   .arg(s->speed).arg(s->direction)
             : QStringLiteral("none");
}

// The fixtures parsed: the capability model with the status hung on it.
struct Loaded
{
    CapabilityParser::Result model = CapabilityParser::Parse(ReadFile(Data + "capability.xml"));
    DeviceMaster* group = model.group.get();
    StatusParser::DeviceIndex index;

    Loaded()
    {
        for (const auto& device : model.devices)
            index[device->GetKey()] = device.get();
        StatusParser::ApplyText(ReadFile(Data + "status.xml"), group, index);
    }
    EffectSetting* Setting(const char* device, const char* led, int scene) const
    {
        return (device ? index.at(device) : group)->FindLed(led)->GetSetting(scene);
    }
};

// Loads the capability and gives the thrown text, or "" when none.
std::string LoadCapability()
try {
    DeviceAggregator::Instance()->LoadCapabilityModel();
    return {};
} catch (const std::string& error) {
    return error;
}

} // namespace

class ModelTest : public QObject
{
    Q_OBJECT

    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    RecordingService* service = nullptr;

private slots:
    // The German run only proves something if numbers really read with a comma.
    void initTestCase()
    {
        if (qgetenv("LC_ALL").startsWith("de_DE"))
            QCOMPARE(std::localeconv()->decimal_point[0], ',');
    }

    void init()
    {
        auto backend = std::make_unique<RecordingService>();
        service = backend.get();
        ServiceClient::Instance().SetBackend(std::move(backend));
    }

    void capabilityRecords()
    {
        const Loaded l;
        // Peripherals ("Keyboard", "Mouse", "PellixDram", ...) are left out with their LEDs.
        QCOMPARE(l.model.devices.size(), size_t(2));
        QCOMPARE(l.model.devices[0]->GetKey() + l.model.devices[1]->GetKey(), std::string("MainboardFan"));
        QCOMPARE(l.group->GetLeds().size(), size_t(4));
        QCOMPARE(l.group->FindLed("G1"), l.group->GetLeds()[0]); // the first of two with one key
        QCOMPARE(l.group->FindLed("G1")->GetName(), std::string("Pellix\nDram"));
        LedInfo* g2 = l.group->FindLed("G2"); // entities resolved, whitespace kept
        QCOMPARE(g2->GetName() + "|" + g2->GetLocation(), std::string("Rock & Roll| 7 "));
        QVERIFY(!l.group->FindLed("KB1"));
        g2->SetSetting(2, std::make_unique<EffectSetting>()); // scenes outside 0..1 are neither stored nor read
        QVERIFY(!g2->GetSetting(2) && !g2->GetLoadedSetting(-1));

        // Numeric order (2 before 10); keys that are empty, not numbers or out
        // of range are dropped; a later mode with the same number wins.
        QStringList keys;
        for (const ModeInfo* mode : l.group->GetModes()->GetModes())
            keys << QString::fromStdString(mode->GetKey());
        QCOMPARE(keys, QStringList({"1", "2", " +3", "10"}));
        QCOMPARE(l.group->GetModes()->FindByKey("2")->GetName(), std::string("Breathing again"));
    }

    void statusSettings()
    {
        const Loaded l;
        const EffectSetting* group = l.group->GetGroupSetting();
        QVERIFY(l.group->IsEnabled() && group);
        QCOMPARE(group->mode, l.group->GetModes()->FindByKey("10"));
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6 %7").arg(group->colorType).arg(group->cycleStart).arg(group->cycleEnd).arg(group->cycleRange)
                     .arg(int(group->endToStart)).arg(group->musicIndex).arg(group->effectSpeed),
                 QStringLiteral("1 0.25 0.75 0.5 1 3 7"));
        // Negative, "na", empty and non-numeric orders are left out; the later G1 wins.
        QCOMPARE(group->pathOrder, (std::map<std::string, int>{{"G1", 4}, {"MB1", 0}}));
        const EffectSetting* loaded = l.group->GetGroupSettingLoaded();
        QVERIFY(loaded && loaded != group && loaded->pathOrder == group->pathOrder && loaded->mode == group->mode);

        // "NA" and an empty <speed/> keep 0; blanks around a number are read.
        QCOMPARE(LedValues(l.Setting(nullptr, "G1", 0)), QStringLiteral("0 0.5 1 0.25 3 -1"));
        QCOMPARE(LedValues(l.Setting(nullptr, "G2", 0)), QStringLiteral("65280 0.333333 0 0.5 0 2"));
        QVERIFY(l.group->FindLed("G2")->GetLoadedSetting(0) != l.Setting(nullptr, "G2", 0));
        // Only the first mode of a scene counts; the second LED "G1" gets nothing.
        QVERIFY(!l.Setting(nullptr, "G3", 0) && !l.group->GetLeds()[2]->GetSetting(0));

        // The group's "Non-S0" scene fills the main board, never the group.
        QVERIFY(!l.Setting(nullptr, "G1", 1));
        QCOMPARE(LedValues(l.Setting("Mainboard", "MB1", 1)), QStringLiteral("255 0 1 0.5 2 1"));
        QCOMPARE(l.Setting("Mainboard", "MB1", 1)->mode, l.index.at("Mainboard")->GetModes()->FindByKey("4"));
        QCOMPARE(LedValues(l.Setting("Mainboard", "G1", 1)), QStringLiteral("16711680 0.666667 1 0.5 0 0"));
        // "s0" is not "S0": the fan's second scene goes to the main board too.
        QCOMPARE(l.Setting("Mainboard", "MB2", 1)->color, 16777215);
        QVERIFY(!l.Setting("Fan", "F1", 1));
        // The "Mainboard" element of a status document is not read.
        QVERIFY(!l.Setting("Mainboard", "MB1", 0));
        // A device reports its own running scene; a mode it does not have is null.
        QCOMPARE(LedValues(l.Setting("Fan", "F1", 0)), QStringLiteral("42 0 0 0 5 0"));
        QVERIFY(!l.Setting("Fan", "F1", 0)->mode);
    }

    // Only a positive number switches the group on.
    void groupSwitchText()
    {
        for (const std::string text : {"na", "nA", "true", "0", "-1", "", "99999999999", "1", " 2"}) {
            const bool enabled = text == "1" || text == " 2";
            DeviceMaster group("Group");
            group.SetEnabled(!enabled);
            StatusParser::ApplyText("<root><device key=\"Group\"><isenabled>" + text + "</isenabled></device></root>",
                                    &group, {});
            QVERIFY2(group.IsEnabled() == enabled, text.c_str());
        }
    }

    // The copies hold exactly what the service sent, in the indented layout;
    // the capability signal comes within the call, with the new model in place.
    void dumpsAndSignals()
    {
        const QString dumps[] = {QString::fromStdString(GetProgramDirectory() + "CapabilityModel.xml"),
                                 QString::fromStdString(GetProgramDirectory() + "Status.xml")};
        QFile::remove(dumps[0]), QFile::remove(dumps[1]);
        service->capability = ReadFile(Data + "capability.xml");
        service->status = ReadFile(Data + "status.xml");
        DeviceAggregator::SetDumpCapability(true);
        DeviceAggregator::SetDumpStatus(true);
        DeviceMaster* groupSeen = nullptr;
        const auto seen = connect(aggregator, &DeviceAggregator::CapabilityModelChanged, this,
                                  [&] { groupSeen = aggregator->GetGroup(); });
        QSignalSpy statusSpy(aggregator, &DeviceAggregator::StatusModelChanged);
        QCOMPARE(LoadCapability(), std::string());
        disconnect(seen);
        aggregator->LoadStatusModel();
        DeviceAggregator::SetDumpCapability(false);
        DeviceAggregator::SetDumpStatus(false);
        QVERIFY(groupSeen && groupSeen == aggregator->GetGroup() && statusSpy.count() == 1);
        for (const char* name : {"capability.xml", "status.xml"}) {
            tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
            document.Parse(ReadFile(Data + name).c_str());
            tinyxml2::XMLPrinter printer(nullptr, false);
            document.Print(&printer);
            QCOMPARE(ReadFile(dumps[name[0] == 's']), std::string(printer.CStr()));
        }
    }

    void missingGroupRaisesTheText_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("no service") << QString();
        QTest::newRow("not xml") << "<root><device key=";
        QTest::newRow("peripherals only") << "<root><device key=\"Mainboard\"/><device key=\"Keyboard\"/></root>";
        QTest::newRow("lower-case group") << "<root><device key=\"group\"/></root>";
    }
    void missingGroupRaisesTheText()
    {
        QFETCH(QString, document);
        service->capability = ReadFile(Data + "capability.xml");
        QCOMPARE(LoadCapability(), std::string());
        service->capability = document.toStdString();
        QSignalSpy spy(aggregator, &DeviceAggregator::CapabilityModelChanged);
        QCOMPARE(LoadCapability(), std::string("No ARDEX RGB DRAM module(s) found on your computer system!\n\n"
                                               "Program will be terminated."));
        QCOMPARE(spy.count(), 0);
        QVERIFY(!aggregator->GetGroup()); // the earlier model is gone either way
        // A status load without a group neither crashes nor fills anything.
        service->status = ReadFile(Data + "status.xml");
        aggregator->LoadStatusModel();
        QVERIFY(!aggregator->IsGroupEnabled());
    }

    // Each unit keeps its low byte: U+0147 becomes 'G'. What follows a zero
    // unit is not part of the document.
    void serviceTextIsNarrowedAndEndsAtZero()
    {
        struct Wide : RecordingService
        {
            std::u16string GetCapability() override { return {u"<root><device key=\"\u0147roup\"/></root>\0<x", 37}; }
        };
        ServiceClient::Instance().SetBackend(std::make_unique<Wide>());
        QCOMPARE(LoadCapability(), std::string());
        QVERIFY(aggregator->GetGroup());
    }

    void twoDevicesWithOneKey()
    {
        service->capability = "<root><device key=\"Group\"/><device key=\"Fan\"><ledlist><led key=\"F1\"/></ledlist>"
                              "</device><device key=\"Fan\"><ledlist><led key=\"F1\"/></ledlist></device></root>";
        QCOMPARE(LoadCapability(), std::string());
        const std::vector<DeviceMaster*> devices = aggregator->GetDevices();
        // The second is indexed, and the status reaches it.
        service->status = "<root><device key=\"Fan\"><scene><state>S0</state><mode key=\"1\">"
                          "<led key=\"F1\"><color>42</color></led></mode></scene></device></root>";
        aggregator->LoadStatusModel();
        QVERIFY(!devices[0]->FindLed("F1")->GetSetting(0));
        QCOMPARE(devices[1]->FindLed("F1")->GetSetting(0)->color, 42);
    }

    void statusLoadsReplaceOnlyTheGroup()
    {
        service->capability = ReadFile(Data + "capability.xml");
        QCOMPARE(LoadCapability(), std::string());
        LedInfo* fan = aggregator->GetDeviceIndex().at("Fan")->FindLed("F1");
        LedInfo *g1 = aggregator->GetGroup()->FindLed("G1"), *g2 = aggregator->GetGroup()->FindLed("G2");
        QSignalSpy spy(aggregator, &DeviceAggregator::StatusModelChanged);
        service->status = ReadFile(Data + "status.xml");
        aggregator->LoadStatusModel();
        QVERIFY(aggregator->IsGroupEnabled() && g1->GetSetting(0) && fan->GetSetting(0));

        // No answer from the service: nothing changes, nothing is announced.
        EffectSetting* before = g1->GetSetting(0);
        service->status.clear();
        aggregator->LoadStatusModel();
        QVERIFY(spy.count() == 1 && g1->GetSetting(0) == before);

        // The second document omits the fan: its LED keeps the first load's
        // setting, while the group starts afresh.
        service->status = "<root><device key=\"Group\"><isenabled>Na</isenabled><scene><state>S0</state>"
                          "<mode key=\"2\"><led key=\"G2\"><color>7</color></led></mode></scene></device></root>";
        aggregator->LoadStatusModel();
        QCOMPARE(spy.count(), 2);
        QVERIFY(!aggregator->IsGroupEnabled() && !g1->GetSetting(0) && !g1->GetLoadedSetting(0));
        QVERIFY(g2->GetSetting(0)->color == 7 && fan->GetSetting(0)->color == 42);

        // A document without root still clears the group and is announced.
        service->status = "<status/>";
        aggregator->LoadStatusModel();
        QCOMPARE(spy.count(), 3);
        QVERIFY(!aggregator->GetGroup()->GetGroupSetting() && !g2->GetSetting(0) && fan->GetSetting(0));
    }
};

QTEST_GUILESS_MAIN(ModelTest)
#include "ModelTest.moc"
