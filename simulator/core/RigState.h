#pragma once

#include <map>
#include <optional>
#include <string>

class RigLayout;

// The lighting in force on every device of a rig: whether it is switched on,
// and per scene (0 the running system, 1 every other power state) the effect,
// its effect-wide values and each LED's values. An empty LED value is one that
// does not apply and is reported as "na".
struct RigState
{
    static constexpr int SceneCount = 2;

    struct LedValues
    {
        std::optional<unsigned> color;
        std::optional<float> hue;
        std::optional<float> saturation;
        std::optional<float> lightness;
        std::optional<int> speed;
        std::optional<int> direction;

        bool operator==(const LedValues& o) const;
    };

    struct Scene
    {
        int mode = 1;
        int colorSynced = 0;
        std::string colorType = "Plain";
        float cycleStart = 0.0f;
        float cycleEnd = 1.0f;
        float cycleRange = 1.0f;
        int startToEnd = 1;
        int musicIndex = 0;
        int effectSpeed = 0;
        std::map<std::string, int> pathOrder;
        std::map<std::string, LedValues> leds;

        bool operator==(const Scene& o) const;
    };

    struct Device
    {
        bool enabled = true;
        Scene scenes[SceneCount];

        bool operator==(const Device& o) const;
    };

    std::map<std::string, Device> devices;

    // What the rig shows after a reset: every device on and static, the LEDs
    // spread round the colour circle, bright while the system runs and dimmed
    // in the other power states.
    static RigState Defaults(const RigLayout& layout);

    bool operator==(const RigState& o) const { return devices == o.devices; }
    bool operator!=(const RigState& o) const { return !(*this == o); }
};
