// What the service makes of an OpenRGB server's controllers (devices, keys,
// defaults) and how it shows a state on them: frames through Direct, the
// devices' own modes where they fit, or nothing yet.
#include "simulator/openrgb-rig/HardwareMode.h"
#include "simulator/openrgb-rig/OpenRgbMapping.h"
#include "simulator/openrgb-rig/OpenRgbRig.h"
#include "simulator/openrgb-rig/ShowPlan.h"

#include <QTest>

#include <set>

namespace {

using OpenRgb::DeviceType;
using Way = ShowPlan::Way;
using Zones = std::vector<std::pair<std::string, uint32_t>>;

// A mode as a server declares it, at the middle of its speed range.
OpenRgb::Mode Mode(const std::string& name, int32_t value, uint32_t flags, uint32_t slowest = 0, uint32_t fastest = 0)
{
    OpenRgb::Mode m;
    m.name = name;
    m.value = value;
    m.flags = flags | (slowest != fastest ? OpenRgb::HasSpeed : 0u);
    m.speedMin = slowest;
    m.speedMax = fastest;
    m.speed = (slowest + fastest) / 2;
    m.colorMode = (flags & OpenRgb::HasPerLedColor)         ? OpenRgb::ColorMode::PerLed
                  : (flags & OpenRgb::HasModeSpecificColor) ? OpenRgb::ColorMode::ModeSpecific
                                                            : OpenRgb::ColorMode::None;
    return m;
}

// A controller in Direct mode with zones of these names and sizes, all black.
OpenRgb::Device Controller(DeviceType type, const std::string& serial, const Zones& zones,
                           const std::string& location = "", const std::string& name = "Test controller")
{
    OpenRgb::Device d;
    d.type = type;
    d.name = name;
    d.serial = serial;
    d.location = location;
    d.modes = {Mode("Direct", 0, OpenRgb::HasPerLedColor)};
    for (const auto& [zoneName, count] : zones) {
        OpenRgb::Zone z;
        z.name = zoneName;
        z.type = count == 1 ? OpenRgb::ZoneType::Single : OpenRgb::ZoneType::Linear;
        z.ledsMin = z.ledsMax = z.ledsCount = count;
        d.zones.push_back(z);
        for (uint32_t i = 0; i < count; ++i)
            d.leds.push_back({zoneName + " LED " + std::to_string(i), 0});
    }
    d.colors.resize(d.leds.size());
    return d;
}

OpenRgb::Device Dram(const std::string& serial, uint32_t leds, const std::string& location = "")
{
    return Controller(DeviceType::Dram, serial, {{"DRAM", leds}}, location);
}

// A memory module with the hardware modes real ones report; its speed
// ranges run backwards (4 slowest, 0 fastest).
OpenRgb::Device ModesDram()
{
    OpenRgb::Device d = Dram("DRAM-M", 2);
    const uint32_t perLed = OpenRgb::HasPerLedColor;
    d.modes.insert(d.modes.end(), {Mode("Off", 0, 0), Mode("Static", 1, perLed), Mode("Breathing", 2, perLed, 4, 0),
                                   Mode("Flashing", 3, perLed, 4, 0), Mode("Spectrum Cycle", 4, 0, 4, 0),
                                   Mode("Rainbow", 5, OpenRgb::HasDirectionLeftRight, 4, 0)});
    return d;
}

// A main board whose Static and Breathing (speeds 1..5) take colours of their own.
OpenRgb::Device ModesBoard()
{
    OpenRgb::Device d = Controller(DeviceType::Motherboard, "MB-M", {{"Mainboard", 2}});
    OpenRgb::Mode still = Mode("Static", 1, OpenRgb::HasModeSpecificColor | OpenRgb::HasBrightness);
    still.colorsMin = still.colorsMax = 1;
    still.colors = {{255, 0, 0}};
    still.brightnessMax = 100;
    OpenRgb::Mode breathing = Mode("Breathing", 2, OpenRgb::HasModeSpecificColor, 1, 5);
    breathing.colorsMin = 1;
    breathing.colorsMax = 2;
    breathing.colors = {{0, 0, 255}, {0, 255, 0}};
    d.modes.insert(d.modes.end(), {still, breathing});
    return d;
}

std::string Keys(const RigLayout::Device& device, bool places = false)
{
    std::string text;
    for (const RigLayout::Led& led : device.leds)
        text += (places ? led.location + ":" + led.locationName : led.key) + " ";
    return text;
}

// The devices' defaults with the group's effect and every LED's colour and speed set.
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

class OpenRgbMappingTest : public QObject
{
    Q_OBJECT

private slots:
    void devicesBecomeTheGroupAndThePeripherals()
    {
        OpenRgb::Device board = Controller(DeviceType::Motherboard, "MB-1", {{"Mainboard", 2}, {"ARGB Header 1", 2}});
        board.leds[0].name = "Back I/O LED";
        const std::vector<OpenRgb::Device> devices = {
            board, Controller(DeviceType::Cooler, "FAN", {{"Zone", 4}}), Dram("A1", 2, "I2C: bus 1, address 0x71"),
            Controller(DeviceType::Keyboard, "KB-1", {{"Zone", 2}, {"Logo", 1}}), Dram("", 1, "I2C: bus 1, address 0x73"),
            Controller(DeviceType::Dram, "EMPTY", {}), Controller(DeviceType::Keyboard, "KB-2", {{"Zone", 1}}),
            Controller(DeviceType::Gpu, "GPU", {{"Zone", 1}})};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        std::string order;
        for (const RigLayout::Device& d : m.layout.Devices())
            order += d.key + " ";
        QCOMPARE(order, std::string("Group Mainboard Vga Keyboard "));
        // Modules first, each LED its own entry; the board after them, named
        // and placed after its zones; the cooler and the empty module left
        // alone; two keyboards share the one device, one entry per zone.
        const std::vector<RigLayout::Device>& shown = m.layout.Devices();
        QCOMPARE(Keys(shown[0]), std::string("A1.0.0 A1.0.1 I2C_bus_1_address_0x73.0.0 MB-1.0.0 MB-1.0.1 MB-1.1.0 "
                                             "MB-1.1.1 "));
        QCOMPARE(Keys(shown[0], true), std::string("1004:PellixDram 1004:PellixDram 1004:PellixDram 5:Back I/O "
                                                   "13:Board 6:Header 1 6:Header 2 "));
        QCOMPARE(Keys(shown[1]), std::string("MB-1.0.0 MB-1.0.1 MB-1.1.0 MB-1.1.1 "));
        QCOMPARE(Keys(shown[2], true), std::string("1001:VGA "));
        QCOMPARE(Keys(shown[3]), std::string("KB-1.0 KB-1.1 KB-2.0 "));
        // A zone entry takes its type from its own zone: the one-LED logo is RGB.
        std::string types;
        for (const RigLayout::Led& led : shown[3].leds)
            types += led.type + " ";
        QCOMPARE(types, std::string("ARGB RGB RGB "));
        // Controllers keep their places in the server's list.
        QCOMPARE(m.controllers.size(), size_t(6));
        QVERIFY(m.controllers[0].index == 2 && m.controllers[0].deviceKey == "Group");
    }

    // The same controllers give the same keys in any order and with any
    // colours; keys are 7-bit, bounded and apart even where names are not.
    void keysStayPutAndApart()
    {
        auto keysOf = [](const std::vector<OpenRgb::Device>& devices) {
            const QList<QByteArray> keys =
                QByteArray::fromStdString(Keys(OpenRgbMapping::FromDevices(devices).layout.Devices()[0])).split(' ');
            return std::set<QByteArray>(keys.begin(), keys.end() - 1); // after the last space: nothing
        };
        const std::string longSerial(100, 'S');
        std::vector<OpenRgb::Device> devices = {Dram(longSerial + "1", 1), Dram(longSerial + "2", 1),
                                                Dram("Модуль №1 \"<&>\"", 1), Dram("TWIN", 1), Dram("TWIN", 1)};
        const std::set<QByteArray> keys = keysOf(devices);
        std::reverse(devices.begin(), devices.end() - 2);
        devices[0].colors[0] = {1, 2, 3};
        QVERIFY(keysOf(devices) == keys);
        QVERIFY(keys.size() == 5 && keys.count("TWIN.0.0") && keys.count("TWIN~2.0.0"));
        for (const QByteArray& key : keys) {
            QVERIFY2(size_t(key.size()) <= OpenRgbMapping::MaxKeyBytes, key.constData());
            for (const char c : key)
                QVERIFY2(std::isalnum(uchar(c)) || c == '-' || c == '_' || c == '.' || c == '~', key.constData());
        }
        QCOMPARE(OpenRgbMapping::ControllerKey(Controller(DeviceType::Dram, "", {}, "", "Name only")),
                 std::string("Name_only"));
    }

    // The defaults are what the devices show: their colours, and the effect
    // their modes show where they agree; each mode is noted so that it can be
    // set again as it was, and a note that does not fit is not taken.
    void defaultsAreWhatTheDevicesShow()
    {
        OpenRgb::Device module = Dram("A1", 2);
        module.colors = {{255, 0, 0}, {0, 0, 128}};
        OpenRgb::Device board = ModesBoard();
        board.activeMode = board.FindMode("Breathing");
        board.modes[size_t(board.activeMode)].speed = 5;
        OpenRgbMapping m = OpenRgbMapping::FromDevices({module, board});
        const RigState::Scene& group = m.defaults.devices.at("Group").scenes[0];
        QCOMPARE(group.mode, 1); // the module's Direct and the board's Breathing disagree
        QCOMPARE(*group.leds.at("A1.0.0").color, 255u);
        QCOMPARE(*group.leds.at("A1.0.1").color, 128u * 65536u);
        QCOMPARE(*group.leds.at("A1.0.1").hue, 2.0f / 3.0f);
        QCOMPARE(*group.leds.at("A1.0.1").lightness, 64.0f / 255.0f);
        // The board's LEDs show its mode's first colour, at the fastest speed.
        QCOMPARE(*group.leds.at("MB-M.0.0").color, 255u * 65536u);
        QCOMPARE(*group.leds.at("MB-M.0.0").speed, -2);
        QCOMPARE(group.pathOrder.at("MB-M.0.0"), 2);

        board.modes[size_t(board.activeMode)].speed = 3;
        m = OpenRgbMapping::FromDevices({board});
        QVERIFY(m.defaults.devices.at("Group").scenes[0].mode == 2 && m.defaults.devices.at("Group").scenes[0].effectSpeed == 0);
        QCOMPARE(m.defaults.devices.at("Mainboard"), m.defaults.devices.at("Group"));
        const std::string note = m.defaults.notes.at("MB-M");
        const std::optional<HardwareMode::Noted> back = HardwareMode::FromNote(board, note);
        QVERIFY2(back, note.c_str());
        QVERIFY(HardwareMode::Same(back->mode, board.activeMode, board.modes[size_t(board.activeMode)]));
        QCOMPARE(back->leds, board.colors);
        OpenRgb::Device other = board;
        other.modes[size_t(board.activeMode)].value = 99;
        QVERIFY(!HardwareMode::FromNote(other, note));
        // A mode name longer than a note keeps is still found by what it keeps.
        other = board;
        other.modes[size_t(board.activeMode)].name = std::string(80, 'B');
        QVERIFY(HardwareMode::FromNote(other, HardwareMode::Note(other)));
        for (const std::string& damaged :
             {note.substr(0, note.size() - 3), note + ";extra=1", std::string("mode=Breathing"),
              std::string(note).replace(note.find("speed=3"), 7, "speed=9")})
            QVERIFY2(!HardwareMode::FromNote(board, damaged), damaged.c_str());
    }

    void serverAddresses()
    {
        OpenRgbRig::Options options;
        QString error;
        QVERIFY(OpenRgbRig::ParseServer(QStringLiteral("lights.local:6800"), options, error));
        QVERIFY(options.host == "lights.local" && options.port == 6800);
        QVERIFY(OpenRgbRig::ParseServer(QStringLiteral("[::1]:6742"), options, error) && options.host == "::1");
        for (const char* wrong : {"6742", "host:", ":6742", "host:0", "host:65536", "host:67x", "::1:6742", "a b:1"})
            QVERIFY2(!OpenRgbRig::ParseServer(QLatin1String(wrong), options, error), wrong);
        QVERIFY(error.contains(QLatin1String("HOST:PORT")));
    }

    // Devices with a Direct mode show the engine's frames: as often as the
    // effect needs them, or once for an effect that stands still; in the
    // path order of the state.
    void framesThroughDirect()
    {
        const std::vector<OpenRgb::Device> devices = {Dram("A", 3), Controller(DeviceType::Motherboard, "B", {{"M", 2}}),
                                                      ModesDram()};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Breathing, 255);
        RigState::Device& group = state.devices.at("Group");
        auto plan = [&] { return ShowPlan::Make(m, devices, state, m.defaults, false); };
        QVERIFY(plan().units.size() == 1 && plan().units[0].settings.leds.size() == 7);
        for (const ShowPlan::ControllerShow& c : plan().controllers)
            QCOMPARE(c.way, Way::Frames);
        EffectEngine::Inputs inputs;
        QCOMPARE(plan().FramesPerSecond(inputs, 45), 45);
        group.scenes[0].mode = EffectSettings::Static;
        QCOMPARE(plan().FramesPerSecond(inputs, 45), 0);
        group.scenes[0].mode = EffectSettings::Comet;
        group.enabled = false;
        QCOMPARE(plan().FramesPerSecond(inputs, 45), 0);
        // A steady temperature colour is looked at once a second while a
        // sensor reads; without one the effect breathes.
        group.enabled = true;
        group.scenes[0].mode = EffectSettings::Temperature;
        group.scenes[0].effectSpeed = 2;
        QCOMPARE(plan().FramesPerSecond(inputs, 30), 30);
        inputs.cpuCelsius = 55.0f;
        QCOMPARE(plan().FramesPerSecond(inputs, 30), 1);

        const int count = int(group.scenes[0].pathOrder.size());
        for (auto& [key, position] : group.scenes[0].pathOrder)
            position = count - 1 - position;
        using Leds = std::vector<std::pair<size_t, size_t>>;
        QCOMPARE(plan().units[0].places.front(), (Leds{{2, 1}}));
        QCOMPARE(plan().units[0].places.back(), (Leds{{0, 0}}));
    }

    // With hardware modes chosen, a device runs the effect itself where a
    // mode of its own shows it exactly enough: the panel's speed spread over
    // ranges that run either way, the colours per LED or as the mode's own.
    void hardwareModesWhereTheyFit()
    {
        const std::vector<OpenRgb::Device> devices = {ModesDram(), ModesBoard()};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Breathing, 0xff00, -2);
        RigState::Scene& scene = state.devices.at("Group").scenes[0];
        auto plan = [&](bool preferHardware = true) { return ShowPlan::Make(m, devices, state, m.defaults, preferHardware); };
        ShowPlan::ControllerShow dram = plan().controllers[0], board = plan().controllers[1];
        QVERIFY(dram.way == Way::Mode && dram.mode.index == devices[0].FindMode("Breathing"));
        QCOMPARE(dram.mode.settings.speed, 0u); // fastest of 4..0
        QCOMPARE(dram.colors, std::vector<OpenRgb::Color>(2, Rgb(0xff00)));
        QVERIFY(board.way == Way::Mode && board.colors.empty());
        QCOMPARE(board.mode.settings.speed, 5u); // fastest of 1..5
        QCOMPARE(board.mode.settings.colors, std::vector<OpenRgb::Color>{Rgb(0xff00)});
        QCOMPARE(plan().FramesPerSecond({}, 30), 0);
        for (auto& [key, led] : scene.leds)
            led.speed = 1;
        QVERIFY(plan().controllers[0].mode.settings.speed == 3 && plan().controllers[1].mode.settings.speed == 2);
        QCOMPARE(plan(false).controllers[0].way, Way::Frames);

        // The board's colour of its own cannot show two colours per LED, nor
        // the board a rainbow at all: frames there, the module's mode here,
        // running the group's way.
        scene.leds.at("MB-M.0.1").color = 0xff;
        QCOMPARE(plan().controllers[1].way, Way::Frames);
        scene.mode = EffectSettings::Rainbow;
        scene.startToEnd = 0;
        scene.effectSpeed = 2;
        dram = plan().controllers[0];
        QVERIFY(dram.mode.index == devices[0].FindMode("Rainbow") && dram.mode.settings.speed == 4
                && dram.mode.settings.direction == 0);
        QCOMPARE(plan().controllers[1].way, Way::Frames);
        QCOMPARE(plan().FramesPerSecond({}, 30), 30);
        // Only part of the circle: the engine's.
        scene.colorType = "Gradient";
        scene.cycleRange = 0.25f;
        QCOMPARE(plan().controllers[0].way, Way::Frames);
        // Switched off: the module's Off mode, the board without one dark frames.
        state.devices.at("Group").enabled = false;
        QCOMPARE(plan().controllers[0].mode.index, devices[0].FindMode("Off"));
        QCOMPARE(plan().controllers[1].way, Way::Frames);
    }

    // A device without Direct mode runs its own mode where one fits, else
    // shows the LEDs' colours in Static, else is left as it is.
    void devicesWithoutDirect()
    {
        OpenRgb::Device dram = ModesDram();
        dram.modes.erase(dram.modes.begin());
        OpenRgb::Device bare = Dram("BARE", 1);
        bare.modes = {Mode("Chase", 7, 0, 0, 3)};
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
    // first met (the mode it ran with its settings, or its LEDs' colours),
    // even when the devices show something else now; any change, and the
    // state is shown as it is.
    void defaultsGiveBackWhatWasFirstMet()
    {
        std::vector<OpenRgb::Device> devices = {ModesDram(), ModesBoard()};
        devices[0].activeMode = devices[0].FindMode("Rainbow");
        devices[0].modes[size_t(devices[0].activeMode)].speed = 1;
        devices[1].colors = {{1, 2, 3}, {4, 5, 6}};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        std::vector<OpenRgb::Device> now = devices;
        now[0].activeMode = 0;
        const ShowPlan plan = ShowPlan::Make(m, now, m.defaults, m.defaults, false);
        QCOMPARE(plan.controllers[0].way, Way::Mode);
        QVERIFY(HardwareMode::Same(plan.controllers[0].mode, devices[0].activeMode,
                                   devices[0].modes[size_t(devices[0].activeMode)]));
        QCOMPARE(plan.controllers[1].way, Way::Still);
        QCOMPARE(plan.controllers[1].colors, devices[1].colors);
        QCOMPARE(plan.FramesPerSecond({}, 30), 0);
        RigState state = m.defaults;
        state.devices.at("Group").scenes[0].leds.begin()->second.color = 7;
        QCOMPARE(ShowPlan::Make(m, now, state, m.defaults, false).controllers[0].way, Way::Frames);
    }

    // A controller the state has no LEDs for yet is left alone, and the
    // effect runs over the others.
    void ledsWaitForTheirLayout()
    {
        const std::vector<OpenRgb::Device> devices = {Dram("A", 2), Dram("B", 3)};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);
        RigState state = StateOf(m, EffectSettings::Wave, 0xff);
        state.devices.at("Group").scenes[0].leds.erase("B.0.2");
        const ShowPlan plan = ShowPlan::Make(m, devices, state, m.defaults, false);
        QVERIFY(plan.controllers[0].way == Way::Frames && plan.controllers[1].way == Way::Leave);
        QCOMPARE(plan.units[0].settings.leds.size(), size_t(2));
        QVERIFY(ShowPlan::Make(m, devices, RigState(), m.defaults, false).units.empty());
    }
};

QTEST_GUILESS_MAIN(OpenRgbMappingTest)
#include "OpenRgbMappingTest.moc"
