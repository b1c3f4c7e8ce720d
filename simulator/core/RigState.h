#pragma once

#include <map>
#include <optional>
#include <string>

// The lighting in force on every device of a rig: whether it is switched on,
// and per scene (0 the running system, 1 every other power state) the effect,
// its effect-wide values and each LED's values. An empty LED value is one that
// does not apply and is reported as "na". Devices and LEDs are found by key,
// so a state may hold some that the rig lacks at the moment.
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
    // What a rig that keeps its defaults notes of its hardware as first met,
    // beyond the LEDs' values (a device's own effect and its settings), by a
    // key of the rig's. Only defaults carry notes; they take no part in
    // comparing states.
    std::map<std::string, std::string> notes;

    bool operator==(const RigState& o) const { return devices == o.devices; }
    bool operator!=(const RigState& o) const { return !(*this == o); }
};
