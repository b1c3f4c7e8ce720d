#include "app/ProgramDirectory.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <tinyxml2.h>

namespace {

const char* const ServiceName = "OvTarskLumetService.ServiceMediator";

QString FixturePath(const char* name)
{
    return QStringLiteral(LUMET_TEST_DATA "/model/") + QLatin1String(name);
}

// The fixture as the indented printer lays it out after parsing.
QByteArray Printed(const char* name)
{
    QFile file(FixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing fixture>");
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    document.Parse(file.readAll().constData());
    tinyxml2::XMLPrinter printer(nullptr, false);
    document.Print(&printer);
    return QByteArray(printer.CStr());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// A whole capability and status load over the session bus, against the
// simulated service serving the fixtures unchanged.
class ServiceLoadTest : public QObject
{
    Q_OBJECT

private:
    QProcess service;
    QString capabilityDump;
    QString statusDump;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void loadsBothModelsAndDumpsTheDocuments();
};

void ServiceLoadTest::initTestCase()
{
    const QString program = QStringLiteral(LUMET_BIN_DIR "/vornlight-service-sim");
    QVERIFY2(QFile::exists(program), "the simulated service has not been built");
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    QVERIFY2(bus, "no session bus");
    QVERIFY(!bus->isServiceRegistered(ServiceName).value());

    service.setProcessChannelMode(QProcess::ForwardedChannels);
    service.start(program, {"--capability", FixturePath("capability.xml"), "--status", FixturePath("status.xml")});
    QVERIFY2(service.waitForStarted(), qPrintable(service.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(ServiceName).value() || service.state() != QProcess::Running,
                             10000);
    QVERIFY2(service.state() == QProcess::Running, "the simulated service ended early");

    const QString directory = QString::fromStdString(GetProgramDirectory());
    QVERIFY(!directory.isEmpty());
    capabilityDump = directory + "CapabilityModel.xml";
    statusDump = directory + "Status.xml";
    QFile::remove(capabilityDump);
    QFile::remove(statusDump);
}

void ServiceLoadTest::cleanupTestCase()
{
    DeviceAggregator::SetDumpCapability(false);
    DeviceAggregator::SetDumpStatus(false);
    if (service.state() != QProcess::NotRunning) {
        service.terminate();
        if (!service.waitForFinished(3000)) {
            service.kill();
            service.waitForFinished(3000);
        }
    }
    if (!capabilityDump.isEmpty()) {
        QFile::remove(capabilityDump);
        QFile::remove(statusDump);
    }
}

void ServiceLoadTest::loadsBothModelsAndDumpsTheDocuments()
{
    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    DeviceAggregator::SetDumpCapability(true);
    DeviceAggregator::SetDumpStatus(true);
    QSignalSpy capabilitySpy(aggregator, &DeviceAggregator::CapabilityModelChanged);
    QSignalSpy statusSpy(aggregator, &DeviceAggregator::StatusModelChanged);

    try {
        aggregator->LoadCapabilityModel();
    } catch (const std::string& error) {
        QFAIL(error.c_str());
    }
    QCOMPARE(capabilitySpy.count(), 1);
    aggregator->LoadStatusModel();
    QCOMPARE(statusSpy.count(), 1);

    const DeviceMaster* group = aggregator->GetGroup();
    QVERIFY(group);
    QCOMPARE(group->GetModes()->GetModes().size(), size_t(4));
    QCOMPARE(group->FindLed("G1")->GetName(), std::string("Pellix\nDram"));
    QCOMPARE(aggregator->GetDevices().size(), size_t(2));

    QVERIFY(aggregator->IsGroupEnabled());
    const EffectSetting* setting = group->GetGroupSetting();
    QVERIFY(setting && setting->mode);
    QCOMPARE(setting->mode->GetName(), std::string("Wave"));
    QCOMPARE(setting->cycleStart, 0.25f);
    const EffectSetting* g1 = group->FindLed("G1")->GetSetting(0);
    QVERIFY(g1);
    QCOMPARE(g1->hue, 0.5f);
    const EffectSetting* mb1 = aggregator->GetDeviceIndex().at("Mainboard")->FindLed("MB1")->GetSetting(1);
    QVERIFY(mb1);
    QCOMPARE(mb1->color, 255);

    // The copies hold exactly what the service sent, in the indented layout.
    QCOMPARE(ReadFile(capabilityDump), Printed("capability.xml"));
    QCOMPARE(ReadFile(statusDump), Printed("status.xml"));
}

QTEST_GUILESS_MAIN(ServiceLoadTest)
#include "ServiceLoadTest.moc"
