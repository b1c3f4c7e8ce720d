#pragma once

#include "simulator/engine/EffectSettings.h"

#include <cstdint>
#include <optional>
#include <vector>

// The colour of every LED of a group as a pure function of an effect's
// settings, the time and the outside inputs (CPU temperature, sound level).
// Nothing is kept between frames: the same arguments always give the same
// frame, so the service can compute any frame on any thread.
class EffectEngine
{
public:
    struct Rgb
    {
        std::uint8_t r = 0;
        std::uint8_t g = 0;
        std::uint8_t b = 0;

        bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
        bool operator!=(const Rgb& o) const { return !(*this == o); }
    };

    struct Inputs
    {
        // Since the effect was put in force. Not a number or negative counts
        // as 0; the time wraps after about 31 years.
        double seconds = 0.0;
        // The CPU temperature in degrees Celsius; empty when no sensor reads.
        std::optional<float> cpuCelsius;
        // The sound level, 0 (silence) .. 1 (loud); empty when no sound input
        // could be opened.
        std::optional<float> soundLevel;
        // Picks the random strobe's LEDs: one seed and time give one frame.
        std::uint32_t seed = 0;
    };

    // How often an effect needs a new frame.
    enum class Pace {
        Still,         // one frame shows it until the settings change
        FollowsInputs, // it changes only with the outside inputs: look again now and then
        Animated,      // it moves: a frame at every tick of the frame clock
    };
    struct FramePlan
    {
        Pace pace = Pace::Still;
        // The time to the next frame; 0 for a still effect (no next frame).
        double intervalSeconds = 0.0;
    };

    // The temperature effect shows blue at CoolCelsius and below, red at
    // HotCelsius and above, and the hues between (cyan, green, yellow) in
    // between.
    static constexpr float CoolCelsius = 30.0f;
    static constexpr float HotCelsius = 80.0f;
    // How often an effect that follows the inputs looks at them again: the
    // temperature sensors change about once a second.
    static constexpr double InputIntervalSeconds = 1.0;
    static constexpr int MinFps = 1;
    static constexpr int MaxFps = 240;

    // The frame: one colour per LED of settings.leds, in the same order. The
    // vector is reused, so a caller that keeps it allocates once.
    static void Render(const EffectSettings& settings, const Inputs& inputs, std::vector<Rgb>& frame);
    static std::vector<Rgb> Frame(const EffectSettings& settings, const Inputs& inputs);

    // True when the effect never changes by itself: static, sleep, the LEDs
    // switched off, an effect the engine does not know (shown as static).
    static bool IsStill(const EffectSettings& settings);
    // When the next frame is due, for the given frame rate (limited to
    // MinFps .. MaxFps).
    static FramePlan Plan(const EffectSettings& settings, const Inputs& inputs, int fps);

    // One lap of the effect (a breath, a flash, a turn of the colour circle,
    // a comet's run along the group) at a speed of -2 (fast) .. 2 (slow);
    // speeds outside are taken as the nearest end. The fastest lap is a fifth
    // of the slowest. 0 for an effect that does not move by itself, and for
    // the temperature effect at speed 2, which it shows steady.
    static double PeriodSeconds(int mode, int speed);
};
