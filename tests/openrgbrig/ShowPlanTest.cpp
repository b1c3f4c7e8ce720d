// How the service shows a state on OpenRGB's controllers: the engine's frames
// through Direct and how often, the devices' own modes where they fit (speed
// ranges that run backwards, colours of the mode's own), what DEFAULT gives
// back, and LEDs whose layout the service has not taken yet.
#include "simulator/openrgb-rig/ShowPlan.h"
#include "tests/openrgbrig/DeviceFixtures.h"

#include <QTest>

namespace {

using namespace DeviceFixtures;
using Way = ShowPlan::Way;

// The state the service holds for the devices once it took their layout:
// their defaults, with the group's effect and every LED's colour changed.
RigState StateOf(const OpenRgbMapping& m, int mode, unsigned color, int ledSpeed = 0)
{
    RigState state = m.defaults;
    state.notes.clear();
    RigState::Scene& scene = state.devices.at("Group").scenes[0];
    scene.mode = mode;
    for (auto& [key, led] : scene.leds) {
        led.color = color;
        led.speed = ledSpeed;
    }
    return state;
}

OpenRgb::Color Rgb(unsigned packed)
{
    return {uint8_t(packed), uint8_t(packed >> 8), uint8_t(packed >> 16)};
}

} // namespace

class ShowPlanTest : public QObject
{
    Q_OBJECT

private slots:
    // Devices with a Direct mode show the engine's frames: as often as the
    // effect needs them, or once for an effect that stands still.
    void framesThroughDirect()
    {
        const std::vector<OpenRgb::Device> devices = {Dram("A", "", 3), Board("B", {{"Mainboard", 2}}),
                                                      ModesDram()};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Breathing, 255);
        ShowPlan plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        QCOMPARE(plan.units.size(), size_t(1));
        QCOMPARE(plan.units[0].settings.leds.size(), size_t(7));
        for (const ShowPlan::ControllerShow& c : plan.controllers)
            QCOMPARE(c.way, Way::Frames);
        EffectEngine::Inputs inputs;
        QCOMPARE(plan.FramesPerSecond(inputs, 45), 45);

        state.devices.at("Group").scenes[0].mode = EffectSettings::Static;
        QCOMPARE(ShowPlan::Make(m, devices, state, m.defaults, false).FramesPerSecond(inputs, 45), 0);
        state.devices.at("Group").scenes[0].mode = EffectSettings::Comet;
        state.devices.at("Group").enabled = false;
        QCOMPARE(ShowPlan::Make(m, devices, state, m.defaults, false).FramesPerSecond(inputs, 45), 0);

        // A steady temperature colour is looked at once a second, while a
        // sensor reads; without one the effect breathes.
        state.devices.at("Group").enabled = true;
        state.devices.at("Group").scenes[0].mode = EffectSettings::Temperature;
        state.devices.at("Group").scenes[0].effectSpeed = 2;
        plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        QCOMPARE(plan.FramesPerSecond(inputs, 30), 30);
        inputs.cpuCelsius = 55.0f;
        QCOMPARE(plan.FramesPerSecond(inputs, 30), 1);

        // The path order of the state is the order the effect runs in.
        auto& path = state.devices.at("Group").scenes[0].pathOrder;
        const int count = int(path.size());
        for (auto& [key, position] : path)
            position = count - 1 - position;
        plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        using Leds = std::vector<std::pair<size_t, size_t>>;
        QCOMPARE(plan.units[0].places.front(), (Leds{{2, 1}}));
        QCOMPARE(plan.units[0].places.back(), (Leds{{0, 0}}));
    }

    // With hardware modes chosen, a device runs the effect itself where a
    // mode of its own shows it exactly enough: the panel's speed spread over
    // ranges that run either way, the colours per LED or as the mode's own.
    void hardwareModesWhereTheyFit()
    {
        const std::vector<OpenRgb::Device> devices = {ModesDram(), ModesBoard()};
        const OpenRgb::Device& dram = devices[0];
        const OpenRgb::Device& board = devices[1];
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Breathing, 0xff00, -2);
        ShowPlan plan = ShowPlan::Make(m, devices, state, m.defaults, true);
        QCOMPARE(plan.controllers[0].way, Way::Mode);
        QCOMPARE(plan.controllers[0].mode.index, dram.FindMode("Breathing"));
        QCOMPARE(plan.controllers[0].mode.settings.speed, 0u); // fastest of 4..0
        QCOMPARE(plan.controllers[0].colors, std::vector<OpenRgb::Color>(2, Rgb(0xff00)));
        QCOMPARE(plan.controllers[1].way, Way::Mode);
        QCOMPARE(plan.controllers[1].mode.settings.speed, 5u); // fastest of 1..5
        QCOMPARE(plan.controllers[1].mode.settings.colorMode, OpenRgb::ColorMode::ModeSpecific);
        QCOMPARE(plan.controllers[1].mode.settings.colors, std::vector<OpenRgb::Color>{Rgb(0xff00)});
        QVERIFY(plan.controllers[1].colors.empty());
        QCOMPARE(plan.FramesPerSecond({}, 30), 0);
        state = StateOf(m, EffectSettings::Breathing, 0xff00, 1);
        plan = ShowPlan::Make(m, devices, state, m.defaults, true);
        QCOMPARE(plan.controllers[0].mode.settings.speed, 3u);
        QCOMPARE(plan.controllers[1].mode.settings.speed, 2u);
        // Without the choice, frames.
        QCOMPARE(ShowPlan::Make(m, devices, state, m.defaults, false).controllers[0].way, Way::Frames);

        // The board's colour of its own cannot show two colours per LED, nor
        // the board a rainbow at all: frames there, the module's mode here,
        // running the group's way.
        state.devices.at("Group").scenes[0].leds.at("MB-M.0.1").color = 0xff;
        QCOMPARE(ShowPlan::Make(m, devices, state, m.defaults, true).controllers[1].way, Way::Frames);
        state.devices.at("Group").scenes[0].mode = EffectSettings::Rainbow;
        state.devices.at("Group").scenes[0].startToEnd = 0;
        state.devices.at("Group").scenes[0].effectSpeed = 2;
        plan = ShowPlan::Make(m, devices, state, m.defaults, true);
        QCOMPARE(plan.controllers[0].mode.index, dram.FindMode("Rainbow"));
        QCOMPARE(plan.controllers[0].mode.settings.speed, 4u);
        QCOMPARE(plan.controllers[0].mode.settings.direction, 0u);
        QCOMPARE(plan.controllers[1].way, Way::Frames);
        QCOMPARE(plan.FramesPerSecond({}, 30), 30);
        // Only part of the circle: the engine's.
        state.devices.at("Group").scenes[0].colorType = "Gradient";
        state.devices.at("Group").scenes[0].cycleRange = 0.25f;
        QCOMPARE(ShowPlan::Make(m, devices, state, m.defaults, true).controllers[0].way, Way::Frames);

        // Switched off: the module's Off mode, the board without one dark frames.
        state.devices.at("Group").enabled = false;
        plan = ShowPlan::Make(m, devices, state, m.defaults, true);
        QCOMPARE(plan.controllers[0].mode.index, dram.FindMode("Off"));
        QCOMPARE(plan.controllers[1].way, Way::Frames);
        QCOMPARE(board.FindMode("Off"), -1);
    }

    // A device without Direct mode runs its own mode where one fits, else
    // shows the LEDs' colours in Static, else is left as it is.
    void devicesWithoutDirect()
    {
        OpenRgb::Device dram = ModesDram();
        dram.modes.erase(dram.modes.begin()); // no Direct
        OpenRgb::Device bare = Dram("BARE", "", 1);
        bare.modes = {SpeedMode("Chase", 7, 0, 0, 3)};
        const std::vector<OpenRgb::Device> devices = {dram, bare};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Strobing, 0xff);
        ShowPlan plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        QCOMPARE(plan.controllers[0].mode.settings.name, std::string("Flashing"));
        QCOMPARE(plan.controllers[1].way, Way::Leave);
        state.devices.at("Group").scenes[0].mode = EffectSettings::Comet;
        plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        QCOMPARE(plan.controllers[0].mode.settings.name, std::string("Static"));
        QCOMPARE(plan.controllers[0].colors, std::vector<OpenRgb::Color>(2, Rgb(0xff)));
        QCOMPARE(plan.FramesPerSecond({}, 30), 0);
    }

    // A state that is the defaults gives back what each device showed when
    // first met: the mode it ran with its settings, or its LEDs' colours.
    void defaultsGiveBackWhatWasFirstMet()
    {
        std::vector<OpenRgb::Device> devices = {ModesDram(), ModesBoard()};
        devices[0].activeMode = devices[0].FindMode("Rainbow");
        devices[0].modes[size_t(devices[0].activeMode)].speed = 1;
        devices[1].colors = {{1, 2, 3}, {4, 5, 6}};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        // Later the devices show something else; the kept defaults and notes stay.
        std::vector<OpenRgb::Device> now = devices;
        now[0].activeMode = 0;
        ShowPlan plan = ShowPlan::Make(m, now, m.defaults, m.defaults, false);
        QCOMPARE(plan.controllers[0].way, Way::Mode);
        QVERIFY(HardwareMode::Same(plan.controllers[0].mode, devices[0].activeMode,
                                   devices[0].modes[size_t(devices[0].activeMode)]));
        QCOMPARE(plan.controllers[1].way, Way::Still);
        QCOMPARE(plan.controllers[1].colors, (std::vector<OpenRgb::Color>{{1, 2, 3}, {4, 5, 6}}));
        QCOMPARE(plan.FramesPerSecond({}, 30), 0);
        // Any change, and the state is shown as it is.
        RigState state = m.defaults;
        state.devices.at("Group").scenes[0].leds.begin()->second.color = 7;
        QCOMPARE(ShowPlan::Make(m, now, state, m.defaults, false).controllers[0].way, Way::Frames);
    }

    // A controller the state has no LEDs for yet is left alone, and the
    // effect runs over the others.
    void ledsWaitForTheirLayout()
    {
        const std::vector<OpenRgb::Device> devices = {Dram("A", "", 2), Dram("B", "", 3)};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Wave, 0xff);
        state.devices.at("Group").scenes[0].leds.erase("B.0.2");
        const ShowPlan plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        QCOMPARE(plan.controllers[0].way, Way::Frames);
        QCOMPARE(plan.controllers[1].way, Way::Leave);
        QCOMPARE(plan.units[0].settings.leds.size(), size_t(2));
        QCOMPARE(ShowPlan::Make(m, devices, RigState(), m.defaults, false).units.size(), size_t(0));
    }
};

QTEST_GUILESS_MAIN(ShowPlanTest)
#include "ShowPlanTest.moc"
