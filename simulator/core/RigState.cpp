#include "simulator/core/RigState.h"

#include <tuple>

bool RigState::LedValues::operator==(const LedValues& o) const
{
    return std::tie(color, hue, saturation, lightness, speed, direction)
        == std::tie(o.color, o.hue, o.saturation, o.lightness, o.speed, o.direction);
}

bool RigState::Scene::operator==(const Scene& o) const
{
    return std::tie(mode, colorSynced, colorType, cycleStart, cycleEnd, cycleRange, startToEnd, musicIndex,
                    effectSpeed, pathOrder, leds)
        == std::tie(o.mode, o.colorSynced, o.colorType, o.cycleStart, o.cycleEnd, o.cycleRange, o.startToEnd,
                    o.musicIndex, o.effectSpeed, o.pathOrder, o.leds);
}

bool RigState::Device::operator==(const Device& o) const
{
    return enabled == o.enabled && scenes[0] == o.scenes[0] && scenes[1] == o.scenes[1];
}
