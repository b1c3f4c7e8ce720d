#include "simulator/core/RigDocuments.h"

#include "simulator/core/RigLayout.h"
#include "simulator/core/RigState.h"
#include "simulator/core/SceneUpdate.h"
#include "app/NumberText.h"

#include <tinyxml2.h>

#include <functional>
#include <set>
#include <vector>

namespace {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

const char* const Header = "ORVEL_LUMET";
const char* const SceneNames[RigState::SceneCount] = {"S0", "Non-S0"};

XMLElement* Append(XMLDocument& doc, tinyxml2::XMLNode* parent, const char* name, const std::string& key = {})
{
    XMLElement* element = doc.NewElement(name);
    if (!key.empty())
        element->SetAttribute("key", key.c_str());
    parent->InsertEndChild(element);
    return element;
}

void AppendText(XMLDocument& doc, tinyxml2::XMLNode* parent, const char* name, const std::string& text)
{
    Append(doc, parent, name)->SetText(text.c_str());
}

template <typename T, typename Format>
std::string OrNa(const std::optional<T>& value, Format format)
{
    return value ? format(*value) : std::string("na");
}

XMLElement* AppendHead(XMLDocument& doc)
{
    XMLElement* root = Append(doc, &doc, "root");
    AppendText(doc, root, "header", Header);
    AppendText(doc, root, "version", "1.0");
    return root;
}

std::string Print(const XMLDocument& doc)
{
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

// What of a device a document lists: in a status, the LEDs and path entries
// the rig has; in a saved state, also those it lacks at the moment.
struct Listing
{
    std::vector<std::string> leds;
    std::set<std::string> absent; // among leds: listed only in the scenes that hold them
    std::function<bool(const std::string&)> inPath;
};

void AppendScene(XMLDocument& doc, XMLElement* device, const Listing& listing, const RigState::Scene& scene, int index)
{
    using NumberText::FormatFloat;
    using NumberText::FormatInt;
    XMLElement* sceneElement = Append(doc, device, "scene");
    AppendText(doc, sceneElement, "state", SceneNames[index]);
    XMLElement* mode = Append(doc, sceneElement, "mode", FormatInt(scene.mode));
    AppendText(doc, mode, "iscolorsynced", FormatInt(scene.colorSynced));
    AppendText(doc, mode, "color_type", scene.colorType);
    AppendText(doc, mode, "start_end_color_cycle_start", FormatFloat(scene.cycleStart));
    AppendText(doc, mode, "start_end_color_cycle_end", FormatFloat(scene.cycleEnd));
    AppendText(doc, mode, "start_end_color_cycle_range", FormatFloat(scene.cycleRange));
    AppendText(doc, mode, "start_to_end_or_end_to_start", FormatInt(scene.startToEnd));
    AppendText(doc, mode, "music_index", FormatInt(scene.musicIndex));
    AppendText(doc, mode, "effect_speed", FormatInt(scene.effectSpeed));
    XMLElement* path = Append(doc, mode, "effect_path_order");
    for (const auto& [key, position] : scene.pathOrder) {
        if (listing.inPath(key))
            Append(doc, path, "order", key)->SetText(FormatInt(position).c_str());
    }

    auto asFloat = [](float v) { return FormatFloat(v); };
    auto asInt = [](int v) { return FormatInt(v); };
    for (const std::string& key : listing.leds) {
        const auto found = scene.leds.find(key);
        if (found == scene.leds.end() && listing.absent.count(key))
            continue;
        static const RigState::LedValues none;
        const RigState::LedValues& values = found != scene.leds.end() ? found->second : none;
        XMLElement* led = Append(doc, mode, "led", key);
        AppendText(doc, led, "color", OrNa(values.color, [](unsigned v) { return NumberText::FormatUnsigned(v); }));
        AppendText(doc, led, "hue", OrNa(values.hue, asFloat));
        AppendText(doc, led, "saturation", OrNa(values.saturation, asFloat));
        AppendText(doc, led, "lightness", OrNa(values.lightness, asFloat));
        AppendText(doc, led, "speed", OrNa(values.speed, asInt));
        AppendText(doc, led, "direction", OrNa(values.direction, asInt));
    }
}

Listing ListingOf(const RigLayout& layout, const RigLayout::Device* present, const RigState::Device& values,
                  bool everything)
{
    Listing listing;
    if (present) {
        for (const RigLayout::Led& l : present->leds)
            listing.leds.push_back(l.key);
    }
    if (!everything) {
        listing.inPath = [&layout, present](const std::string& k) { return present->HasLed(k) || layout.FindDevice(k); };
        return listing;
    }
    listing.inPath = [](const std::string&) { return true; };
    for (const RigState::Scene& scene : values.scenes) {
        for (const auto& led : scene.leds) {
            if (!present || !present->HasLed(led.first))
                listing.absent.insert(led.first);
        }
    }
    listing.leds.insert(listing.leds.end(), listing.absent.begin(), listing.absent.end());
    return listing;
}

void AppendDevice(XMLDocument& doc, XMLElement* parent, const std::string& key, const Listing& listing,
                  const RigState::Device& values)
{
    XMLElement* device = Append(doc, parent, "device", key);
    AppendText(doc, device, "isenabled", values.enabled ? "1" : "0");
    for (int s = 0; s < RigState::SceneCount; ++s)
        AppendScene(doc, device, listing, values.scenes[s], s);
}

// The devices of layout in its order, then, with everything, those of state
// that it lacks, in key order.
void AppendDevices(XMLDocument& doc, XMLElement* parent, const RigLayout& layout, const RigState& state,
                   bool everything)
{
    static const RigState::Device none;
    for (const RigLayout::Device& d : layout.Devices()) {
        const auto found = state.devices.find(d.key);
        const RigState::Device& values = found != state.devices.end() ? found->second : none;
        AppendDevice(doc, parent, d.key, ListingOf(layout, &d, values, everything), values);
    }
    if (!everything)
        return;
    for (const auto& [key, values] : state.devices) {
        if (!layout.FindDevice(key))
            AppendDevice(doc, parent, key, ListingOf(layout, nullptr, values, true), values);
    }
}

// Far more than a rig's note of one device needs; a longer one is damage.
constexpr size_t MaxNoteBytes = 4096;

void AppendNotes(XMLDocument& doc, XMLElement* parent, const std::map<std::string, std::string>& notes)
{
    for (const auto& [key, text] : notes)
        Append(doc, parent, "note", key)->SetText(text.c_str());
}

bool ReadNotes(const XMLElement* parent, std::map<std::string, std::string>& notes, std::string& fault)
{
    for (const XMLElement* n = parent->FirstChildElement("note"); n; n = n->NextSiblingElement("note")) {
        const std::string key = n->Attribute("key") ? n->Attribute("key") : "";
        const std::string text = n->GetText() ? n->GetText() : "";
        if (key.empty() || key.size() > MaxNoteBytes || text.size() > MaxNoteBytes) {
            fault = "a note \"" + key.substr(0, 64) + "\" has no key or is longer than "
                + std::to_string(MaxNoteBytes) + " bytes";
            return false;
        }
        notes[key] = text;
    }
    return true;
}

// Reads the device elements under parent over state; false with a fault.
bool ReadDevices(const XMLElement* parent, RigState& state, std::string& fault)
{
    for (const XMLElement* d = parent->FirstChildElement("device"); d; d = d->NextSiblingElement("device")) {
        const std::string key = d->Attribute("key") ? d->Attribute("key") : "";
        RigState::Device& device = state.devices[key];
        if (const XMLElement* enabled = d->FirstChildElement("isenabled")) {
            const std::string value = enabled->GetText() ? enabled->GetText() : "";
            if (value != "0" && value != "1") {
                fault = "device \"" + key + "\": isenabled \"" + value + "\" is not 0 or 1";
                return false;
            }
            device.enabled = value == "1";
        }
        for (const XMLElement* s = d->FirstChildElement("scene"); s; s = s->NextSiblingElement("scene")) {
            SceneUpdate update;
            if (!SceneUpdate::Read(s, key, nullptr, update, fault)) {
                fault = "device \"" + key + "\", " + fault;
                return false;
            }
            update.ApplyTo(device);
        }
    }
    return true;
}

} // namespace

std::string RigDocuments::Capability(const RigLayout& layout)
{
    XMLDocument doc;
    XMLElement* root = AppendHead(doc);
    for (const RigLayout::Device& d : layout.Devices()) {
        XMLElement* device = Append(doc, root, "device", d.key);
        XMLElement* ledList = Append(doc, device, "ledlist");
        for (const RigLayout::Led& l : d.leds) {
            XMLElement* led = Append(doc, ledList, "led", l.key);
            AppendText(doc, led, "location", l.location);
            AppendText(doc, led, "locationname", l.locationName);
            AppendText(doc, led, "type", l.type);
        }
        XMLElement* modeList = Append(doc, device, "ecmodelist");
        for (const RigLayout::Mode& m : d.modes)
            AppendText(doc, Append(doc, modeList, "mode", NumberText::FormatInt(m.key)), "name", m.name);
    }
    return Print(doc);
}

std::string RigDocuments::Status(const RigLayout& layout, const RigState& state)
{
    XMLDocument doc;
    AppendDevices(doc, AppendHead(doc), layout, state, false);
    return Print(doc);
}

std::string RigDocuments::SavedState(const RigLayout& layout, const RigState& state, const RigState* defaults)
{
    XMLDocument doc;
    XMLElement* root = AppendHead(doc);
    AppendDevices(doc, root, layout, state, true);
    if (defaults) {
        XMLElement* kept = Append(doc, root, "defaults");
        AppendDevices(doc, kept, layout, *defaults, true);
        AppendNotes(doc, kept, defaults->notes);
    }
    return Print(doc);
}

bool RigDocuments::ReadSavedState(const std::string& text, RigState& state, RigState& defaults, std::string& fault)
{
    if (text.find('\0') != std::string::npos) {
        fault = "it holds a NUL character";
        return false;
    }
    XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    if (doc.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) {
        fault = std::string("it does not parse: ") + doc.ErrorStr();
        return false;
    }
    const XMLElement* root = doc.RootElement();
    const XMLElement* header = root ? root->FirstChildElement("header") : nullptr;
    if (!root || std::string(root->Name()) != "root" || root->NextSiblingElement() || !header || !header->GetText()
        || std::string(header->GetText()) != Header) {
        fault = "it is not a saved lighting state";
        return false;
    }
    RigState readState;
    RigState readDefaults;
    const XMLElement* kept = root->FirstChildElement("defaults");
    if (!ReadDevices(root, readState, fault)
        || (kept && (!ReadDevices(kept, readDefaults, fault) || !ReadNotes(kept, readDefaults.notes, fault))))
        return false;
    state = std::move(readState);
    defaults = std::move(readDefaults);
    return true;
}
