#pragma once

#include <optional>
#include <string>

class DeviceMaster;
struct EffectSetting;

namespace tinyxml2 {
class XMLDocument;
}

// The effect profile (funcid 4) that every effect view sends on APPLY. The
// skeleton, the group block and the LED values are built here once; a view
// only says which parts it carries:
//
//   static, breathing, colour cycle  Parts{LedValues::Colour}
//   strobing                         Parts{LedValues::Colour, GroupBlock::Strobing()}
//   comet                            Parts{LedValues::Colour, GroupBlock::Comet()}
//   rainbow                          Parts{LedValues::Colour, GroupBlock::Rainbow()}
//   wave                             Parts{LedValues::ColourAndSpeed, GroupBlock::Wave(sliderVisible)}
//   sleep                            Parts{LedValues::Dark}
//   music                            Parts{LedValues::None}.WithMusicIndex(index)
//   temperature                      Parts{LedValues::None}.WithEffectSpeed(speed)
//
// and calls LumetBaseView::BuildEffectProfile(parts), which passes the view's
// device master, device key and effect id to Build().
//
// Layout: root / header "ORVEL_LUMET", version "1.1", funcid "4",
// device[key] / scene / state "S0", mode[key = effect id] / iscolorsynced "0",
// music_index?, effect_speed?, group block?, then one led[key] per LED of the
// device in its order with color, hue, saturation, lightness, speed, direction.
class EffectProfile
{
public:
    // Which LED values a view sends; the others are "na". The values come from
    // the LED's current S0 setting; an LED without one writes "na" six times.
    enum class LedValues {
        Colour,         // color, hue, saturation, lightness
        ColourAndSpeed, // color, hue, saturation, lightness, speed
        Dark,           // color "0", hue, saturation, lightness
        None,           // all six "na"
    };

    // The effect-wide values of the device's current group setting. Written
    // only when the device key is exactly "Group"; a group without a setting
    // writes the values of a zeroed one.
    struct GroupBlock
    {
        enum class ColorType {
            Absent,
            Plain,       // always "Plain"
            FromSetting, // "Plain", "Gradient", "Cycle" for colorType 0, 1, other
        };
        enum class CycleValues {
            Absent,
            FromSetting,   // cycleStart, cycleEnd, cycleRange
            ZeroWhenPlain, // "0.000000" three times while colorType is 0, else as FromSetting
        };

        ColorType colorType = ColorType::Absent;
        CycleValues cycleValues = CycleValues::Absent;
        bool startToEnd = false;  // start_to_end_or_end_to_start: "0" when endToStart, else "1"
        bool pathOrder = false;   // effect_path_order, one order per pathOrder entry in key order
        bool effectSpeed = false; // effect_speed = effectSpeed

        static GroupBlock Strobing();
        static GroupBlock Wave(bool withSpeed);
        static GroupBlock Comet();
        static GroupBlock Rainbow();
        bool IsEmpty() const;
    };

    struct Parts
    {
        Parts(LedValues leds = LedValues::Colour) : leds(leds) {}
        Parts(LedValues leds, const GroupBlock& group) : leds(leds), group(group) {}
        Parts& WithMusicIndex(int index)
        {
            musicIndex = index;
            return *this;
        }
        Parts& WithEffectSpeed(int speed)
        {
            effectSpeed = speed;
            return *this;
        }

        LedValues leds;
        GroupBlock group;
        std::optional<int> musicIndex;  // music_index, right after iscolorsynced
        std::optional<int> effectSpeed; // the view's own effect_speed, before any group block
    };

    // The printed document (LumetXmlProfileHelper::PrintProfile). device may
    // be null: the document then has no led elements.
    static std::string Build(const DeviceMaster* device, const std::string& deviceKey, int effectId,
                             const Parts& parts);
    // The same tree, appended to an empty document.
    static void Compose(tinyxml2::XMLDocument& document, const DeviceMaster* device, const std::string& deviceKey,
                        int effectId, const Parts& parts);

    // "Plain", "Gradient" or "Cycle" for colorType 0, 1 or any other value.
    static const char* ColorTypeText(int colorType);
};
