// What the service makes of an OpenRGB server's controllers: the group and the
// other devices, LED keys that stay put and stay 7-bit, and the defaults and
// notes that let DEFAULT give back what the devices first showed.
#include "simulator/openrgb-rig/HardwareMode.h"
#include "simulator/openrgb-rig/OpenRgbMapping.h"
#include "simulator/openrgb-rig/OpenRgbRig.h"
#include "tests/openrgbrig/DeviceFixtures.h"

#include <QTest>

#include <set>

namespace {

using namespace DeviceFixtures;
using OpenRgb::DeviceType;

std::vector<std::string> Keys(const RigLayout::Device& device)
{
    std::vector<std::string> keys;
    for (const RigLayout::Led& led : device.leds)
        keys.push_back(led.key);
    return keys;
}

std::string Places(const RigLayout::Device& device)
{
    std::string text;
    for (const RigLayout::Led& led : device.leds)
        text += led.location + ":" + led.locationName + " ";
    return text;
}

} // namespace

class OpenRgbMappingTest : public QObject
{
    Q_OBJECT

private slots:
    void devicesBecomeTheGroupAndThePeripherals()
    {
        OpenRgb::Device board = Board("MB-1", {{"Mainboard", 2}, {"ARGB Header 1", 2}});
        board.leds[0].name = "Back I/O LED";
        const OpenRgb::Device keyboard = Plain(DeviceType::Keyboard, "KB-1", 2);
        OpenRgb::Device secondKeyboard = Plain(DeviceType::Keyboard, "KB-2", 1);
        const std::vector<OpenRgb::Device> devices = {
            board, Plain(DeviceType::Cooler, "FAN", 4), Dram("A1", "I2C: bus 1, address 0x71", 2), keyboard,
            Dram("", "I2C: bus 1, address 0x73", 1), Plain(DeviceType::Dram, "EMPTY", 0), secondKeyboard,
            Plain(DeviceType::Gpu, "GPU", 1)};
        const OpenRgbMapping m = OpenRgbMapping::FromDevices(devices);

        std::vector<std::string> order;
        for (const RigLayout::Device& d : m.layout.Devices())
            order.push_back(d.key);
        QCOMPARE(order, (std::vector<std::string>{"Group", "Mainboard", "Vga", "Keyboard"}));
        const RigLayout::Device& group = m.layout.Devices()[0];
        // Modules first, each LED its own entry; the board after them, named
        // and placed after its zones; the cooler and the empty module left alone.
        QCOMPARE(Keys(group), (std::vector<std::string>{"A1.0.0", "A1.0.1", "I2C_bus_1_address_0x73.0.0", "MB-1.0.0",
                                                         "MB-1.0.1", "MB-1.1.0", "MB-1.1.1"}));
        QCOMPARE(Places(group), std::string("1004:PellixDram 1004:PellixDram 1004:PellixDram 5:Back I/O 13:Board "
                                            "6:Header 1 6:Header 2 "));
        QCOMPARE(Keys(m.layout.Devices()[1]),
                 (std::vector<std::string>{"MB-1.0.0", "MB-1.0.1", "MB-1.1.0", "MB-1.1.1"}));
        // Two keyboards share the one device, one entry per zone.
        QCOMPARE(Keys(m.layout.Devices()[3]), (std::vector<std::string>{"KB-1.0", "KB-2.0"}));
        QCOMPARE(Places(m.layout.Devices()[2]), std::string("1001:VGA "));
        for (const RigLayout::Device& d : m.layout.Devices()) {
            QCOMPARE(d.modes.size(), RigLayout::PanelEffects().size());
            QVERIFY(d.HasMode(19) && d.HasMode(101));
        }
        QCOMPARE(m.controllers.size(), size_t(6));
        QCOMPARE(m.controllers[0].index, size_t(2)); // the first module, by its place in the server's list
        QCOMPARE(m.controllers[0].deviceKey, std::string("Group"));
    }

    // The same controllers give the same keys in any order and with any
    // colours; keys are 7-bit, bounded and apart even where names are not.
    void keysStayPutAndApart()
    {
        const std::string longSerial(100, 'S');
        std::vector<OpenRgb::Device> devices = {Dram(longSerial + "1", "", 1), Dram(longSerial + "2", "", 1),
                                                Dram("Модуль №1 \"<&>\"", "", 1), Dram("TWIN", "", 1),
                                                Dram("TWIN", "", 1)};
        const OpenRgbMapping first = OpenRgbMapping::FromDevices(devices);
        std::reverse(devices.begin(), devices.end() - 2);
        devices[0].colors[0] = {1, 2, 3};
        const OpenRgbMapping again = OpenRgbMapping::FromDevices(devices);
        const std::vector<std::string> firstKeys = Keys(first.layout.Devices()[0]);
        const std::set<std::string> a(firstKeys.begin(), firstKeys.end());
        const std::vector<std::string> againKeys = Keys(again.layout.Devices()[0]);
        QCOMPARE(std::set<std::string>(againKeys.begin(), againKeys.end()), a);
        QCOMPARE(a.size(), size_t(5));
        for (const std::string& key : a) {
            QVERIFY2(key.size() <= OpenRgbMapping::MaxKeyBytes, key.c_str());
            for (const unsigned char c : key)
                QVERIFY2(std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~', key.c_str());
        }
        QVERIFY(a.count("TWIN.0.0") && a.count("TWIN~2.0.0"));
        QCOMPARE(OpenRgbMapping::ControllerKey(Dram("", "", 1, "Name only")), std::string("Name_only"));
    }

    // The defaults are what the devices show: their colours, and the effect
    // their modes show where they agree; each mode is noted so that it can be
    // set again as it was.
    void defaultsAreWhatTheDevicesShow()
    {
        OpenRgb::Device module = Dram("A1", "", 2);
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
        QCOMPARE(m.defaults.devices.at("Group").scenes[0].mode, 2);
        QCOMPARE(m.defaults.devices.at("Group").scenes[0].effectSpeed, 0);
        QCOMPARE(m.defaults.devices.at("Mainboard"), m.defaults.devices.at("Group"));

        const std::string note = m.defaults.notes.at("MB-M");
        const std::optional<HardwareMode::Noted> back = HardwareMode::FromNote(board, note);
        QVERIFY2(back, note.c_str());
        QVERIFY(HardwareMode::Same(back->mode, board.activeMode, board.modes[size_t(board.activeMode)]));
        QCOMPARE(back->leds, board.colors);
        // A note that does not fit the device is not taken.
        OpenRgb::Device other = board;
        other.modes[size_t(board.activeMode)].value = 99;
        for (const std::string& damaged :
             {note.substr(0, note.size() - 3), note + ";extra=1", std::string("mode=Breathing"),
              std::string(note).replace(note.find("speed=3"), 7, "speed=9")})
            QVERIFY2(!HardwareMode::FromNote(board, damaged), damaged.c_str());
        QVERIFY(!HardwareMode::FromNote(other, note));
    }

    void serverAddresses()
    {
        OpenRgbRig::Options options;
        QString error;
        QVERIFY(OpenRgbRig::ParseServer(QStringLiteral("lights.local:6800"), options, error));
        QCOMPARE(options.host, std::string("lights.local"));
        QCOMPARE(options.port, uint16_t(6800));
        QVERIFY(OpenRgbRig::ParseServer(QStringLiteral("[::1]:6742"), options, error));
        QCOMPARE(options.host, std::string("::1"));
        for (const char* wrong : {"6742", "host:", ":6742", "host:0", "host:65536", "host:67x", "::1:6742", "a b:1"})
            QVERIFY2(!OpenRgbRig::ParseServer(QLatin1String(wrong), options, error), wrong);
        QVERIFY(error.contains(QLatin1String("HOST:PORT")));
    }
};

QTEST_GUILESS_MAIN(OpenRgbMappingTest)
#include "OpenRgbMappingTest.moc"
