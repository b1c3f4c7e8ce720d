// vornlight-service against the OpenRGB server whose devices declare the
// hardware modes real memory modules and boards report: a module whose speed
// ranges run backwards (4 slowest, 0 fastest) and a board whose modes take
// colours of their own. Read back with a second SDK client.
#include "tests/openrgbrig/OpenRgbRigProcess.h"

#include "profile/FixedProfile.h"
#include "simulator/openrgb/OpenRgbClient.h"

#include <QtTest>

namespace {

using Rig = OpenRgbRigProcess;
using Devices = Rig::Devices;
using OpenRgb::Color;

// The server lists the module first, then the board.
constexpr size_t Module = 0;
constexpr size_t Board = 1;

// The active mode's name, speed, direction and own colours, as one text.
std::string Running(const Devices& devices, size_t device)
{
    const OpenRgb::Mode* m = device < devices.size() ? devices[device].ActiveMode() : nullptr;
    if (!m)
        return "none";
    std::string text = m->name + " speed " + std::to_string(m->speed) + " direction " + std::to_string(m->direction);
    for (const Color& c : m->colorMode == OpenRgb::ColorMode::ModeSpecific ? m->colors : std::vector<Color>())
        text += " colour " + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    return text;
}

} // namespace

class OpenRgbModesTest : public QObject
{
    Q_OBJECT

private slots:
    // The module first runs a slow rainbow, the board Static in its own
    // colour. By default both show frames through Direct; with hardware
    // modes each runs the effects it has a mode for, the switch uses Off
    // where there is one, and DEFAULT sets the first modes again (kept across
    // the restart).
    void framesOrHardwareModes()
    {
        if (OpenRgbServer::Folder().isEmpty())
            QSKIP("the OpenRGB test server is not beside the source tree");
        Rig rig(OpenRgbServer::Devices::Modes);
        QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
        OpenRgbClient client;
        QVERIFY(client.Connect("127.0.0.1", rig.server.Port()));
        const std::optional<Devices> devices = client.Controllers();
        QVERIFY2(devices && devices->size() == 2, client.Error().c_str());
        const int rainbow = (*devices)[Module].FindMode("Rainbow");
        OpenRgb::Mode slow = (*devices)[Module].modes[size_t(rainbow)];
        slow.speed = 3;
        slow.direction = 1;
        const int still = (*devices)[Board].FindMode("Static");
        OpenRgb::Mode sky = (*devices)[Board].modes[size_t(still)];
        sky.colors = {Color{0, 128, 255}};
        QVERIFY(client.UpdateMode(Module, uint32_t(rainbow), slow) && client.UpdateMode(Board, uint32_t(still), sky));
        QVERIFY(client.ControllerCount()); // answered once the modes were taken
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));

        struct Step
        {
            std::string document;
            const char* key;
            std::string module, board;
            std::function<bool(const Devices&)> also;
        };
        const std::string direct = "Direct speed 0 direction 0";
        const char* group = "Group";
        const char* target = FixedProfile::TargetKey;
        const Step steps[] = {
            {Rig::Profile(2, 0xff00, "-2"), group, direct, direct, {}},
            // Restarted with hardware modes, the service shows that state again.
            {{}, group, "Breathing speed 0 direction 0", "Breathing speed 5 direction 0 colour 0,255,0",
             [](const Devices& d) { return Rig::Shows(d[Module], {0, 255, 0}); }},
            {Rig::Profile(2, 0xff00, "1"), group, "Breathing speed 3 direction 0",
             "Breathing speed 2 direction 0 colour 0,255,0", {}},
            // The board has no rainbow: it shows frames beside the module's own.
            {Rig::Profile(5, 0xff00, "na", Rig::RainbowValues(2, false)), group, "Rainbow speed 4 direction 0", direct,
             [](const Devices& d) { return d[Board].colors[0] != d[Board].colors[20]; }},
            {FixedProfile::LedSwitch(false), target, "Off speed 0 direction 0", direct,
             [](const Devices& d) { return Rig::Shows(d[Board], {}); }},
            {FixedProfile::LedSwitch(true), target, "Rainbow speed 4 direction 0", direct, {}},
            {FixedProfile::ResetAll(), target, "Rainbow speed 3 direction 1",
             "Static speed 0 direction 0 colour 0,128,255", {}},
        };
        for (const Step& step : steps) {
            if (step.document.empty()) {
                rig.StopService();
                QVERIFY2(rig.Start({QStringLiteral("--hardware-modes")}), qPrintable(rig.Problem()));
            } else {
                QVERIFY(Rig::Apply(step.document, step.key));
            }
            QVERIFY2(rig.WaitFor([&](const Devices& d) {
                         return Running(d, Module) == step.module && Running(d, Board) == step.board
                             && (!step.also || step.also(d));
                     }),
                     ("module: " + Running(rig.Last(), Module) + "; board: " + Running(rig.Last(), Board)).c_str());
        }
    }
};

QTEST_GUILESS_MAIN(OpenRgbModesTest)
#include "OpenRgbModesTest.moc"
