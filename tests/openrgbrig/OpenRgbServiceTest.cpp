// vornlight-service against the real OpenRGB server with its stock simulated
// devices, driven over D-Bus as the panel drives it and read back with a
// second SDK client: the group it finds and its keys across restarts, the
// effects on the LEDs, the LED switch and DEFAULT, the server going away and
// coming back or detecting its devices again, and no server at all.
#include "tests/openrgbrig/OpenRgbRigProcess.h"

#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "profile/FixedProfile.h"
#include "simulator/openrgb/OpenRgbClient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Rig = OpenRgbRigProcess;
using Devices = Rig::Devices;
using OpenRgb::Color;
using OpenRgb::DeviceType;

const Color Red{255, 0, 0};
const Color Green{0, 255, 0};
const Color Blue{0, 0, 255};

bool ModulesShow(const Devices& devices, Color color)
{
    return Rig::AllShow(devices, DeviceType::Dram, color);
}

QString Fetch(const char* method)
{
    return SimulatorProcess::Fetch(QLatin1String(method));
}

} // namespace

class OpenRgbServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (OpenRgbServer::Folder().isEmpty())
            QSKIP("the OpenRGB test server is not beside the source tree");
    }

    // Modules and the board form the group, one entry per LED; the board is
    // "Mainboard" too. Restarting either program changes no key.
    void groupAndKeysSurviveRestarts()
    {
        Rig rig;
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        const QString capability = Fetch("GetCapability");
        const CapabilityParser::Result model = CapabilityParser::Parse(capability.toStdString());
        const std::vector<LedInfo*> leds = model.group->GetLeds();
        QCOMPARE(leds.size(), size_t(37));
        for (size_t i = 0; i < leds.size(); ++i)
            QCOMPARE(leds[i]->GetName() + " at " + leds[i]->GetLocation(),
                     i < 26 ? std::string("Pellix\nDram at 1004") : "Board " + std::to_string(i - 25) + " at 13");
        QVERIFY(model.devices.size() == 1 && model.devices[0]->GetKey() == "Mainboard"
                && model.devices[0]->GetLeds().size() == 11);
        std::string effects;
        for (const ModeInfo* mode : model.group->GetModes()->GetModes())
            effects += mode->GetKey() + " ";
        QCOMPARE(effects, std::string("1 2 3 4 5 8 10 11 12 13 17 18 19 101 "));
        QVERIFY(capability.contains(QLatin1String("<device key=\"Keyboard\">")));

        rig.StopService();
        rig.server.Kill();
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        QCOMPARE(Fetch("GetCapability"), capability);
    }

    // The LED switch blacks every LED and gives the effect back; DEFAULT gives
    // every device what it showed when the service first met it.
    void switchAndDefault()
    {
        Rig rig;
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        OpenRgbClient painter;
        QVERIFY(painter.Connect("127.0.0.1", rig.server.Port()));
        const std::optional<Devices> devices = painter.Controllers();
        QVERIFY2(devices, painter.Error().c_str());
        std::vector<std::vector<Color>> before(devices->size());
        for (uint32_t i = 0; i < devices->size(); ++i) {
            for (size_t led = 0; led < (*devices)[i].leds.size(); ++led)
                before[i].push_back({uint8_t(40 * i + 1), uint8_t(led), 200});
            QVERIFY(painter.UpdateLeds(i, before[i]));
        }
        QVERIFY(painter.ControllerCount()); // answered only once the colours were taken

        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        QVERIFY(Rig::Apply(Rig::Profile(1, 255)));
        QVERIFY2(rig.WaitFor([](const Devices& d) {
                     return ModulesShow(d, Red) && Rig::AllShow(d, DeviceType::Motherboard, Red);
                 }),
                 "the group does not show static red");
        QVERIFY(Rig::Apply(FixedProfile::LedSwitch(false), FixedProfile::TargetKey));
        QVERIFY2(rig.WaitFor([](const Devices& d) {
                     return std::all_of(d.begin(), d.end(), [](const OpenRgb::Device& c) { return Rig::Shows(c, {}); });
                 }),
                 "switched off, some LED still lights");
        QVERIFY(Rig::Apply(FixedProfile::LedSwitch(true), FixedProfile::TargetKey));
        QVERIFY2(rig.WaitFor([&](const Devices& d) {
                     return ModulesShow(d, Red) && d[2].colors == before[2]; // the keyboard as it was
                 }),
                 "switched on again, the effect is not back");
        QVERIFY(Rig::Apply(FixedProfile::ResetAll(), FixedProfile::TargetKey));
        QVERIFY2(rig.WaitFor([&](const Devices& d) {
                     return std::equal(d.begin(), d.end(), before.begin(), before.end(),
                                       [](const OpenRgb::Device& now, const std::vector<Color>& then) {
                                           return now.colors == then;
                                       });
                 }),
                 "DEFAULT does not give back the colours the devices showed first");
    }

    // Breathing fades: two reads 300 ms apart differ, and at its peak it
    // shows exactly the chosen colour. The temperature effect follows the
    // CPU sensor (--hwmon): red when hot, blue when cool.
    void effectsMoveAndFollowTheSensor()
    {
        QTemporaryDir hwmon;
        auto write = [&hwmon](const char* name, const QByteArray& text) {
            QFile file(hwmon.filePath(QStringLiteral("hwmon3/") + QLatin1String(name)));
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
        };
        QVERIFY(QDir(hwmon.path()).mkpath(QStringLiteral("hwmon3")));
        QVERIFY(write("name", "k10temp\n") && write("temp1_input", "85000\n"));
        Rig rig;
        QVERIFY2(rig.Start({QStringLiteral("--hwmon"), hwmon.path()}), qPrintable(rig.Problem()));

        QVERIFY(Rig::Apply(Rig::Profile(2, 0xff00)));
        bool moved = false;
        std::optional<Devices> earlier = rig.Read();
        for (int i = 0; i < 10 && !moved; ++i) {
            QTest::qWait(300);
            const std::optional<Devices> later = rig.Read();
            QVERIFY(earlier && later);
            moved = (*earlier)[3].colors != (*later)[3].colors;
            earlier = later;
        }
        QVERIFY2(moved, "breathing stands still");
        QVERIFY2(rig.WaitFor([](const Devices& d) { return ModulesShow(d, Green); }),
                 "breathing never shows the chosen colour");

        QVERIFY(Rig::Apply(Rig::Profile(18, 0xffffff, "na", "<effect_speed>2</effect_speed>")));
        QVERIFY2(rig.WaitFor([](const Devices& d) { return ModulesShow(d, Red); }), "hot does not show red");
        QVERIFY(write("temp1_input", "25000\n"));
        QVERIFY2(rig.WaitFor([](const Devices& d) { return ModulesShow(d, Blue); }), "cool does not show blue");
    }

    // A frozen server holds up no call. The server killed: the service
    // answers, and soon without a group. Started again: the effect is back
    // within two seconds of its return. A re-detection (new devices, all
    // dark) is shown the effect again too.
    void serverComesBackAndRedetects()
    {
        Rig rig;
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        auto shows = [&rig](Color color) {
            return rig.WaitFor([color](const Devices& d) { return ModulesShow(d, color); });
        };
        QVERIFY(Rig::Apply(Rig::Profile(1, 0xff0000)) && shows(Blue));

        rig.server.Freeze();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(Rig::Apply(Rig::Profile(1, 0xff00)));
        QVERIFY(!Fetch("GetStatus").isEmpty() && clock.elapsed() < 1000);
        rig.server.Thaw();
        QVERIFY(shows(Green));

        rig.server.Kill();
        clock.restart();
        QVERIFY(!Fetch("GetStatus").isEmpty() && clock.elapsed() < 1000);
        QTRY_VERIFY_WITH_TIMEOUT(Rig::GroupLeds().empty(), 10000);
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        clock.restart();
        QVERIFY2(shows(Green), "the effect is not shown again");
        QVERIFY2(clock.elapsed() <= 2000, qPrintable(QStringLiteral("shown again after %1 ms").arg(clock.elapsed())));

        // The devices detected again start dark; the server tells of each.
        OpenRgbClient rescanner;
        QVERIFY(rescanner.Connect("127.0.0.1", rig.server.Port()) && rescanner.RescanDevices());
        QTRY_VERIFY_WITH_TIMEOUT(rescanner.Poll() && rescanner.DeviceListChanged(), 10000);
        QVERIFY(rescanner.Controllers()); // read once the notices have stopped
        QVERIFY2(shows(Green), "the devices found again are not shown the effect");
        rig.StopService();
        QCOMPARE(rig.Service().ErrorOutput().count(QLatin1String("lost the OpenRGB SDK server at 127.0.0.1:")), 1);
    }

    // Options that do not fit end the program with 2 and the reason, before
    // it takes the bus name.
    void wrongOptionsAreRefused()
    {
        for (const QStringList& arguments : {QStringList{"--openrgb", "localhost"}, {"--fps", "0"}, {"--fps", "fast"}}) {
            QProcess program;
            program.start(SimulatorProcess::Program(QStringLiteral("vornlight-service")), arguments);
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitCode(), 2);
            QVERIFY2(program.readAllStandardError().contains(arguments[1].toLatin1()), qPrintable(arguments.join(' ')));
            QVERIFY(!SimulatorProcess::IsNameOwned());
        }
    }

    // Without a server the service answers without a group and says where it
    // looked, once; a server that comes up later is found.
    void noServerYet()
    {
        Rig rig;
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        rig.server.Stop();
        QVERIFY(rig.StartService());
        QTest::qWait(2500); // several attempts to connect
        QVERIFY(!Fetch("GetCapability").isEmpty() && !Fetch("GetStatus").isEmpty());
        QVERIFY(Rig::GroupLeds().empty());
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        QTRY_VERIFY_WITH_TIMEOUT(!Rig::GroupLeds().empty(), 10000);
        rig.StopService();
        const QString said = rig.Service().ErrorOutput();
        const QString where = QStringLiteral("no OpenRGB SDK server answers at 127.0.0.1:%1").arg(rig.server.Port());
        QVERIFY2(said.count(where) == 1 && said.contains(QLatin1String("openrgb --server")), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(OpenRgbServiceTest)
#include "OpenRgbServiceTest.moc"
