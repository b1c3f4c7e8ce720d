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
