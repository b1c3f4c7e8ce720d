#include "simulator/core/SceneUpdate.h"

#include "simulator/core/RigLayout.h"
#include "app/NumberText.h"

#include <tinyxml2.h>

#include <cctype>

namespace {

// Reading is strict where the panel's parsers are tolerant: a value that the
// rig would have to guess at is refused, so the fault shows where it starts.
std::string Trimmed(const char* text)
{
    std::string s = text ? text : "";
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsDigits(const std::string& s, size_t from, size_t to)
{
    if (from >= to)
        return false;
    for (size_t i = from; i < to; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
    }
    return true;
}

bool LooksLikeInt(const std::string& s)
{
    const size_t start = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    return IsDigits(s, start, s.size());
}

bool LooksLikeFloat(const std::string& s)
{
    size_t i = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    const size_t exponent = s.find_first_of("eE", i);
    const size_t mantissaEnd = exponent == std::string::npos ? s.size() : exponent;
    const size_t dot = s.find('.', i);
    bool mantissa;
    if (dot == std::string::npos || dot >= mantissaEnd) {
        mantissa = IsDigits(s, i, mantissaEnd);
    } else {
        const bool whole = dot == i || IsDigits(s, i, dot);
        const bool fraction = dot + 1 == mantissaEnd || IsDigits(s, dot + 1, mantissaEnd);
        mantissa = whole && fraction && mantissaEnd - i > 1;
    }
    if (!mantissa)
        return false;
    if (exponent == std::string::npos)
        return true;
    size_t e = exponent + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-'))
        ++e;
    return IsDigits(s, e, s.size());
}

// Reads the named values of one element and collects the first fault.
class ValueReader
{
public:
    explicit ValueReader(std::string& fault) : fault(fault) {}

    bool Ok() const { return fault.empty(); }

    // Empty when the text is "na" (any case); a fault when it is not an
    // integer within [low, high].
    std::optional<int> Int(const char* what, const char* text, long long low, long long high)
    {
        const std::string s = Trimmed(text);
        if (!Ok() || IsNotAvailable(s))
            return std::nullopt;
        const std::optional<int> value = LooksLikeInt(s) ? NumberText::ParseInt(s) : std::nullopt;
        if (!value) {
            Fail(what, s, "is not an integer");
            return std::nullopt;
        }
        if (*value < low || *value > high) {
            Fail(what, s, "is out of range (" + NumberText::FormatInt(low) + " to " + NumberText::FormatInt(high) + ")");
            return std::nullopt;
        }
        return value;
    }

    std::optional<float> Float(const char* what, const char* text, float low, float high)
    {
        // Six printed decimals round; a value that prints within the range is in it.
        constexpr float slack = 5e-7f;
        const std::string s = Trimmed(text);
        if (!Ok() || IsNotAvailable(s))
            return std::nullopt;
        const std::optional<float> value = LooksLikeFloat(s) ? NumberText::ParseFloat(s) : std::nullopt;
        if (!value) {
            Fail(what, s, "is not a number");
            return std::nullopt;
        }
        if (*value < low - slack || *value > high + slack) {
            Fail(what, s, "is out of range (" + NumberText::FormatFloat(low) + " to " + NumberText::FormatFloat(high) + ")");
            return std::nullopt;
        }
        return value;
    }

    void Fail(const std::string& what, const std::string& text, const std::string& why)
    {
        if (Ok())
            fault = what + " \"" + text + "\" " + why;
    }

    static bool IsNotAvailable(const std::string& s)
    {
        return s.size() == 2 && std::tolower(static_cast<unsigned char>(s[0])) == 'n'
            && std::tolower(static_cast<unsigned char>(s[1])) == 'a';
    }

private:
    std::string& fault;
};

const char* ChildText(const tinyxml2::XMLElement* parent, const char* name, bool& present)
{
    const tinyxml2::XMLElement* child = parent->FirstChildElement(name);
    present = child != nullptr;
    const char* text = child ? child->GetText() : nullptr;
    return text ? text : "";
}

void Prefix(std::string& fault, const std::string& where)
{
    if (!fault.empty())
        fault = where + ": " + fault;
}

} // namespace

bool SceneUpdate::Read(const tinyxml2::XMLElement* scene, const std::string& deviceKey, const RigLayout* layout,
                       SceneUpdate& update, std::string& fault)
{
    fault.clear();
    const RigLayout::Device* device = layout ? layout->FindDevice(deviceKey) : nullptr;
    if (layout && !device) {
        fault = "unknown device \"" + deviceKey + "\"";
        return false;
    }
    bool present = false;
    const std::string state = Trimmed(ChildText(scene, "state", present));
    if (state == "S0") {
        update.scene = 0;
    } else if (state == "Non-S0") {
        update.scene = 1;
    } else {
        fault = present ? "unknown state \"" + state + "\" (expected \"S0\" or \"Non-S0\")" : "the scene has no state";
        return false;
    }
    const tinyxml2::XMLElement* mode = scene->FirstChildElement("mode");
    const char* modeKey = mode ? mode->Attribute("key") : nullptr;
    if (!modeKey) {
        fault = "the scene " + state + " has no mode with a key";
        return false;
    }
    const std::string modeText = Trimmed(modeKey);
    const std::optional<int> modeNumber = LooksLikeInt(modeText) ? NumberText::ParseInt(modeText) : std::nullopt;
    if (!modeNumber || (device && !device->HasMode(*modeNumber))) {
        fault = "unknown mode \"" + modeText + "\" for device \"" + deviceKey + "\"";
        return false;
    }
    update.mode = *modeNumber;

    // A value the element leaves out does not apply, as "na".
    ValueReader read(fault);
    auto intOf = [&](const tinyxml2::XMLElement* parent, const char* name, long long low, long long high) {
        bool has = false;
        const char* text = ChildText(parent, name, has);
        return has ? read.Int(name, text, low, high) : std::nullopt;
    };
    auto floatOf = [&](const tinyxml2::XMLElement* parent, const char* name, float low, float high) {
        bool has = false;
        const char* text = ChildText(parent, name, has);
        return has ? read.Float(name, text, low, high) : std::nullopt;
    };

    update.colorSynced = intOf(mode, "iscolorsynced", 0, 1);
    const std::string colorType = Trimmed(ChildText(mode, "color_type", present));
    if (present) {
        if (colorType != "Plain" && colorType != "Gradient" && colorType != "Cycle")
            read.Fail("color_type", colorType, "is not \"Plain\", \"Gradient\" or \"Cycle\"");
        update.colorType = colorType;
    }
    // The end is the start plus a sweep of up to one turn, so it may pass 1.
    update.cycleStart = floatOf(mode, "start_end_color_cycle_start", 0.0f, 1.0f);
    update.cycleEnd = floatOf(mode, "start_end_color_cycle_end", 0.0f, 2.0f);
    update.cycleRange = floatOf(mode, "start_end_color_cycle_range", 0.0f, 1.0f);
    update.startToEnd = intOf(mode, "start_to_end_or_end_to_start", 0, 1);
    update.musicIndex = intOf(mode, "music_index", -1, 7);
    update.effectSpeed = intOf(mode, "effect_speed", -2, 2);

    if (const tinyxml2::XMLElement* path = mode->FirstChildElement("effect_path_order")) {
        std::map<std::string, int> order;
        for (const tinyxml2::XMLElement* o = path->FirstChildElement("order"); o && read.Ok();
             o = o->NextSiblingElement("order")) {
            const std::string key = o->Attribute("key") ? o->Attribute("key") : "";
            if (device && !device->HasLed(key) && !layout->FindDevice(key)) {
                read.Fail("order key", key, "is neither an LED of \"" + deviceKey + "\" nor a device");
                break;
            }
            if (const std::optional<int> position = read.Int("order", o->GetText(), 0, 255))
                order[key] = *position;
        }
        update.pathOrder = order;
    }

    for (const tinyxml2::XMLElement* l = mode->FirstChildElement("led"); l && read.Ok();
         l = l->NextSiblingElement("led")) {
        const std::string key = l->Attribute("key") ? l->Attribute("key") : "";
        if (device && !device->HasLed(key)) {
            fault = "unknown LED \"" + key + "\" for device \"" + deviceKey + "\"";
            break;
        }
        RigState::LedValues values;
        if (const std::optional<int> color = intOf(l, "color", 0, 0xffffff))
            values.color = static_cast<unsigned>(*color);
        values.hue = floatOf(l, "hue", 0.0f, 1.0f);
        values.saturation = floatOf(l, "saturation", 0.0f, 1.0f);
        values.lightness = floatOf(l, "lightness", 0.0f, 1.0f);
        values.speed = intOf(l, "speed", -2, 2);
        values.direction = intOf(l, "direction", -1, 1);
        Prefix(fault, "LED \"" + key + "\"");
        update.leds.emplace_back(key, values);
    }
    Prefix(fault, "scene " + state + ", mode " + modeText);
    return read.Ok();
}

void SceneUpdate::ApplyTo(RigState::Device& device) const
{
    RigState::Scene& target = device.scenes[scene];
    target.mode = mode;
    auto take = [](auto& field, const auto& value) {
        if (value)
            field = *value;
    };
    take(target.colorSynced, colorSynced);
    take(target.colorType, colorType);
    take(target.cycleStart, cycleStart);
    take(target.cycleEnd, cycleEnd);
    take(target.cycleRange, cycleRange);
    take(target.startToEnd, startToEnd);
    take(target.musicIndex, musicIndex);
    take(target.effectSpeed, effectSpeed);
    take(target.pathOrder, pathOrder);
    for (const auto& [key, values] : leds) {
        RigState::LedValues& led = target.leds[key];
        take(led.color, values.color);
        take(led.hue, values.hue);
        take(led.saturation, values.saturation);
        take(led.lightness, values.lightness);
        take(led.speed, values.speed);
        take(led.direction, values.direction);
    }
}
