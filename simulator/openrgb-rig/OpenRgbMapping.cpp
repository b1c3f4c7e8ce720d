#include "simulator/openrgb-rig/OpenRgbMapping.h"

#include "simulator/core/ColorMath.h"
#include "simulator/openrgb-rig/HardwareMode.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>

namespace {

using OpenRgb::Device;
using OpenRgb::DeviceType;

// The readable part of a controller's key; a longer identity keeps its start
// and a hash of the whole, so that two long serials stay apart.
constexpr size_t MaxBaseBytes = 32;
constexpr size_t HashedStartBytes = MaxBaseBytes - 9;

const char* const Group = "Group";
const char* const Mainboard = "Mainboard";

struct Place
{
    const char* keyword; // in the zone's and LED's names, lower case
    const char* location;
    const char* name;
};

// Where a board LED sits, by the words its zone and LED are named with; the
// location codes choose the panel's icons.
const Place BoardPlaces[] = {
    {"cpu", "0", "CPU"},          {"pch", "3", "Chipset"},       {"chipset", "3", "Chipset"},
    {"audio", "4", "Audio"},      {"back i/o", "5", "Back I/O"}, {"i/o", "5", "Back I/O"},
    {"rear", "5", "Back I/O"},    {"strip", "6", "LED Strip"},   {"header", "6", "Header"},
    {"argb", "6", "Header"},      {"addressable", "6", "Header"}, {"dram", "10", "Memory"},
    {"memory", "10", "Memory"},   {"dimm", "10", "Memory"},      {"pcie", "11", "PCIe"},
    {"edge", "8", "Edge"},        {"logo", "15", "Logo"},        {"light bar", "15", "Light Bar"},
};
const Place BoardElsewhere = {"", "13", "Board"};

struct Peripheral
{
    DeviceType type;
    const char* key;
    const char* location;
    const char* name;
};

// In the order the capability lists them.
const Peripheral Peripherals[] = {
    {DeviceType::Gpu, "Vga", "1001", "VGA"},
    {DeviceType::Keyboard, "Keyboard", "1002", "Keyboard"},
    {DeviceType::Mouse, "Mouse", "1003", "Mouse"},
    {DeviceType::Headset, "TarskAudioDevices_Headset", "1005", "Headset"},
};

uint32_t Fnv1a(const std::string& text)
{
    uint32_t hash = 2166136261u;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

// The zone an LED lies in and its place there; LEDs beyond the zones count
// as a zone after the last.
std::pair<size_t, size_t> ZonePlace(const Device& device, size_t led)
{
    size_t start = 0;
    for (size_t z = 0; z < device.zones.size(); ++z) {
        const size_t count = device.zones[z].ledsCount;
        if (led < start + count)
            return {z, led - start};
        start += count;
    }
    return {device.zones.size(), led - std::min(led, start)};
}

std::string ZoneName(const Device& device, size_t zone)
{
    return zone < device.zones.size() ? device.zones[zone].name : std::string();
}

const Place& BoardPlace(const Device& device, size_t led)
{
    const std::string ledName = led < device.leds.size() ? device.leds[led].name : "";
    const std::string words = HardwareMode::Lower(ZoneName(device, ZonePlace(device, led).first) + " " + ledName);
    for (const Place& place : BoardPlaces) {
        if (words.find(place.keyword) != std::string::npos)
            return place;
    }
    return BoardElsewhere;
}

std::string LedType(const Device& device, size_t led)
{
    const size_t zone = ZonePlace(device, led).first;
    return zone < device.zones.size() && device.zones[zone].type == OpenRgb::ZoneType::Single ? "RGB" : "ARGB";
}

// The LED entries of one controller in the capability document: one per
// key (LEDs that share a key lie side by side, in one zone).
std::vector<RigLayout::Led> LedsOf(const Device& device, const std::vector<std::string>& ledKeys)
{
    // Each entry's key and its first LED: an entry stands for a whole zone
    // where the device is listed per zone.
    std::vector<std::string> keys;
    std::vector<size_t> first;
    for (size_t i = 0; i < ledKeys.size(); ++i) {
        if (i == 0 || ledKeys[i] != ledKeys[i - 1]) {
            keys.push_back(ledKeys[i]);
            first.push_back(i);
        }
    }
    std::vector<RigLayout::Led> leds;
    if (device.type == DeviceType::Dram) {
        for (size_t i = 0; i < keys.size(); ++i)
            leds.push_back({keys[i], "1004", "PellixDram", LedType(device, first[i])});
        return leds;
    }
    if (device.type == DeviceType::Motherboard) {
        std::map<std::string, int> named;
        for (size_t i = 0; i < keys.size(); ++i)
            ++named[BoardPlace(device, first[i]).name];
        std::map<std::string, int> numbered;
        for (size_t i = 0; i < keys.size(); ++i) {
            const Place& place = BoardPlace(device, first[i]);
            std::string name = place.name;
            if (named[name] > 1)
                name += " " + std::to_string(++numbered[name]);
            leds.push_back({keys[i], place.location, name, LedType(device, first[i])});
        }
        return leds;
    }
    for (const Peripheral& p : Peripherals) {
        if (p.type == device.type) {
            for (size_t i = 0; i < keys.size(); ++i)
                leds.push_back({keys[i], p.location, p.name, LedType(device, first[i])});
        }
    }
    return leds;
}

unsigned Packed(const OpenRgb::Color& c)
{
    return c.red + 256u * c.green + 65536u * c.blue;
}

// What an LED shows in the device's active mode: the mode's own first colour
// where it has colours of its own, else the LED's colour.
unsigned ShownColor(const Device& device, size_t led)
{
    const OpenRgb::Mode* active = device.ActiveMode();
    if (active && active->colorMode == OpenRgb::ColorMode::ModeSpecific && !active->colors.empty())
        return Packed(active->colors.front());
    return led < device.colors.size() ? Packed(device.colors[led]) : 0u;
}

// The defaults of one document device from the controllers it shows.
RigState::Device DefaultsOf(const std::vector<const Device*>& devices,
                            const std::vector<const std::vector<std::string>*>& keys)
{
    std::set<int> effects;
    for (const Device* d : devices) {
        const OpenRgb::Mode* active = d->ActiveMode();
        const int effect = active ? HardwareMode::EffectOf(active->name) : 0;
        effects.insert(effect ? effect : static_cast<int>(EffectSettings::Static));
    }
    const OpenRgb::Mode* first = devices.empty() ? nullptr : devices.front()->ActiveMode();

    RigState::Device values;
    RigState::Scene& scene = values.scenes[0];
    scene.mode = effects.size() == 1 ? *effects.begin() : static_cast<int>(EffectSettings::Static);
    scene.effectSpeed = first ? HardwareMode::PanelSpeed(*first, first->speed) : 0;
    if (first && first->Has(OpenRgb::HasDirectionLeftRight))
        scene.startToEnd = first->direction == 0 ? 0 : 1;
    int position = 0;
    for (size_t c = 0; c < devices.size(); ++c) {
        const Device& d = *devices[c];
        const OpenRgb::Mode* active = d.ActiveMode();
        for (size_t i = 0; i < keys[c]->size(); ++i) {
            const std::string& key = (*keys[c])[i];
            // A zone that shows as one entry takes its first LED's values.
            if (scene.leds.count(key))
                continue;
            RigState::LedValues led;
            led.color = ShownColor(d, i);
            const ColorMath::Hsl hsl = ColorMath::HslFromPacked(*led.color);
            led.hue = hsl.hue;
            led.saturation = hsl.saturation;
            led.lightness = hsl.lightness;
            led.speed = active ? HardwareMode::PanelSpeed(*active, active->speed) : 0;
            led.direction = 0;
            scene.leds[key] = led;
            scene.pathOrder[key] = position++;
        }
    }
    // The devices know no power states: the other scene starts as this one.
    values.scenes[1] = scene;
    return values;
}

} // namespace

std::string OpenRgbMapping::DeviceKeyOf(DeviceType type)
{
    if (type == DeviceType::Dram || type == DeviceType::Motherboard)
        return Group;
    for (const Peripheral& p : Peripherals) {
        if (p.type == type)
            return p.key;
    }
    return std::string();
}

std::string OpenRgbMapping::ControllerKey(const Device& device)
{
    const std::string& identity =
        !device.serial.empty() ? device.serial : !device.location.empty() ? device.location : device.name;
    std::string base;
    for (const unsigned char c : identity) {
        if (std::isalnum(c) || c == '-')
            base += static_cast<char>(c);
        else if (!base.empty() && base.back() != '_')
            base += '_';
    }
    while (!base.empty() && base.back() == '_')
        base.pop_back();
    if (base.empty())
        base = "controller";
    if (base.size() > MaxBaseBytes) {
        char hash[10];
        std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(Fnv1a(identity)));
        base = base.substr(0, HashedStartBytes) + hash;
    }
    return base;
}

OpenRgbMapping OpenRgbMapping::FromDevices(const std::vector<Device>& devices)
{
    OpenRgbMapping mapping;
    std::map<std::string, int> taken;
    for (size_t i = 0; i < devices.size(); ++i) {
        const Device& d = devices[i];
        const std::string deviceKey = DeviceKeyOf(d.type);
        if (deviceKey.empty() || d.leds.empty())
            continue;
        Controller c{i, ControllerKey(d), deviceKey, {}};
        // Two controllers that name themselves alike are told apart by their order.
        if (const int earlier = taken[c.key]++)
            c.key += "~" + std::to_string(earlier + 1);
        // The panel shows the group's LEDs one by one; the other devices by zone.
        const bool eachLed = deviceKey == Group;
        for (size_t led = 0; led < d.leds.size(); ++led) {
            const auto [zone, place] = ZonePlace(d, led);
            c.ledKeys.push_back(c.key + "." + std::to_string(zone) + (eachLed ? "." + std::to_string(place) : ""));
        }
        mapping.controllers.push_back(std::move(c));
    }
    // Memory modules before the boards in the group, each kind in the server's order.
    std::stable_sort(mapping.controllers.begin(), mapping.controllers.end(),
                     [&](const Controller& a, const Controller& b) {
                         return devices[a.index].type == DeviceType::Dram && devices[b.index].type != DeviceType::Dram;
                     });

    std::vector<std::pair<std::string, std::vector<const Controller*>>> documents;
    auto add = [&](const std::string& key, const Controller& c) {
        auto found = std::find_if(documents.begin(), documents.end(), [&](const auto& d) { return d.first == key; });
        if (found == documents.end())
            found = documents.insert(documents.end(), {key, {}});
        found->second.push_back(&c);
    };
    for (const Controller& c : mapping.controllers) {
        if (c.deviceKey == Group)
            add(Group, c);
    }
    for (const Controller& c : mapping.controllers) {
        if (devices[c.index].type == DeviceType::Motherboard)
            add(Mainboard, c);
    }
    for (const Peripheral& p : Peripherals) {
        for (const Controller& c : mapping.controllers) {
            if (c.deviceKey == p.key)
                add(p.key, c);
        }
    }

    std::vector<RigLayout::Device> layout;
    for (const auto& [key, controllers] : documents) {
        RigLayout::Device device{key, {}, RigLayout::PanelEffects()};
        std::vector<const Device*> described;
        std::vector<const std::vector<std::string>*> keys;
        for (const Controller* c : controllers) {
            const Device& d = devices[c->index];
            const std::vector<RigLayout::Led> leds = LedsOf(d, c->ledKeys);
            device.leds.insert(device.leds.end(), leds.begin(), leds.end());
            described.push_back(&d);
            keys.push_back(&c->ledKeys);
        }
        mapping.defaults.devices[key] = DefaultsOf(described, keys);
        layout.push_back(std::move(device));
    }
    mapping.layout = RigLayout(std::move(layout));
    for (const Controller& c : mapping.controllers) {
        const std::string note = HardwareMode::Note(devices[c.index]);
        if (!note.empty())
            mapping.defaults.notes[c.key] = note;
    }
    return mapping;
}
