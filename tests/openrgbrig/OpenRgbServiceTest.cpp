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

using Devices = OpenRgbRigProcess::Devices;
using OpenRgb::Color;

const Color Red{255, 0, 0};
const Color Black{0, 0, 0};

bool ModulesShow(const Devices& devices, Color color)
{
    const auto modules = OpenRgbRigProcess::Modules(devices);
    return modules.size() == 3 && std::all_of(modules.begin(), modules.end(), [&](const OpenRgb::Device* d) {
               return OpenRgbRigProcess::Shows(devices, d->name, color);
           });
}

std::vector<std::vector<Color>> ColorsOf(const Devices& devices)
{
    std::vector<std::vector<Color>> colors;
    for (const OpenRgb::Device& d : devices)
        colors.push_back(d.colors);
    return colors;
}

QString Capability()
{
    return SimulatorProcess::Fetch(QStringLiteral("GetCapability"));
}

bool Applied(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage;
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
        OpenRgbRigProcess rig;
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        const QString capability = Capability();
        const CapabilityParser::Result model = CapabilityParser::Parse(capability.toStdString());
        const std::vector<LedInfo*> leds = model.group->GetLeds();
        QCOMPARE(leds.size(), size_t(37));
        for (size_t i = 0; i < leds.size(); ++i) {
            const bool module = i < 26;
            QCOMPARE(leds[i]->GetName(), std::string(module ? "Pellix\nDram" : "Board " + std::to_string(i - 25)));
            QCOMPARE(leds[i]->GetLocation(), std::string(module ? "1004" : "13"));
            for (const unsigned char c : leds[i]->GetKey())
                QVERIFY(c > 32 && c < 127);
        }
        QCOMPARE(model.devices.size(), size_t(1));
        QCOMPARE(model.devices[0]->GetKey(), std::string("Mainboard"));
        QCOMPARE(model.devices[0]->GetLeds().size(), size_t(11));
        std::string effects;
        for (const ModeInfo* mode : model.group->GetModes()->GetModes())
            effects += mode->GetKey() + " ";
        QCOMPARE(effects, std::string("1 2 3 4 5 8 10 11 12 13 17 18 19 101 "));
        QVERIFY(capability.contains(QLatin1String("<device key=\"Keyboard\">")));

        rig.StopService();
        rig.server.Kill();
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        QCOMPARE(Capability(), capability);
    }

    // The LED switch blacks every LED and gives the effect back; DEFAULT gives
    // every device what it showed when the service first met it.
    void switchAndDefault()
    {
        OpenRgbRigProcess rig;
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        {
            OpenRgbClient painter;
            QVERIFY(painter.Connect("127.0.0.1", rig.server.Port()));
            const std::optional<Devices> devices = painter.Controllers();
            QVERIFY2(devices, painter.Error().c_str());
            for (uint32_t i = 0; i < devices->size(); ++i) {
                std::vector<Color> colors;
                for (size_t led = 0; led < (*devices)[i].leds.size(); ++led)
                    colors.push_back({uint8_t(40 * i + 1), uint8_t(led), 200});
                QVERIFY(painter.UpdateLeds(i, colors));
            }
            QVERIFY(painter.ControllerCount()); // answered only once the colours were taken
        }
        QVERIFY(rig.WaitFor([](const Devices&) { return true; }));
        const std::vector<std::vector<Color>> before = ColorsOf(rig.Last());

        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        QVERIFY(Applied(OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(1, 255))));
        QVERIFY2(rig.WaitFor([](const Devices& d) {
                     return ModulesShow(d, Red) && OpenRgbRigProcess::Shows(d, "Debug Motherboard", Red);
                 }),
                 "the group does not show static red");

        QVERIFY(Applied(OpenRgbRigProcess::Apply(FixedProfile::LedSwitch(false), FixedProfile::TargetKey)));
        QVERIFY2(rig.WaitFor([](const Devices& d) {
                     return std::all_of(d.begin(), d.end(), [&](const OpenRgb::Device& c) {
                         return OpenRgbRigProcess::Shows(d, c.name, Black);
                     });
                 }),
                 "switched off, some LED still lights");
        QVERIFY(Applied(OpenRgbRigProcess::Apply(FixedProfile::LedSwitch(true), FixedProfile::TargetKey)));
        QVERIFY2(rig.WaitFor([&](const Devices& d) {
                     return ModulesShow(d, Red) && d[2].colors == before[2]; // the keyboard as it was
                 }),
                 "switched on again, the effect is not back");

        QVERIFY(Applied(OpenRgbRigProcess::Apply(FixedProfile::ResetAll(), FixedProfile::TargetKey)));
        QVERIFY2(rig.WaitFor([&](const Devices& d) { return ColorsOf(d) == before; }),
                 "DEFAULT does not give back the colours the devices showed first");
    }

    // Breathing fades: two reads a moment apart differ, and at its peak it
    // shows exactly the chosen colour.
    void breathingFadesAndPeaks()
    {
        OpenRgbRigProcess rig;
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        const Color green{0, 255, 0};
        QVERIFY(Applied(OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(2, 0xff00))));
        bool moved = false;
        std::optional<Devices> earlier = rig.Read();
        for (int i = 0; i < 10 && !moved; ++i) {
            QTest::qWait(300);
            const std::optional<Devices> later = rig.Read();
            QVERIFY(earlier && later);
            moved = ColorsOf(*earlier)[3] != ColorsOf(*later)[3];
            earlier = later;
        }
        QVERIFY2(moved, "breathing stands still");
        QVERIFY2(rig.WaitFor([&](const Devices& d) { return ModulesShow(d, green); }),
                 "breathing never shows the chosen colour");
    }

    // A frozen server holds up no call. The server killed: the service
    // answers, and soon without a group. Started again: the effect is back
    // within two seconds of its return. A re-detection (new devices, all
    // dark) is shown the effect again too.
    void serverComesBackAndRedetects()
    {
        OpenRgbRigProcess rig;
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));
        const Color blue{0, 0, 255};
        QVERIFY(Applied(OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(1, 0xff0000))));
        QVERIFY(rig.WaitFor([&](const Devices& d) { return ModulesShow(d, blue); }));

        // A server that takes no more calls holds up no call on the bus.
        rig.server.Freeze();
        QElapsedTimer frozen;
        frozen.start();
        QVERIFY(Applied(OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(1, 0xff00))));
        QVERIFY(!SimulatorProcess::Fetch(QStringLiteral("GetStatus")).isEmpty());
        QVERIFY(frozen.elapsed() < 1000);
        rig.server.Thaw();
        QVERIFY(rig.WaitFor([&](const Devices& d) { return ModulesShow(d, {0, 255, 0}); }));
        QVERIFY(Applied(OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(1, 0xff0000))));
        QVERIFY(rig.WaitFor([&](const Devices& d) { return ModulesShow(d, blue); }));

        rig.server.Kill();
        QElapsedTimer answer;
        answer.start();
        QVERIFY(!SimulatorProcess::Fetch(QStringLiteral("GetStatus")).isEmpty());
        QVERIFY(answer.elapsed() < 1000);
        // Gone for good: no group after a few seconds.
        QTRY_VERIFY_WITH_TIMEOUT(!OpenRgbRigProcess::HasGroup(), 10000);
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        QElapsedTimer back;
        back.start();
        QVERIFY2(rig.WaitFor([&](const Devices& d) { return ModulesShow(d, blue); }), "the effect is not shown again");
        QVERIFY2(back.elapsed() <= 2000, qPrintable(QStringLiteral("shown again after %1 ms").arg(back.elapsed())));

        // The devices detected again start dark; the server tells of each.
        OpenRgbClient rescanner;
        QVERIFY(rescanner.Connect("127.0.0.1", rig.server.Port()) && rescanner.RescanDevices());
        QTRY_VERIFY_WITH_TIMEOUT(rescanner.Poll() && rescanner.DeviceListChanged(), 10000);
        QVERIFY(rescanner.Controllers()); // read once the notices have stopped
        QVERIFY2(rig.WaitFor([&](const Devices& d) { return ModulesShow(d, blue); }),
                 "the devices found again are not shown the effect");
        rig.StopService();
        const QString said = rig.Service().ErrorOutput();
        QCOMPARE(said.count(QLatin1String("lost the OpenRGB SDK server at 127.0.0.1:")), 1);
    }

    // The temperature effect follows the CPU sensor (--hwmon): held steady,
    // red when hot, blue when cool, looked at again about once a second.
    void temperatureFollowsTheSensor()
    {
        QTemporaryDir hwmon;
        QVERIFY(QDir(hwmon.path()).mkpath(QStringLiteral("hwmon3")));
        auto write = [&](const QByteArray& name, const QByteArray& text) {
            QFile file(hwmon.filePath(QStringLiteral("hwmon3/") + QLatin1String(name)));
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
        };
        QVERIFY(write("name", "k10temp\n") && write("temp1_input", "85000\n"));
        OpenRgbRigProcess rig;
        QVERIFY2(rig.Start({QStringLiteral("--hwmon"), hwmon.path()}), qPrintable(rig.Problem()));
        QVERIFY(Applied(OpenRgbRigProcess::Apply(
            OpenRgbRigProcess::Profile(18, 0xffffff, "na", "<effect_speed>2</effect_speed>"))));
        QVERIFY2(rig.WaitFor([](const Devices& d) { return ModulesShow(d, Red); }), "hot does not show red");
        QVERIFY(write("temp1_input", "25000\n"));
        QVERIFY2(rig.WaitFor([](const Devices& d) { return ModulesShow(d, {0, 0, 255}); }), "cool does not show blue");
    }

    // Options that do not fit end the program with 2 and the reason, before
    // it takes the bus name.
    void wrongOptionsAreRefused()
    {
        const QStringList wrong[] = {{QStringLiteral("--openrgb"), QStringLiteral("localhost")},
                                     {QStringLiteral("--fps"), QStringLiteral("0")},
                                     {QStringLiteral("--fps"), QStringLiteral("fast")}};
        for (const QStringList& arguments : wrong) {
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
        OpenRgbRigProcess rig;
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        rig.server.Stop();
        QVERIFY(rig.StartService());
        QTest::qWait(2500); // several attempts to connect
        QVERIFY(!Capability().isEmpty());
        QVERIFY(!OpenRgbRigProcess::HasGroup());
        QVERIFY(!SimulatorProcess::Fetch(QStringLiteral("GetStatus")).isEmpty());
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        QTRY_VERIFY_WITH_TIMEOUT(OpenRgbRigProcess::HasGroup(), 10000);
        rig.StopService();
        const QString said = rig.Service().ErrorOutput();
        const QString where = QStringLiteral("no OpenRGB SDK server answers at 127.0.0.1:%1").arg(rig.server.Port());
        QVERIFY2(said.count(where) == 1, qPrintable(said));
        QVERIFY(said.contains(QLatin1String("openrgb --server")));
    }
};

QTEST_GUILESS_MAIN(OpenRgbServiceTest)
#include "OpenRgbServiceTest.moc"
