#include "model/CapabilityParser.h"

#include "model/DeviceMaster.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "model/ModelDocument.h"

#include <array>

using tinyxml2::XMLElement;

bool CapabilityParser::IsPeripheralKey(const std::string& key)
{
    static const std::array<const char*, 6> peripherals = {
        "Vga", "Keyboard", "Mouse", "PellixDram", "TarskAudioDevices_Headset", "TarskAudioDevices_Microphone",
    };
    for (const char* peripheral : peripherals)
        if (key == peripheral)
            return true;
    return false;
}

std::string CapabilityParser::LedName(const std::string& locationName)
{
    // The label under the LED is narrow: the two words go on two lines.
    return locationName == "PellixDram" ? std::string("Pellix\nDram") : locationName;
}

CapabilityParser::Result CapabilityParser::Parse(const std::string& text)
{
    return Read(*ModelDocument::Parse(text));
}

CapabilityParser::Result CapabilityParser::Read(const tinyxml2::XMLDocument& document)
{
    Result result;
    const XMLElement* root = document.FirstChildElement("root");
    if (!root)
        return result;
    for (const XMLElement* device = root->FirstChildElement("device"); device;
         device = device->NextSiblingElement("device")) {
        const std::string key = ModelDocument::Attribute(device, "key");
        if (key == "Group")
            result.group = ReadDevice(device, key);
        else if (!IsPeripheralKey(key))
            result.devices.push_back(ReadDevice(device, key));
    }
    return result;
}

std::unique_ptr<DeviceMaster> CapabilityParser::ReadDevice(const XMLElement* element, const std::string& key)
{
    auto device = std::make_unique<DeviceMaster>(key);

    const XMLElement* ledList = element->FirstChildElement("ledlist");
    for (const XMLElement* led = ledList ? ledList->FirstChildElement("led") : nullptr; led;
         led = led->NextSiblingElement("led")) {
        auto info = std::make_unique<LedInfo>(ModelDocument::Attribute(led, "key"),
                                              LedName(ModelDocument::ChildText(led, "locationname")));
        info->SetLocation(ModelDocument::ChildText(led, "location"));
        info->SetType(ModelDocument::ChildText(led, "type"));
        device->AddLed(std::move(info));
    }

    // Every device gets a mode list, empty when the document lists no modes.
    auto modes = std::make_unique<ModeList>(device.get());
    const XMLElement* modeList = element->FirstChildElement("ecmodelist");
    for (const XMLElement* mode = modeList ? modeList->FirstChildElement("mode") : nullptr; mode;
         mode = mode->NextSiblingElement("mode"))
        modes->AddMode(std::make_unique<ModeInfo>(ModelDocument::Attribute(mode, "key"),
                                                  ModelDocument::ChildText(mode, "name")));
    device->SetModes(std::move(modes));
    return device;
}
