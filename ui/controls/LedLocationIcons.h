#pragma once

#include <string_view>

// The icon an LED button shows for the LED's location code. The images lie
// under ":/Lumet/Resources/color_area/icon/" as the name followed by "_n.png"
// (normal), "_o.png" (hover), "_d.png" (checked) and "_un.png" (disabled).
namespace LedLocationIcons {

struct Entry
{
    std::string_view location;
    std::string_view icon;
};

inline constexpr Entry Table[] = {
    {"0", "cpu"},         {"1", "center"},    {"2", "center"},   {"3", "pch"},        {"4", "audio"},
    {"5", "back_io"},     {"6", "led_strip"}, {"7", "led_strip"}, {"8", "edge1"},     {"9", "edge2"},
    {"10", "memory"},     {"11", "pcie"},     {"12", "led"},     {"13", "pcb"},       {"14", "dimm.2"},
    {"15", "light_bar"},  {"1001", "vga"},    {"1002", "keyboard"}, {"1003", "mouse"}, {"1004", "dram"},
    {"1005", "headphone"}, {"1006", "mic"},
};

// Every location not in the table.
inline constexpr std::string_view Fallback = "header";

// Exact match of the location text; anything else gives the fallback.
inline std::string_view IconFor(std::string_view location)
{
    for (const Entry& e : Table) {
        if (e.location == location)
            return e.icon;
    }
    return Fallback;
}

} // namespace LedLocationIcons
