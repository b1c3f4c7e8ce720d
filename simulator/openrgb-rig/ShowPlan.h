#pragma once

#include "simulator/engine/EffectEngine.h"
#include "simulator/engine/EffectSettings.h"
#include "simulator/openrgb-rig/HardwareMode.h"
#include "simulator/openrgb-rig/OpenRgbMapping.h"

#include <string>
#include <utility>
#include <vector>

// How each controller shows a state, decided from the devices as read, the
// state and the defaults alone:
//
// - A device shows the engine's frames through its Direct mode. With
//   preferHardware, or where it has no Direct mode, it runs its own mode for
//   the effect where one matches exactly enough (HardwareMode::ForEffect);
//   failing both, its Static mode with the LEDs' colours, or nothing.
// - A device whose state is its defaults (after DEFAULT, or never changed)
//   is given back the mode it was first met in, with its settings (the note
//   kept with the defaults), and the LEDs' colours it showed.
// - Controllers whose LEDs the state does not know yet are left alone until
//   the service has taken their layout.
class ShowPlan
{
public:
    enum class Way {
        Leave,  // nothing is sent
        Frames, // the engine's frames of its unit, through Direct
        Still,  // fixed colours, through Direct
        Mode,   // a mode of its own, with fixed colours where it takes them per LED
    };

    struct ControllerShow
    {
        Way way = Way::Leave;
        HardwareMode::Choice mode;
        // One per LED of the controller: for Still, and Mode with ledColors.
        std::vector<OpenRgb::Color> colors;
    };

    // One device of the documents that the service shows ("Group", "Keyboard"...).
    struct Unit
    {
        std::string deviceKey;
        // The effect, its LEDs in path order (the state's path positions, then
        // the layout's order).
        EffectSettings settings;
        // For each LED of settings, the LEDs that show it (one, or a zone's):
        // the controller (its place in OpenRgbMapping::controllers) and the
        // LED's index in it.
        std::vector<std::vector<std::pair<size_t, size_t>>> places;
        // Some controller shows the unit's frames.
        bool framed = false;
    };

    std::vector<Unit> units;
    // One per controller of the mapping, in its order.
    std::vector<ControllerShow> controllers;

    // devices: the server's list as read; mapping was made from it.
    static ShowPlan Make(const OpenRgbMapping& mapping, const std::vector<OpenRgb::Device>& devices,
                         const RigState& state, const RigState& defaults, bool preferHardware);

    // How often frames must be made: the frame rate while a framed unit
    // moves, once a second while one only follows the outside inputs, 0
    // while every framed unit stands still (its one frame is sent when the
    // plan is made).
    int FramesPerSecond(const EffectEngine::Inputs& inputs, int fps) const;
};
