#pragma once

#include "simulator/openrgb/OpenRgbRecords.h"

#include <string>
#include <utility>
#include <vector>

// Controller descriptions as an OpenRGB server gives them, built in code.
namespace DeviceFixtures {

inline OpenRgb::Mode DirectMode()
{
    OpenRgb::Mode m;
    m.name = "Direct";
    m.flags = OpenRgb::HasPerLedColor;
    m.colorMode = OpenRgb::ColorMode::PerLed;
    return m;
}

inline OpenRgb::Mode SpeedMode(const std::string& name, int32_t value, uint32_t flags, uint32_t slowest,
                               uint32_t fastest)
{
    OpenRgb::Mode m;
    m.name = name;
    m.value = value;
    m.flags = flags | OpenRgb::HasSpeed;
    m.speedMin = slowest;
    m.speedMax = fastest;
    m.speed = (slowest + fastest) / 2;
    m.colorMode = (flags & OpenRgb::HasPerLedColor) ? OpenRgb::ColorMode::PerLed : OpenRgb::ColorMode::None;
    return m;
}

// One controller in Direct mode with zones of the given names and sizes, all black.
inline OpenRgb::Device Controller(OpenRgb::DeviceType type, const std::string& serial, const std::string& location,
                                  const std::vector<std::pair<std::string, uint32_t>>& zones,
                                  const std::string& name = "Test controller")
{
    OpenRgb::Device d;
    d.type = type;
    d.name = name;
    d.serial = serial;
    d.location = location;
    d.modes = {DirectMode()};
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

inline OpenRgb::Device Dram(const std::string& serial, const std::string& location, uint32_t leds,
                            const std::string& name = "Test DRAM")
{
    return Controller(OpenRgb::DeviceType::Dram, serial, location, {{"DRAM", leds}}, name);
}

inline OpenRgb::Device Board(const std::string& serial, const std::vector<std::pair<std::string, uint32_t>>& zones)
{
    return Controller(OpenRgb::DeviceType::Motherboard, serial, "HID: test", zones);
}

inline OpenRgb::Device Plain(OpenRgb::DeviceType type, const std::string& serial, uint32_t leds)
{
    return Controller(type, serial, "", leds ? std::vector<std::pair<std::string, uint32_t>>{{"Zone", leds}}
                                             : std::vector<std::pair<std::string, uint32_t>>{});
}

// A memory module with the hardware modes real ones report; its speed
// ranges run backwards (4 slowest, 0 fastest).
inline OpenRgb::Device ModesDram(uint32_t leds = 2)
{
    OpenRgb::Device d = Dram("DRAM-M", "", leds);
    OpenRgb::Mode off;
    off.name = "Off";
    OpenRgb::Mode still;
    still.name = "Static";
    still.value = 1;
    still.flags = OpenRgb::HasPerLedColor;
    still.colorMode = OpenRgb::ColorMode::PerLed;
    d.modes.push_back(off);
    d.modes.push_back(still);
    d.modes.push_back(SpeedMode("Breathing", 2, OpenRgb::HasPerLedColor, 4, 0));
    d.modes.push_back(SpeedMode("Flashing", 3, OpenRgb::HasPerLedColor, 4, 0));
    d.modes.push_back(SpeedMode("Spectrum Cycle", 4, 0, 4, 0));
    d.modes.push_back(SpeedMode("Rainbow", 5, OpenRgb::HasDirectionLeftRight, 4, 0));
    return d;
}

// A main board whose Static and Breathing take colours of their own.
inline OpenRgb::Device ModesBoard(uint32_t leds = 2)
{
    OpenRgb::Device d = Board("MB-M", {{"Mainboard", leds}});
    OpenRgb::Mode still;
    still.name = "Static";
    still.value = 1;
    still.flags = OpenRgb::HasModeSpecificColor | OpenRgb::HasBrightness;
    still.colorMode = OpenRgb::ColorMode::ModeSpecific;
    still.colorsMin = still.colorsMax = 1;
    still.colors = {{255, 0, 0}};
    still.brightnessMax = 100;
    OpenRgb::Mode breathing = SpeedMode("Breathing", 2, OpenRgb::HasModeSpecificColor, 1, 5);
    breathing.colorMode = OpenRgb::ColorMode::ModeSpecific;
    breathing.colorsMin = 1;
    breathing.colorsMax = 2;
    breathing.colors = {{0, 0, 255}, {0, 255, 0}};
    d.modes.push_back(still);
    d.modes.push_back(breathing);
    return d;
}

} // namespace DeviceFixtures
