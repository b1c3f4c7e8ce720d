#include "model/StatusParser.h"

#include "app/NumberText.h"
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeList.h"
#include "model/ModelDocument.h"

using tinyxml2::XMLElement;

namespace {

const char* const GroupKey = "Group";
const char* const MainboardKey = "Mainboard";

ModeInfo* FindMode(const DeviceMaster* device, const std::string& key)
{
    const ModeList* modes = device->GetModes();
    return modes ? modes->FindByKey(key) : nullptr;
}

// A number that does not read (empty, not a number, out of range) keeps 0.
int IntOrZero(const std::string& text)
{
    return NumberText::ParseInt(text).value_or(0);
}

float FloatOrZero(const std::string& text)
{
    return NumberText::ParseFloat(text).value_or(0.0f);
}

// A per-LED value: a missing element and "na" in any case both mean the value
// does not apply.
std::string LedValue(const XMLElement* led, const char* name)
{
    const XMLElement* element = led->FirstChildElement(name);
    if (!element)
        return "na";
    const char* text = element->GetText();
    return ModelDocument::Lower(text ? text : "");
}

int ReadColorType(const std::string& text)
{
    if (text == "Gradient")
        return 1;
    if (text == "Cycle")
        return 2;
    return 0;
}

} // namespace

void StatusParser::ClearGroup(DeviceMaster* group)
{
    if (!group)
        return;
    group->SetGroupSetting(nullptr);
    group->SetGroupSettingLoaded(nullptr);
    for (LedInfo* led : group->GetLeds())
        led->ClearSettings();
}

bool StatusParser::ReadEnabled(const std::string& text)
{
    if (ModelDocument::IsNotAvailable(text))
        return false;
    return IntOrZero(text) > 0;
}

int StatusParser::SceneIndex(const std::string& state)
{
    return state == "S0" ? 0 : 1;
}

void StatusParser::ApplyText(const std::string& text, DeviceMaster* group, const DeviceIndex& index)
{
    Apply(*ModelDocument::Parse(text), group, index);
}

void StatusParser::Apply(const tinyxml2::XMLDocument& document, DeviceMaster* group, const DeviceIndex& index)
{
    const XMLElement* root = document.FirstChildElement("root");
    if (!root)
        return;
    for (const XMLElement* device = root->FirstChildElement("device"); device;
         device = device->NextSiblingElement("device")) {
        const std::string key = ModelDocument::Attribute(device, "key");
        if (key == GroupKey) {
            if (group)
                group->SetEnabled(ReadEnabled(ModelDocument::ChildText(device, "isenabled")));
            ApplyScenes(device, key, group, index);
        } else if (key != MainboardKey && !CapabilityParser::IsPeripheralKey(key)) {
            ApplyScenes(device, key, group, index);
        }
    }
}

void StatusParser::ApplyScenes(const XMLElement* device, const std::string& key, DeviceMaster* group,
                               const DeviceIndex& index)
{
    const auto registered = [&index](const std::string& k) -> DeviceMaster* {
        const auto it = index.find(k);
        return it == index.end() ? nullptr : it->second;
    };

    for (const XMLElement* scene = device->FirstChildElement("scene"); scene;
         scene = scene->NextSiblingElement("scene")) {
        const XMLElement* mode = scene->FirstChildElement("mode");
        if (!mode)
            continue;
        const int sceneIndex = SceneIndex(ModelDocument::ChildText(scene, "state"));
        DeviceMaster* target = nullptr;
        if (sceneIndex == 0) {
            // The running system's scene belongs to the device itself.
            target = key == GroupKey ? group : registered(key);
            if (key == GroupKey && group) {
                std::unique_ptr<EffectSetting> setting = ReadGroupSetting(mode, group);
                group->SetGroupSettingLoaded(std::make_unique<EffectSetting>(*setting));
                group->SetGroupSetting(std::move(setting));
            }
        } else {
            // Every other power state is kept by the main board, whichever
            // device reports it.
            target = registered(MainboardKey);
        }
        if (target)
            ApplyLedSettings(mode, sceneIndex, target);
    }
}

std::unique_ptr<EffectSetting> StatusParser::ReadGroupSetting(const XMLElement* mode, DeviceMaster* group)
{
    auto setting = std::make_unique<EffectSetting>();
    setting->scene = 0;
    setting->mode = FindMode(group, ModelDocument::Attribute(mode, "key"));

    const auto present = [mode](const char* name) { return mode->FirstChildElement(name) != nullptr; };
    const auto text = [mode](const char* name) { return ModelDocument::ChildText(mode, name); };

    if (present("color_type"))
        setting->colorType = ReadColorType(text("color_type"));
    if (present("start_end_color_cycle_start"))
        setting->cycleStart = FloatOrZero(text("start_end_color_cycle_start"));
    if (present("start_end_color_cycle_end"))
        setting->cycleEnd = FloatOrZero(text("start_end_color_cycle_end"));
    if (present("start_end_color_cycle_range"))
        setting->cycleRange = FloatOrZero(text("start_end_color_cycle_range"));
    if (present("start_to_end_or_end_to_start")) {
        const std::optional<int> direction = NumberText::ParseInt(text("start_to_end_or_end_to_start"));
        setting->endToStart = direction != 1;
    }
    if (present("music_index"))
        setting->musicIndex = IntOrZero(text("music_index"));
    if (present("effect_speed"))
        setting->effectSpeed = IntOrZero(text("effect_speed"));

    const XMLElement* pathOrder = mode->FirstChildElement("effect_path_order");
    for (const XMLElement* order = pathOrder ? pathOrder->FirstChildElement("order") : nullptr; order;
         order = order->NextSiblingElement("order")) {
        const char* raw = order->GetText();
        const std::string value = ModelDocument::Lower(raw ? raw : "");
        if (ModelDocument::IsNotAvailable(value))
            continue;
        // An order that does not read as a number has no place on the path.
        const std::optional<int> position = NumberText::ParseInt(value);
        if (!position || *position < 0)
            continue;
        setting->pathOrder[ModelDocument::Attribute(order, "key")] = *position;
    }
    return setting;
}

void StatusParser::ApplyLedSettings(const XMLElement* mode, int scene, DeviceMaster* target)
{
    ModeInfo* modeInfo = FindMode(target, ModelDocument::Attribute(mode, "key"));
    for (const XMLElement* led = mode->FirstChildElement("led"); led; led = led->NextSiblingElement("led")) {
        LedInfo* info = target->FindLed(ModelDocument::Attribute(led, "key"));
        if (!info)
            continue;
        // "na" reads as no number and so gives 0 like any other unreadable text.
        auto setting = std::make_unique<EffectSetting>();
        setting->scene = scene;
        setting->mode = modeInfo;
        setting->color = IntOrZero(LedValue(led, "color"));
        setting->hue = FloatOrZero(LedValue(led, "hue"));
        setting->saturation = FloatOrZero(LedValue(led, "saturation"));
        setting->lightness = FloatOrZero(LedValue(led, "lightness"));
        setting->speed = IntOrZero(LedValue(led, "speed"));
        setting->direction = IntOrZero(LedValue(led, "direction"));
        info->SetLoadedSetting(scene, std::make_unique<EffectSetting>(*setting));
        info->SetSetting(scene, std::move(setting));
    }
}
