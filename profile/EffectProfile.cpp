#include "profile/EffectProfile.h"

#include "app/NumberText.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "profile/LumetXmlProfileHelper.h"

#include <tinyxml2.h>

#include <cstdint>

namespace {

const char* const NotApplicable = "na";

using Helper = LumetXmlProfileHelper;

std::string Float(float value)
{
    return NumberText::FormatFloat(value);
}

std::string Int(int value)
{
    return NumberText::FormatInt(value);
}

// Packed colours are unsigned 32-bit numbers on the wire.
std::string Colour(int packed)
{
    return NumberText::FormatUnsigned(static_cast<std::uint32_t>(packed));
}

void AppendGroupBlock(tinyxml2::XMLDocument& doc, tinyxml2::XMLElement* mode,
                      const EffectProfile::GroupBlock& block, const EffectSetting& setting)
{
    using Block = EffectProfile::GroupBlock;
    switch (block.colorType) {
    case Block::ColorType::Absent:
        break;
    case Block::ColorType::Plain:
        Helper::AppendElement(doc, mode, "color_type", "", EffectProfile::ColorTypeText(0));
        break;
    case Block::ColorType::FromSetting:
        Helper::AppendElement(doc, mode, "color_type", "", EffectProfile::ColorTypeText(setting.colorType));
        break;
    }
    if (block.cycleValues != Block::CycleValues::Absent) {
        const bool zero = block.cycleValues == Block::CycleValues::ZeroWhenPlain && setting.colorType == 0;
        Helper::AppendElement(doc, mode, "start_end_color_cycle_start", "", Float(zero ? 0.0f : setting.cycleStart));
        Helper::AppendElement(doc, mode, "start_end_color_cycle_end", "", Float(zero ? 0.0f : setting.cycleEnd));
        Helper::AppendElement(doc, mode, "start_end_color_cycle_range", "", Float(zero ? 0.0f : setting.cycleRange));
    }
    if (block.startToEnd)
        Helper::AppendElement(doc, mode, "start_to_end_or_end_to_start", "", setting.endToStart ? "0" : "1");
    if (block.pathOrder) {
        tinyxml2::XMLElement* order = Helper::AppendElement(doc, mode, "effect_path_order", "", "");
        // std::map keeps its keys in ascending byte order.
        for (const auto& [key, position] : setting.pathOrder)
            Helper::AppendElement(doc, order, "order", key, Int(position));
    }
    if (block.effectSpeed)
        Helper::AppendElement(doc, mode, "effect_speed", "", Int(setting.effectSpeed));
}

void AppendLed(tinyxml2::XMLDocument& doc, tinyxml2::XMLElement* mode, const LedInfo& led,
               EffectProfile::LedValues values)
{
    using Values = EffectProfile::LedValues;
    tinyxml2::XMLElement* element = Helper::AppendElement(doc, mode, "led", led.GetKey(), "");
    const EffectSetting* s0 = led.GetSetting(0);
    // A value is only ever read from a setting that exists.
    const bool colour = s0 && values != Values::None;
    const bool speed = s0 && values == Values::ColourAndSpeed;
    std::string colorText = NotApplicable;
    if (colour)
        colorText = values == Values::Dark ? "0" : Colour(s0->color);
    Helper::AppendElement(doc, element, "color", "", colorText);
    Helper::AppendElement(doc, element, "hue", "", colour ? Float(s0->hue) : NotApplicable);
    Helper::AppendElement(doc, element, "saturation", "", colour ? Float(s0->saturation) : NotApplicable);
    Helper::AppendElement(doc, element, "lightness", "", colour ? Float(s0->lightness) : NotApplicable);
    Helper::AppendElement(doc, element, "speed", "", speed ? Int(s0->speed) : NotApplicable);
    Helper::AppendElement(doc, element, "direction", "", NotApplicable);
}

} // namespace

EffectProfile::GroupBlock EffectProfile::GroupBlock::Strobing()
{
    GroupBlock b;
    b.colorType = ColorType::Plain;
    b.pathOrder = true;
    b.effectSpeed = true;
    return b;
}

EffectProfile::GroupBlock EffectProfile::GroupBlock::Wave(bool withSpeed)
{
    GroupBlock b;
    b.colorType = ColorType::Plain;
    b.effectSpeed = withSpeed;
    return b;
}

EffectProfile::GroupBlock EffectProfile::GroupBlock::Comet()
{
    GroupBlock b;
    b.colorType = ColorType::FromSetting;
    b.cycleValues = CycleValues::ZeroWhenPlain;
    b.pathOrder = true;
    b.effectSpeed = true;
    return b;
}

EffectProfile::GroupBlock EffectProfile::GroupBlock::Rainbow()
{
    GroupBlock b;
    b.colorType = ColorType::FromSetting;
    b.cycleValues = CycleValues::FromSetting;
    b.startToEnd = true;
    b.pathOrder = true;
    b.effectSpeed = true;
    return b;
}

bool EffectProfile::GroupBlock::IsEmpty() const
{
    return colorType == ColorType::Absent && cycleValues == CycleValues::Absent && !startToEnd && !pathOrder
        && !effectSpeed;
}

const char* EffectProfile::ColorTypeText(int colorType)
{
    switch (colorType) {
    case 0:
        return "Plain";
    case 1:
        return "Gradient";
    default:
        return "Cycle";
    }
}

void EffectProfile::Compose(tinyxml2::XMLDocument& doc, const DeviceMaster* device, const std::string& deviceKey,
                            int effectId, const Parts& parts)
{
    tinyxml2::XMLElement* root = Helper::AppendElement(doc, &doc, "root", "", "");
    Helper::AppendElement(doc, root, "header", "", "ORVEL_LUMET");
    Helper::AppendElement(doc, root, "version", "", "1.1");
    Helper::AppendElement(doc, root, "funcid", "", "4");
    tinyxml2::XMLElement* deviceElement = Helper::AppendElement(doc, root, "device", deviceKey, "");
    tinyxml2::XMLElement* scene = Helper::AppendElement(doc, deviceElement, "scene", "", "");
    Helper::AppendElement(doc, scene, "state", "", "S0");
    tinyxml2::XMLElement* mode = Helper::AppendElement(doc, scene, "mode", Int(effectId), "");
    Helper::AppendElement(doc, mode, "iscolorsynced", "", "0");
    if (parts.musicIndex)
        Helper::AppendElement(doc, mode, "music_index", "", Int(*parts.musicIndex));
    if (parts.effectSpeed)
        Helper::AppendElement(doc, mode, "effect_speed", "", Int(*parts.effectSpeed));
    if (!parts.group.IsEmpty() && deviceKey == "Group") {
        const EffectSetting zeroed;
        const EffectSetting* setting = device ? device->GetGroupSetting() : nullptr;
        AppendGroupBlock(doc, mode, parts.group, setting ? *setting : zeroed);
    }
    if (device) {
        for (const LedInfo* led : device->GetLeds())
            AppendLed(doc, mode, *led, parts.leds);
    }
}

std::string EffectProfile::Build(const DeviceMaster* device, const std::string& deviceKey, int effectId,
                                 const Parts& parts)
{
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    Compose(doc, device, deviceKey, effectId, parts);
    return LumetXmlProfileHelper::PrintProfile(doc);
}
