#include "app/ProgramDirectory.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "service/ServiceClient.h"
#include "service/ServiceText.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <tinyxml2.h>

namespace {

// Answers the fetches with fixed texts, as a service would.
class FakeBackend : public ServiceBackend
{
public:
    std::u16string capability;
    std::u16string status;

    void SetProfile(const std::u16string&, const std::u16string&) override {}
    std::u16string Exchange(const std::u16string&) override { return {}; }
    std::u16string GetStatus() override { return status; }
    std::u16string GetCapability() override { return capability; }
};

std::string Fixture(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/model/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll().toStdString();
}

QByteArray ReadFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const char* const ExpectedNoGroupText =
    "No ARDEX RGB DRAM module(s) found on your computer system!\n\nProgram will be terminated.";

} // namespace

class AggregatorTest : public QObject
{
    Q_OBJECT

private:
    FakeBackend* fake = nullptr;
    DeviceAggregator* aggregator = nullptr;

    void SetCapability(const std::string& text) { fake->capability = ServiceText::Widen(text); }
    void SetStatus(const std::string& text) { fake->status = ServiceText::Widen(text); }
    // Loads the capability and reports the thrown text, or "" when none.
    std::string LoadCapability()
    {
        try {
            aggregator->LoadCapabilityModel();
        } catch (const std::string& error) {
            return error;
        }
        return {};
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void capabilityLoadSignalsWithinTheCall();
    void missingGroupRaisesTheText_data();
    void missingGroupRaisesTheText();
    void serviceTextIsNarrowedAndEndsAtZero();
    void twoDevicesWithOneKey();
    void statusLoadsReplaceOnlyTheGroup();
    void dumpFiles();
};

void AggregatorTest::initTestCase()
{
    auto backend = std::make_unique<FakeBackend>();
    fake = backend.get();
    ServiceClient::Instance().SetBackend(std::move(backend));
    aggregator = DeviceAggregator::Instance();
    QCOMPARE(DeviceAggregator::Instance(), aggregator);
}

void AggregatorTest::cleanupTestCase()
{
    DeviceAggregator::SetDumpCapability(false);
    DeviceAggregator::SetDumpStatus(false);
    ServiceClient::Instance().SetBackend(nullptr);
}

void AggregatorTest::capabilityLoadSignalsWithinTheCall()
{
    SetCapability(Fixture("capability.xml"));
    DeviceMaster* groupSeen = nullptr;
    const auto connection = connect(aggregator, &DeviceAggregator::CapabilityModelChanged, this,
                                    [&] { groupSeen = aggregator->GetGroup(); });
    QSignalSpy spy(aggregator, &DeviceAggregator::CapabilityModelChanged);
    QCOMPARE(LoadCapability(), std::string());
    disconnect(connection);

    QCOMPARE(spy.count(), 1);
    QVERIFY(groupSeen);
    QCOMPARE(groupSeen, aggregator->GetGroup());
    const std::vector<DeviceMaster*> devices = aggregator->GetDevices();
    QCOMPARE(devices.size(), size_t(2));
    QCOMPARE(devices[0]->GetKey(), std::string("Mainboard"));
    QCOMPARE(devices[1]->GetKey(), std::string("Fan"));
    QCOMPARE(aggregator->GetDeviceIndex(),
             (std::map<std::string, DeviceMaster*>{{"Mainboard", devices[0]}, {"Fan", devices[1]}}));

    // A document with the group alone still counts.
    SetCapability("<root><device key=\"Group\"/></root>");
    QCOMPARE(LoadCapability(), std::string());
    QCOMPARE(spy.count(), 2);
    QVERIFY(aggregator->GetGroup());
    QVERIFY(aggregator->GetDevices().empty());
    QVERIFY(aggregator->GetDeviceIndex().empty());
}

void AggregatorTest::missingGroupRaisesTheText_data()
{
    QTest::addColumn<QString>("document");
    QTest::newRow("no service") << QString();
    QTest::newRow("not xml") << "<root><device key=";
    QTest::newRow("no devices") << "<root><header>ORVEL_LUMET</header></root>";
    QTest::newRow("peripherals only") << "<root><device key=\"Mainboard\"/><device key=\"Keyboard\"/></root>";
    QTest::newRow("lower-case group") << "<root><device key=\"group\"/></root>";
}

void AggregatorTest::missingGroupRaisesTheText()
{
    QFETCH(QString, document);
    SetCapability(Fixture("capability.xml"));
    QCOMPARE(LoadCapability(), std::string());

    SetCapability(document.toStdString());
    QSignalSpy spy(aggregator, &DeviceAggregator::CapabilityModelChanged);
    QCOMPARE(LoadCapability(), std::string(ExpectedNoGroupText));
    QCOMPARE(spy.count(), 0);
    // The earlier model is gone either way.
    QVERIFY(!aggregator->GetGroup());
    QVERIFY(!aggregator->IsGroupEnabled());

    // A status load without a group neither crashes nor fills anything.
    SetStatus(Fixture("status.xml"));
    QSignalSpy statusSpy(aggregator, &DeviceAggregator::StatusModelChanged);
    aggregator->LoadStatusModel();
    QCOMPARE(statusSpy.count(), 1);
    QVERIFY(!aggregator->IsGroupEnabled());
}

void AggregatorTest::serviceTextIsNarrowedAndEndsAtZero()
{
    // Each unit keeps its low byte: U+0147 becomes 'G'. What follows a zero
    // unit is not part of the document.
    std::u16string text = ServiceText::Widen("<root><device key=\"Xroup\"/></root>");
    text[text.find(u'X')] = u'\u0147';
    text += u'\0';
    text += u"<trailing";
    fake->capability = text;
    QCOMPARE(LoadCapability(), std::string());
    QVERIFY(aggregator->GetGroup());
}

void AggregatorTest::twoDevicesWithOneKey()
{
    SetCapability("<root><device key=\"Group\"/>"
                  "<device key=\"Fan\"><ledlist><led key=\"F1\"/></ledlist></device>"
                  "<device key=\"Fan\"><ledlist><led key=\"F1\"/></ledlist></device></root>");
    QCOMPARE(LoadCapability(), std::string());
    const std::vector<DeviceMaster*> devices = aggregator->GetDevices();
    QCOMPARE(devices.size(), size_t(2));
    QVERIFY(devices[0] != devices[1]);
    QCOMPARE(aggregator->GetDeviceIndex().at("Fan"), devices[1]);

    // The status reaches the device the index names.
    SetStatus("<root><device key=\"Fan\"><scene><state>S0</state><mode key=\"1\">"
              "<led key=\"F1\"><color>42</color></led></mode></scene></device></root>");
    aggregator->LoadStatusModel();
    QVERIFY(!devices[0]->FindLed("F1")->GetSetting(0));
    QVERIFY(devices[1]->FindLed("F1")->GetSetting(0));
    QCOMPARE(devices[1]->FindLed("F1")->GetSetting(0)->color, 42);
}

void AggregatorTest::statusLoadsReplaceOnlyTheGroup()
{
    SetCapability(Fixture("capability.xml"));
    QCOMPARE(LoadCapability(), std::string());
    DeviceMaster* group = aggregator->GetGroup();
    LedInfo* fan = aggregator->GetDeviceIndex().at("Fan")->FindLed("F1");
    LedInfo* g1 = group->FindLed("G1");
    LedInfo* g2 = group->FindLed("G2");

    QSignalSpy spy(aggregator, &DeviceAggregator::StatusModelChanged);
    SetStatus(Fixture("status.xml"));
    aggregator->LoadStatusModel();
    QCOMPARE(spy.count(), 1);
    QVERIFY(aggregator->IsGroupEnabled());
    QVERIFY(group->GetGroupSetting() && g1->GetSetting(0) && fan->GetSetting(0));

    // No answer from the service: nothing changes, nothing is announced.
    EffectSetting* before = g1->GetSetting(0);
    SetStatus("");
    aggregator->LoadStatusModel();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(g1->GetSetting(0), before);

    // The second document omits the fan: its LED keeps the first load's
    // setting, while the group starts afresh.
    SetStatus("<root><device key=\"Group\"><isenabled>Na</isenabled><scene><state>S0</state><mode key=\"2\">"
              "<led key=\"G2\"><color>7</color></led></mode></scene></device></root>");
    aggregator->LoadStatusModel();
    QCOMPARE(spy.count(), 2);
    QVERIFY(!aggregator->IsGroupEnabled());
    QVERIFY(!g1->GetSetting(0) && !g1->GetLoadedSetting(0));
    QCOMPARE(g2->GetSetting(0)->color, 7);
    QCOMPARE(group->GetGroupSetting()->mode, g2->GetSetting(0)->mode);
    QVERIFY(fan->GetSetting(0));
    QCOMPARE(fan->GetSetting(0)->color, 42);

    // A document without root still clears the group and is announced.
    SetStatus("<status/>");
    aggregator->LoadStatusModel();
    QCOMPARE(spy.count(), 3);
    QVERIFY(!group->GetGroupSetting() && !group->GetGroupSettingLoaded());
    QVERIFY(!g2->GetSetting(0));
    QVERIFY(fan->GetSetting(0));
}

void AggregatorTest::dumpFiles()
{
    const std::string directory = GetProgramDirectory();
    QVERIFY(!directory.empty());
    const std::string capabilityPath = directory + "CapabilityModel.xml";
    const std::string statusPath = directory + "Status.xml";
    QFile::remove(QString::fromStdString(capabilityPath));
    QFile::remove(QString::fromStdString(statusPath));

    // Off by default.
    SetCapability(Fixture("capability.xml"));
    SetStatus(Fixture("status.xml"));
    QCOMPARE(LoadCapability(), std::string());
    aggregator->LoadStatusModel();
    QVERIFY(!QFile::exists(QString::fromStdString(capabilityPath)));
    QVERIFY(!QFile::exists(QString::fromStdString(statusPath)));

    DeviceAggregator::SetDumpCapability(true);
    DeviceAggregator::SetDumpStatus(true);
    QCOMPARE(LoadCapability(), std::string());
    aggregator->LoadStatusModel();

    // The copies are the parsed documents in the indented layout.
    const QByteArray capability = ReadFile(capabilityPath);
    QVERIFY2(capability.contains("\n    <device key=\"Group\">\n        <ledlist>"), capability.constData());
    QVERIFY(capability.contains("<locationname>Rock &amp; Roll</locationname>"));
    const QByteArray status = ReadFile(statusPath);
    QVERIFY2(status.contains("\n            <state>Non-S0</state>"), status.constData());

    // A document that does not parse leaves an empty copy.
    SetCapability("<root><device");
    QCOMPARE(LoadCapability(), std::string(ExpectedNoGroupText));
    QCOMPARE(ReadFile(capabilityPath), QByteArray());

    QFile::remove(QString::fromStdString(capabilityPath));
    QFile::remove(QString::fromStdString(statusPath));
}

QTEST_GUILESS_MAIN(AggregatorTest)
#include "AggregatorTest.moc"
