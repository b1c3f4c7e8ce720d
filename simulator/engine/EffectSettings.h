#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the engine needs to know of one effect on one group of LEDs: the
// effect, its effect-wide values and each LED's values, in the order in which
// the effect runs along the group (the first LED is where comets and waves
// start). The service fills it from the state it keeps; a value the state
// marks as not applying stays empty and the engine gives it the meaning that
// each field names.
struct EffectSettings
{
    // Effect numbers as the panel and the documents name them.
    enum Mode : int {
        Static = 1,
        Breathing = 2,
        Strobing = 3,
        ColorCycle = 4,
        Rainbow = 5,
        Comet = 8,
        DoubleComet = 10,
        Wave = 11,
        ColorWave = 12,
        Ripple = 13,
        RandomStrobe = 17,
        Temperature = 18,
        Music = 19,
        Sleep = 101,
    };

    // How the rainbow, colour cycle and comet take their colours: Plain from
    // the LEDs (comet) or the whole colour circle (rainbow, colour cycle),
    // Gradient from the arc cycleStart .. cycleStart + cycleRange, Cycle the
    // whole circle.
    enum class ColorType { Plain, Gradient, Cycle };

    struct Led
    {
        // The LED's colour, red + 256 * green + 65536 * blue. Empty: taken
        // from hue, saturation and lightness; with no hue either, white, so
        // that an effect on an LED without a colour still shows.
        std::optional<std::uint32_t> color;
        // In 0..1, hue in turns. An empty saturation counts as 1, an empty
        // lightness as 0.5 (the pure hue).
        std::optional<float> hue;
        std::optional<float> saturation;
        std::optional<float> lightness;
        // -2 (fast) .. 2 (slow) as the panel's sliders give it; empty counts
        // as 0. Used by the effects whose view has no speed slider
        // (breathing, colour cycle, ripple); the others take effectSpeed.
        std::optional<int> speed;
        // A negative direction turns this LED's own motion round (colour
        // cycle, ripple); empty or positive runs forward.
        std::optional<int> direction;
    };

    int mode = Static;
    // The LED switch: off shows every LED dark whatever the effect.
    bool enabled = true;
    ColorType colorType = ColorType::Plain;
    // The chosen arc of the colour circle, in turns; its end is
    // cycleStart + cycleRange.
    float cycleStart = 0.0f;
    float cycleRange = 1.0f;
    // false: the effect runs from the last LED to the first, and colours turn
    // the other way round the circle.
    bool startToEnd = true;
    // The music style: 0 Normal, 1 Sleep, 2 Jazz, 3 Rock, 4 Romance, 5 Party,
    // 6 Hip Hop, 7 Funk; anything else counts as Normal.
    int musicIndex = 0;
    // -2 (fast) .. 2 (slow) for the effects whose view has a speed slider;
    // for the temperature effect 2 means a steady colour.
    int effectSpeed = 0;
    std::vector<Led> leds;

    // The colour type a document writes: "Gradient" and "Cycle" by name,
    // anything else Plain.
    static ColorType ColorTypeFromText(const std::string& text);
};
