#include "simulator/core/RigState.h"

#include "simulator/core/ColorMath.h"
#include "simulator/core/RigLayout.h"

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

RigState RigState::Defaults(const RigLayout& layout)
{
    static const float lightnessByScene[SceneCount] = {0.5f, 0.25f};
    RigState state;
    for (const RigLayout::Device& d : layout.Devices()) {
        Device& device = state.devices[d.key];
        for (int s = 0; s < SceneCount; ++s) {
            Scene& scene = device.scenes[s];
            const int count = static_cast<int>(d.leds.size());
            for (int i = 0; i < count; ++i) {
                const RigLayout::Led& led = d.leds[static_cast<size_t>(i)];
                LedValues values;
                values.hue = static_cast<float>(i) / static_cast<float>(count);
                values.saturation = 1.0f;
                values.lightness = lightnessByScene[s];
                values.color = ColorMath::PackedFromHsl(*values.hue, *values.saturation, *values.lightness);
                values.speed = 0;
                values.direction = 0;
                scene.leds[led.key] = values;
                scene.pathOrder[led.key] = i;
            }
        }
    }
    return state;
}
