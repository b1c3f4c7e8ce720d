#include "simulator/virtual/VirtualRig.h"

#include "simulator/core/ColorMath.h"
#include "simulator/core/RigLayout.h"
#include "simulator/core/RigService.h"
#include "simulator/core/RigState.h"

RigLayout VirtualRig::Layout()
{
    using Led = RigLayout::Led;
    using Device = RigLayout::Device;
    const std::vector<Led> dimms = {
        {"DIMM_A1", "1004", "PellixDram", "ARGB"},
        {"DIMM_A2", "1004", "PellixDram", "ARGB"},
        {"DIMM_B1", "1004", "PellixDram", "ARGB"},
        {"DIMM_B2", "1004", "PellixDram", "ARGB"},
    };
    const std::vector<Led> board = {
        {"MB_IO", "5", "Back I/O", "RGB"},
        {"MB_PCH", "3", "Chipset", "RGB"},
        {"MB_AUDIO", "4", "Audio", "RGB"},
        {"MB_STRIP", "6", "LED Strip", "ARGB"},
    };
    Device group{"Group", dimms, RigLayout::PanelEffects()};
    group.leds.insert(group.leds.end(), board.begin(), board.end());
    return RigLayout({group,
                      Device{"Mainboard", board,
                             {{1, "Static"}, {2, "Breathing"}, {3, "Strobing"}, {4, "Color Cycle"}, {5, "Rainbow"},
                              {101, "Sleep"}}},
                      Device{"Keyboard",
                             {{"KB_ZONE1", "1002", "Keyboard", "RGB"}, {"KB_ZONE2", "1002", "Keyboard", "RGB"}},
                             {{1, "Static"}, {2, "Breathing"}, {5, "Rainbow"}}}});
}

RigState VirtualRig::Defaults(const RigLayout& layout)
{
    static const float lightnessByScene[RigState::SceneCount] = {0.5f, 0.25f};
    RigState state;
    for (const RigLayout::Device& d : layout.Devices()) {
        RigState::Device& device = state.devices[d.key];
        for (int s = 0; s < RigState::SceneCount; ++s) {
            RigState::Scene& scene = device.scenes[s];
            const int count = static_cast<int>(d.leds.size());
            for (int i = 0; i < count; ++i) {
                const RigLayout::Led& led = d.leds[static_cast<size_t>(i)];
                RigState::LedValues values;
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

void VirtualRig::Begin(RigService& service)
{
    const RigLayout layout = Layout();
    service.SetLayout(layout, Defaults(layout));
}
