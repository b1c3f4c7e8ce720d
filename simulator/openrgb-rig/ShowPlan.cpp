#include "simulator/openrgb-rig/ShowPlan.h"

#include <algorithm>
#include <climits>
#include <map>
#include <tuple>

namespace {

using Rgb = EffectEngine::Rgb;

EffectSettings::Led LedOf(const RigState::LedValues& v)
{
    EffectSettings::Led led;
    led.color = v.color;
    led.hue = v.hue;
    led.saturation = v.saturation;
    led.lightness = v.lightness;
    led.speed = v.speed;
    led.direction = v.direction;
    return led;
}

EffectSettings EffectOf(const RigState::Device& device)
{
    const RigState::Scene& scene = device.scenes[0];
    EffectSettings s;
    s.mode = scene.mode;
    s.enabled = device.enabled;
    s.colorType = EffectSettings::ColorTypeFromText(scene.colorType);
    s.cycleStart = scene.cycleStart;
    s.cycleRange = scene.cycleRange;
    s.startToEnd = scene.startToEnd != 0;
    s.musicIndex = scene.musicIndex;
    s.effectSpeed = scene.effectSpeed;
    return s;
}

std::vector<OpenRgb::Color> Colors(const std::vector<Rgb>& rgb)
{
    std::vector<OpenRgb::Color> colors;
    colors.reserve(rgb.size());
    for (const Rgb& c : rgb)
        colors.push_back(HardwareMode::ToColor(c));
    return colors;
}

// How one controller shows its part of a unit.
ShowPlan::ControllerShow Decide(const OpenRgb::Device& device, const EffectSettings& own, const std::string* note,
                                bool preferHardware)
{
    EffectSettings still = own;
    still.mode = EffectSettings::Static;
    if (!own.enabled || own.mode == EffectSettings::Sleep) {
        still.enabled = true;
        for (EffectSettings::Led& led : still.leds)
            led.color = 0u;
    }
    const std::vector<Rgb> chosen = EffectEngine::Frame(still, {});

    using Way = ShowPlan::Way;
    ShowPlan::ControllerShow show;
    const int direct = HardwareMode::Direct(device);
    if (note) {
        if (const std::optional<HardwareMode::Noted> first = HardwareMode::FromNote(device, *note)) {
            if (first->mode.index == direct) {
                show.way = Way::Still;
            } else {
                show.way = Way::Mode;
                show.mode = first->mode;
            }
            show.colors = first->leds.empty() ? Colors(chosen) : first->leds;
            return show;
        }
    }
    std::optional<HardwareMode::Choice> mode;
    if (direct < 0 || preferHardware)
        mode = HardwareMode::ForEffect(device, own, chosen);
    if (!mode && direct >= 0) {
        show.way = Way::Frames;
        return show;
    }
    if (!mode)
        mode = HardwareMode::Nearest(device, chosen);
    if (!mode)
        return show;
    show.way = Way::Mode;
    show.mode = *mode;
    if (mode->ledColors)
        show.colors = Colors(chosen);
    return show;
}

} // namespace

ShowPlan ShowPlan::Make(const OpenRgbMapping& mapping, const std::vector<OpenRgb::Device>& devices,
                        const RigState& state, const RigState& defaults, bool preferHardware)
{
    ShowPlan plan;
    plan.controllers.resize(mapping.controllers.size());
    std::vector<std::string> keys;
    for (const OpenRgbMapping::Controller& c : mapping.controllers) {
        if (std::find(keys.begin(), keys.end(), c.deviceKey) == keys.end())
            keys.push_back(c.deviceKey);
    }
    for (const std::string& key : keys) {
        const auto found = state.devices.find(key);
        if (found == state.devices.end())
            continue;
        const RigState::Device& device = found->second;
        const RigState::Scene& scene = device.scenes[0];
        const auto kept = defaults.devices.find(key);
        const bool restoring = kept != defaults.devices.end() && kept->second == device;

        Unit unit{key, EffectOf(device), {}, false};
        // Each key once, by (path position, first place in the layout); the
        // LEDs that show it.
        std::vector<std::tuple<int, size_t, std::string>> order;
        std::map<std::string, std::vector<std::pair<size_t, size_t>>> shownBy;
        for (size_t c = 0; c < mapping.controllers.size(); ++c) {
            const OpenRgbMapping::Controller& controller = mapping.controllers[c];
            if (controller.deviceKey != key)
                continue;
            const bool known = std::all_of(controller.ledKeys.begin(), controller.ledKeys.end(),
                                           [&](const std::string& k) { return scene.leds.count(k) != 0; });
            if (!known)
                continue;
            EffectSettings own = unit.settings;
            for (size_t i = 0; i < controller.ledKeys.size(); ++i) {
                const std::string& k = controller.ledKeys[i];
                own.leds.push_back(LedOf(scene.leds.at(k)));
                std::vector<std::pair<size_t, size_t>>& leds = shownBy[k];
                if (leds.empty()) {
                    const auto position = scene.pathOrder.find(k);
                    order.emplace_back(position != scene.pathOrder.end() ? position->second : INT_MAX, order.size(), k);
                }
                leds.emplace_back(c, i);
            }
            const auto note = restoring ? defaults.notes.find(controller.key) : defaults.notes.end();
            plan.controllers[c] = Decide(devices[controller.index], own,
                                         note != defaults.notes.end() ? &note->second : nullptr, preferHardware);
            unit.framed = unit.framed || plan.controllers[c].way == Way::Frames;
        }
        std::sort(order.begin(), order.end());
        for (const auto& [position, layoutPlace, k] : order) {
            unit.settings.leds.push_back(LedOf(scene.leds.at(k)));
            unit.places.push_back(std::move(shownBy[k]));
        }
        plan.units.push_back(std::move(unit));
    }
    return plan;
}

int ShowPlan::FramesPerSecond(const EffectEngine::Inputs& inputs, int fps) const
{
    int needed = 0;
    for (const Unit& unit : units) {
        if (!unit.framed)
            continue;
        const EffectEngine::FramePlan frames = EffectEngine::Plan(unit.settings, inputs, fps);
        if (frames.pace == EffectEngine::Pace::Animated)
            needed = std::max(needed, std::clamp(fps, EffectEngine::MinFps, EffectEngine::MaxFps));
        else if (frames.pace == EffectEngine::Pace::FollowsInputs)
            needed = std::max(needed, 1);
    }
    return needed;
}
