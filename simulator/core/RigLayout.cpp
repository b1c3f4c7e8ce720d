#include "simulator/core/RigLayout.h"

#include "app/NumberText.h"

#include <tinyxml2.h>

#include <algorithm>

namespace {

const char* TextOf(const tinyxml2::XMLElement* parent, const char* child)
{
    const tinyxml2::XMLElement* element = parent ? parent->FirstChildElement(child) : nullptr;
    const char* text = element ? element->GetText() : nullptr;
    return text ? text : "";
}

} // namespace

bool RigLayout::Device::HasLed(const std::string& ledKey) const
{
    return std::any_of(leds.begin(), leds.end(), [&](const Led& led) { return led.key == ledKey; });
}

bool RigLayout::Device::HasMode(int modeKey) const
{
    return std::any_of(modes.begin(), modes.end(), [&](const Mode& mode) { return mode.key == modeKey; });
}

const std::vector<RigLayout::Mode>& RigLayout::PanelEffects()
{
    static const std::vector<Mode> effects = {
        {1, "Static"},         {2, "Breathing"},      {3, "Strobing"}, {4, "Color Cycle"}, {5, "Rainbow"},
        {8, "Comet"},          {10, "Double Comet"},  {11, "Wave"},    {12, "Color Wave"}, {13, "Ripple"},
        {17, "Random Strobe"}, {18, "Temperature"},   {19, "Music"},   {101, "Sleep"},
    };
    return effects;
}

RigLayout RigLayout::FromCapability(const std::string& text)
{
    RigLayout rig;
    tinyxml2::XMLDocument xml(true, tinyxml2::PRESERVE_WHITESPACE);
    if (xml.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS || !xml.RootElement())
        return rig;
    for (const tinyxml2::XMLElement* d = xml.RootElement()->FirstChildElement("device"); d;
         d = d->NextSiblingElement("device")) {
        Device device;
        device.key = d->Attribute("key") ? d->Attribute("key") : "";
        const tinyxml2::XMLElement* ledList = d->FirstChildElement("ledlist");
        for (const tinyxml2::XMLElement* l = ledList ? ledList->FirstChildElement("led") : nullptr; l;
             l = l->NextSiblingElement("led")) {
            device.leds.push_back(Led{l->Attribute("key") ? l->Attribute("key") : "", TextOf(l, "location"),
                                      TextOf(l, "locationname"), TextOf(l, "type")});
        }
        const tinyxml2::XMLElement* modeList = d->FirstChildElement("ecmodelist");
        for (const tinyxml2::XMLElement* m = modeList ? modeList->FirstChildElement("mode") : nullptr; m;
             m = m->NextSiblingElement("mode")) {
            if (const std::optional<int> key = NumberText::ParseInt(m->Attribute("key") ? m->Attribute("key") : ""))
                device.modes.push_back(Mode{*key, TextOf(m, "name")});
        }
        rig.devices.push_back(std::move(device));
    }
    return rig;
}

const RigLayout::Device* RigLayout::FindDevice(const std::string& key) const
{
    for (const Device& device : devices) {
        if (device.key == key)
            return &device;
    }
    return nullptr;
}
