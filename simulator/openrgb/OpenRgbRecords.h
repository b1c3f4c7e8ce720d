#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What an OpenRGB SDK server says about its devices, as plain records. Field
// names follow the server's own; counts and lengths were checked when the
// record was decoded, so the vectors are all there is.
namespace OpenRgb {

// The server's device types. Values outside this list are kept as they came.
enum class DeviceType : int32_t {
    Motherboard = 0,
    Dram = 1,
    Gpu = 2,
    Cooler = 3,
    LedStrip = 4,
    Keyboard = 5,
    Mouse = 6,
    MouseMat = 7,
    Headset = 8,
    HeadsetStand = 9,
    Gamepad = 10,
    Light = 11,
    Speaker = 12,
    Unknown = 21,
};

// Bits of Mode::flags.
enum ModeFlag : uint32_t {
    HasSpeed = 1u << 0,
    HasDirectionLeftRight = 1u << 1,
    HasDirectionUpDown = 1u << 2,
    HasDirectionHorizontalVertical = 1u << 3,
    HasBrightness = 1u << 4,
    HasPerLedColor = 1u << 5,
    HasModeSpecificColor = 1u << 6,
    HasRandomColor = 1u << 7,
    ManualSave = 1u << 8,
    AutomaticSave = 1u << 9,
};

enum class ColorMode : uint32_t { None = 0, PerLed = 1, ModeSpecific = 2, Random = 3 };

enum class ZoneType : int32_t { Single = 0, Linear = 1, Matrix = 2 };

// On the wire: red, green, blue and a zero byte.
struct Color
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const Color& o) const { return red == o.red && green == o.green && blue == o.blue; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

struct Mode
{
    std::string name;
    // The device's own number for the mode: sent back unchanged when the
    // mode is set.
    int32_t value = 0;
    uint32_t flags = 0;
    // speedMin is the slowest setting and speedMax the fastest, whichever of
    // them is the larger number.
    uint32_t speedMin = 0;
    uint32_t speedMax = 0;
    uint32_t brightnessMin = 0;
    uint32_t brightnessMax = 0;
    uint32_t colorsMin = 0;
    uint32_t colorsMax = 0;
    uint32_t speed = 0;
    uint32_t brightness = 0;
    uint32_t direction = 0;
    ColorMode colorMode = ColorMode::None;
    std::vector<Color> colors;

    bool Has(ModeFlag flag) const { return (flags & flag) != 0; }

    // The speed setting at fraction (0 slowest, 1 fastest, clamped) of the
    // mode's range, rounded to the nearest setting.
    uint32_t SpeedAt(double fraction) const;
    // Where speed lies in the range: 0 slowest, 1 fastest (0 for a range of
    // one setting).
    double SpeedFraction(uint32_t speed) const;
    // Why settings cannot be sent as this mode, or empty when they can: the
    // device's own value was changed, or a speed, brightness or number of
    // mode colours lies outside what this mode declares.
    std::string Misfit(const Mode& settings) const;
};

struct Segment
{
    std::string name;
    int32_t type = 0;
    uint32_t startIndex = 0;
    uint32_t ledsCount = 0;
};

// A zone's LEDs laid out in rows: map[row * width + column] is the index of
// an LED within the zone, or NoLed where the grid has a gap.
struct MatrixMap
{
    static constexpr uint32_t NoLed = 0xFFFFFFFFu;
    uint32_t height = 0;
    uint32_t width = 0;
    std::vector<uint32_t> map;
};

struct Zone
{
    std::string name;
    ZoneType type = ZoneType::Single;
    uint32_t ledsMin = 0;
    uint32_t ledsMax = 0;
    uint32_t ledsCount = 0;
    std::optional<MatrixMap> matrix;
    std::vector<Segment> segments; // protocol 4 on
    uint32_t flags = 0;            // protocol 5 on
};

struct Led
{
    std::string name;
    uint32_t value = 0;
};

struct Device
{
    DeviceType type = DeviceType::Unknown;
    std::string name;
    std::string vendor;
    std::string description;
    std::string version;
    std::string serial;
    std::string location;
    int32_t activeMode = 0;
    std::vector<Mode> modes;
    std::vector<Zone> zones;
    std::vector<Led> leds;
    // One per LED, in LED order.
    std::vector<Color> colors;
    std::vector<std::string> ledAltNames; // protocol 5 on
    uint32_t flags = 0;                   // protocol 5 on

    // The active mode, or null where the server names none of the modes.
    const Mode* ActiveMode() const;
    // Index of the first mode of that name, or -1.
    int FindMode(const std::string& modeName) const;
    // Index of the first LED of zone (zone < zones.size()).
    uint32_t ZoneStart(size_t zone) const;
};

} // namespace OpenRgb
