#pragma once

#include "simulator/engine/EffectEngine.h"
#include "simulator/engine/EffectSettings.h"
#include "simulator/openrgb/OpenRgbRecords.h"

#include <optional>
#include <string>
#include <vector>

// The modes a device runs by itself, and when one of them shows an effect of
// the panel exactly enough to stand in for the engine's frames:
//
//   Static          the LEDs' colours
//   Breathing       breathing, at the LEDs' speed
//   Flashing        strobing, at the effect's speed
//   Spectrum Cycle  colour cycle over the whole circle, every LED forward
//   Rainbow         rainbow over the whole circle, in its direction
//   Off             the LEDs switched off, and sleep
//
// Colours go per LED where the mode takes them so; a mode with colours of its
// own fits only when every LED has the same colour. The panel's speed (-2
// fast .. 2 slow) is spread over the mode's range, whichever way it runs.
class HardwareMode
{
public:
    // A mode to set, starting from the mode as read.
    struct Choice
    {
        int index = -1;
        OpenRgb::Mode settings;
        // The LEDs' colours go with it (a mode with per-LED colours).
        bool ledColors = false;
    };

    // Mode and zone names compare in any letter case.
    static std::string Lower(const std::string& text);
    static OpenRgb::Color ToColor(const EffectEngine::Rgb& rgb) { return OpenRgb::Color{rgb.r, rgb.g, rgb.b}; }

    // The first mode of that name in any letter case, or -1.
    static int Find(const OpenRgb::Device& device, const std::string& name);
    // The mode for colours set per LED by the client.
    static int Direct(const OpenRgb::Device& device) { return Find(device, "Direct"); }

    // The panel's effect a mode of that name shows (Direct and Static: 1,
    // Off: 101), or 0 for a mode the panel has no effect for.
    static int EffectOf(const std::string& modeName);

    // The panel's speed nearest to a mode's speed setting, and the setting
    // for a panel speed; 0 and the mode's own setting for a mode without speed.
    static int PanelSpeed(const OpenRgb::Mode& mode, uint32_t speed);
    static uint32_t ModeSpeed(const OpenRgb::Mode& mode, int panelSpeed);

    // The mode that shows own (the effect with the LEDs of this device, in its
    // LED order) exactly enough; colors are the LEDs' chosen colours.
    static std::optional<Choice> ForEffect(const OpenRgb::Device& device, const EffectSettings& own,
                                           const std::vector<EffectEngine::Rgb>& colors);
    // For a device without Direct mode and without a match: its Static mode
    // with the chosen colours (the first one where the mode has colours of
    // its own), the nearest it can show.
    static std::optional<Choice> Nearest(const OpenRgb::Device& device,
                                         const std::vector<EffectEngine::Rgb>& colors);

    // What a device showed, as noted.
    struct Noted
    {
        Choice mode;
        // One per LED; empty where the device had too many to note.
        std::vector<OpenRgb::Color> leds;
    };
    static constexpr size_t MaxNotedLeds = 400;

    // The active mode with its settings and the LEDs' colours as one line of
    // 7-bit text, to be set again with FromNote; empty when the device names
    // no active mode.
    static std::string Note(const OpenRgb::Device& device);
    // What a note names: the mode with the settings it noted, and the LEDs'
    // colours where they fit the device. Empty when the note is damaged or
    // names a mode the device lacks or settings it refuses.
    static std::optional<Noted> FromNote(const OpenRgb::Device& device, const std::string& note);

    // Whether a device showing mode index with these settings shows choice.
    static bool Same(const Choice& choice, int index, const OpenRgb::Mode& settings);
};
