#include "simulator/openrgb/OpenRgbRecords.h"

#include <algorithm>
#include <cmath>

namespace OpenRgb {

uint32_t Mode::SpeedAt(double fraction) const
{
    if (!(fraction > 0.0)) // NaN too
        return speedMin;
    if (fraction >= 1.0)
        return speedMax;
    // The range may run either way: step from the slowest end towards the fastest.
    const double span = static_cast<double>(speedMax) - static_cast<double>(speedMin);
    return static_cast<uint32_t>(std::llround(static_cast<double>(speedMin) + span * fraction));
}

double Mode::SpeedFraction(uint32_t value) const
{
    if (speedMin == speedMax)
        return 0.0;
    const double span = static_cast<double>(speedMax) - static_cast<double>(speedMin);
    return std::clamp((static_cast<double>(value) - static_cast<double>(speedMin)) / span, 0.0, 1.0);
}

namespace {

// Whether value lies between two ends given in either order.
bool Between(uint32_t value, uint32_t a, uint32_t b)
{
    return value >= std::min(a, b) && value <= std::max(a, b);
}

std::string Range(uint32_t a, uint32_t b)
{
    return std::to_string(a) + ".." + std::to_string(b);
}

} // namespace

std::string Mode::Misfit(const Mode& settings) const
{
    if (settings.value != value)
        return "mode " + name + " is value " + std::to_string(value) + ", not " + std::to_string(settings.value);
    if (Has(HasSpeed) && !Between(settings.speed, speedMin, speedMax))
        return "speed " + std::to_string(settings.speed) + " is outside " + name + "'s " + Range(speedMin, speedMax);
    if (Has(HasBrightness) && !Between(settings.brightness, brightnessMin, brightnessMax))
        return "brightness " + std::to_string(settings.brightness) + " is outside " + name + "'s "
               + Range(brightnessMin, brightnessMax);
    if (settings.colorMode == ColorMode::ModeSpecific
        && (settings.colors.size() < colorsMin || settings.colors.size() > colorsMax))
        return std::to_string(settings.colors.size()) + " colours for " + name + ", which takes "
               + Range(colorsMin, colorsMax);
    return std::string();
}

const Mode* Device::ActiveMode() const
{
    if (activeMode < 0 || static_cast<size_t>(activeMode) >= modes.size())
        return nullptr;
    return &modes[static_cast<size_t>(activeMode)];
}

int Device::FindMode(const std::string& modeName) const
{
    for (size_t i = 0; i < modes.size(); ++i)
        if (modes[i].name == modeName)
            return static_cast<int>(i);
    return -1;
}

uint32_t Device::ZoneStart(size_t zone) const
{
    uint32_t start = 0;
    for (size_t i = 0; i < zone && i < zones.size(); ++i)
        start += zones[i].ledsCount;
    return start;
}

} // namespace OpenRgb
