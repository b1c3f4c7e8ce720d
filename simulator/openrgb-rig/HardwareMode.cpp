#include "simulator/openrgb-rig/HardwareMode.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

namespace {

using OpenRgb::Color;
using OpenRgb::ColorMode;
using OpenRgb::Mode;
using Rgb = EffectEngine::Rgb;

// A noted mode name longer than this is not believed.
constexpr size_t MaxNameBytes = 64;
constexpr size_t MaxNotedColors = 64;

// The mode's colours for LEDs that all share one colour; empty when they
// do not, or when the mode takes no colours of its own.
std::optional<std::vector<Color>> SharedColor(const Mode& mode, const std::vector<Rgb>& colors)
{
    if (colors.empty() || mode.colorsMax == 0
        || std::any_of(colors.begin(), colors.end(), [&](const Rgb& c) { return c != colors.front(); }))
        return std::nullopt;
    return std::vector<Color>(std::max<uint32_t>(mode.colorsMin, 1), HardwareMode::ToColor(colors.front()));
}

// The mode set to show colors: per LED where it takes them so, else as its
// own colour where they share one. Empty where neither fits.
std::optional<HardwareMode::Choice> Colored(const OpenRgb::Device& device, int index, const std::vector<Rgb>& colors)
{
    HardwareMode::Choice choice{index, device.modes[static_cast<size_t>(index)], false};
    Mode& m = choice.settings;
    if (m.Has(OpenRgb::HasPerLedColor)) {
        m.colorMode = ColorMode::PerLed;
        choice.ledColors = true;
    } else if (m.Has(OpenRgb::HasModeSpecificColor)) {
        const std::optional<std::vector<Color>> shared = SharedColor(m, colors);
        if (!shared)
            return std::nullopt;
        m.colorMode = ColorMode::ModeSpecific;
        m.colors = *shared;
    } else {
        return std::nullopt;
    }
    return choice;
}

int LedSpeed(const EffectSettings& own)
{
    return own.leds.empty() ? 0 : own.leds.front().speed.value_or(0);
}

bool WholeCircle(const EffectSettings& own)
{
    return own.colorType != EffectSettings::ColorType::Gradient || own.cycleRange >= 1.0f;
}

// How an effect of the panel is shown by a device's own mode.
struct Match
{
    int effect; // 0: the LEDs dark (switched off, sleep)
    const char* mode;
    enum { None, Leds, WholeCircle } colors;
    enum { Still, LedSpeed, EffectSpeed } speed;
};

const Match Matches[] = {
    {0, "Off", Match::None, Match::Still},
    {EffectSettings::Static, "Static", Match::Leds, Match::Still},
    {EffectSettings::Breathing, "Breathing", Match::Leds, Match::LedSpeed},
    {EffectSettings::Strobing, "Flashing", Match::Leds, Match::EffectSpeed},
    {EffectSettings::ColorCycle, "Spectrum Cycle", Match::WholeCircle, Match::LedSpeed},
    {EffectSettings::Rainbow, "Rainbow", Match::WholeCircle, Match::EffectSpeed},
};

std::string Hex(const Color& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

std::optional<Color> FromHex(const std::string& text)
{
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return std::nullopt;
    const unsigned long value = std::stoul(text, nullptr, 16);
    return Color{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::string HexList(const std::vector<Color>& colors)
{
    std::string text;
    for (size_t i = 0; i < colors.size(); ++i)
        text += (i ? "," : "") + Hex(colors[i]);
    return text;
}

std::optional<std::vector<Color>> FromHexList(const std::string& list, size_t most)
{
    std::vector<Color> colors;
    for (size_t at = 0; !list.empty() && at <= list.size(); at += 7) {
        const std::optional<Color> c = FromHex(list.substr(at, 6));
        if (!c || colors.size() >= most || (at + 6 < list.size() && list[at + 6] != ','))
            return std::nullopt;
        colors.push_back(*c);
    }
    return colors;
}

// A name as 7-bit text without the note's separators: every other byte as %XX.
std::string Escaped(const std::string& name)
{
    std::string text;
    for (const unsigned char c : name) {
        if (std::isalnum(c) || c == ' ' || c == '-' || c == '_' || c == '.') {
            text += static_cast<char>(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            text += code;
        }
    }
    return text;
}

std::optional<std::string> Unescaped(const std::string& text)
{
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1]))
            || !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
            return std::nullopt;
        name += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
    }
    return name;
}

// A decimal number within [low, high], digits only after an optional minus.
std::optional<long long> Number(const std::string& text, long long low, long long high)
{
    const size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits || text.size() - digits > 10
        || !std::all_of(text.begin() + static_cast<long>(digits), text.end(),
                        [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const long long value = std::stoll(text);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::string HardwareMode::Lower(const std::string& text)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

int HardwareMode::Find(const OpenRgb::Device& device, const std::string& name)
{
    const std::string wanted = Lower(name);
    for (size_t i = 0; i < device.modes.size(); ++i) {
        if (Lower(device.modes[i].name) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

int HardwareMode::EffectOf(const std::string& modeName)
{
    static const std::map<std::string, int> effects = {
        {"direct", EffectSettings::Static},        {"static", EffectSettings::Static},
        {"breathing", EffectSettings::Breathing},  {"flashing", EffectSettings::Strobing},
        {"spectrum cycle", EffectSettings::ColorCycle}, {"rainbow", EffectSettings::Rainbow},
        {"off", EffectSettings::Sleep},
    };
    const auto found = effects.find(Lower(modeName));
    return found != effects.end() ? found->second : 0;
}

int HardwareMode::PanelSpeed(const Mode& mode, uint32_t speed)
{
    if (!mode.Has(OpenRgb::HasSpeed))
        return 0;
    return static_cast<int>(std::lround(2.0 - 4.0 * mode.SpeedFraction(speed)));
}

uint32_t HardwareMode::ModeSpeed(const Mode& mode, int panelSpeed)
{
    if (!mode.Has(OpenRgb::HasSpeed))
        return mode.speed;
    return mode.SpeedAt((2.0 - std::clamp(panelSpeed, -2, 2)) / 4.0);
}

std::optional<HardwareMode::Choice> HardwareMode::ForEffect(const OpenRgb::Device& device, const EffectSettings& own,
                                                            const std::vector<Rgb>& colors)
{
    const bool dark = !own.enabled || own.mode == EffectSettings::Sleep;
    const Match* match = nullptr;
    for (const Match& m : Matches) {
        if (m.effect == (dark ? 0 : own.mode))
            match = &m;
    }
    const int index = match ? Find(device, match->mode) : -1;
    if (index < 0)
        return std::nullopt;
    // The hardware runs the whole circle, every LED the one way round.
    const bool backwards = std::any_of(own.leds.begin(), own.leds.end(),
                                       [](const EffectSettings::Led& l) { return l.direction.value_or(0) < 0; });
    if (match->colors == Match::WholeCircle
        && (!WholeCircle(own) || (own.mode == EffectSettings::ColorCycle && backwards)))
        return std::nullopt;
    std::optional<Choice> choice = match->colors == Match::Leds
        ? Colored(device, index, colors)
        : std::optional<Choice>(Choice{index, device.modes[static_cast<size_t>(index)], false});
    if (!choice)
        return std::nullopt;
    int speed = 0;
    if (match->speed == Match::LedSpeed)
        speed = LedSpeed(own);
    else if (match->speed == Match::EffectSpeed)
        speed = own.effectSpeed;
    Mode& m = choice->settings;
    m.speed = ModeSpeed(m, speed);
    if (m.Has(OpenRgb::HasBrightness))
        m.brightness = m.brightnessMax;
    // OpenRGB's directions: 0 left, 1 right. The group runs from its first
    // LED, so start to end is to the right.
    if (!dark && own.mode == EffectSettings::Rainbow && m.Has(OpenRgb::HasDirectionLeftRight))
        m.direction = own.startToEnd ? 1 : 0;
    if (!device.modes[static_cast<size_t>(index)].Misfit(m).empty())
        return std::nullopt;
    return choice;
}

std::optional<HardwareMode::Choice> HardwareMode::Nearest(const OpenRgb::Device& device, const std::vector<Rgb>& colors)
{
    const int index = Find(device, "Static");
    if (index < 0 || colors.empty())
        return std::nullopt;
    if (std::optional<Choice> exact = Colored(device, index, colors))
        return exact;
    return Colored(device, index, std::vector<Rgb>(colors.size(), colors.front()));
}

std::string HardwareMode::Note(const OpenRgb::Device& device)
{
    const Mode* m = device.ActiveMode();
    if (!m)
        return std::string();
    std::vector<Color> own = m->colors;
    own.resize(std::min(own.size(), MaxNotedColors));
    std::string note = "mode=" + Escaped(m->name.substr(0, MaxNameBytes)) + ";value=" + std::to_string(m->value)
        + ";speed=" + std::to_string(m->speed) + ";direction=" + std::to_string(m->direction)
        + ";brightness=" + std::to_string(m->brightness)
        + ";colormode=" + std::to_string(static_cast<uint32_t>(m->colorMode)) + ";colors=" + HexList(own)
        + ";leds=" + (device.colors.size() <= MaxNotedLeds ? HexList(device.colors) : std::string());
    return note;
}

std::optional<HardwareMode::Noted> HardwareMode::FromNote(const OpenRgb::Device& device, const std::string& note)
{
    std::map<std::string, std::string> fields;
    size_t start = 0;
    while (start <= note.size()) {
        const size_t end = std::min(note.find(';', start), note.size());
        const std::string field = note.substr(start, end - start);
        const size_t equals = field.find('=');
        if (equals == std::string::npos)
            return std::nullopt;
        fields[field.substr(0, equals)] = field.substr(equals + 1);
        start = end + 1;
    }
    static const char* const names[] = {"mode",      "value",  "speed", "direction",
                                        "brightness", "colormode", "colors", "leds"};
    if (fields.size() != std::size(names))
        return std::nullopt;
    for (const char* n : names) {
        if (!fields.count(n))
            return std::nullopt;
    }
    constexpr long long U32 = 0xffffffffll;
    const std::optional<std::string> name = Unescaped(fields["mode"]);
    const std::optional<long long> value = Number(fields["value"], INT32_MIN, INT32_MAX);
    const std::optional<long long> speed = Number(fields["speed"], 0, U32);
    const std::optional<long long> direction = Number(fields["direction"], 0, U32);
    const std::optional<long long> brightness = Number(fields["brightness"], 0, U32);
    const std::optional<long long> colorMode =
        Number(fields["colormode"], 0, static_cast<long long>(ColorMode::Random));
    const std::optional<std::vector<Color>> colors = FromHexList(fields["colors"], MaxNotedColors);
    const std::optional<std::vector<Color>> leds = FromHexList(fields["leds"], MaxNotedLeds);
    if (!name || name->size() > MaxNameBytes || !value || !speed || !direction || !brightness || !colorMode
        || !colors || !leds)
        return std::nullopt;

    // The device's numbers for its modes stay; their places in its list may not.
    for (size_t i = 0; i < device.modes.size(); ++i) {
        const Mode& m = device.modes[i];
        if (m.name.substr(0, MaxNameBytes) != *name || m.value != *value)
            continue;
        Noted noted{{static_cast<int>(i), m, *colorMode == static_cast<long long>(ColorMode::PerLed)}, {}};
        Mode& settings = noted.mode.settings;
        settings.speed = static_cast<uint32_t>(*speed);
        settings.direction = static_cast<uint32_t>(*direction);
        settings.brightness = static_cast<uint32_t>(*brightness);
        settings.colorMode = static_cast<ColorMode>(*colorMode);
        settings.colors = *colors;
        if (!m.Misfit(settings).empty())
            return std::nullopt;
        if (leds->size() == device.leds.size())
            noted.leds = *leds;
        return noted;
    }
    return std::nullopt;
}

bool HardwareMode::Same(const Choice& choice, int index, const Mode& settings)
{
    const Mode& m = choice.settings;
    return choice.index == index && m.speed == settings.speed && m.direction == settings.direction
        && m.brightness == settings.brightness && m.colorMode == settings.colorMode && m.colors == settings.colors;
}
