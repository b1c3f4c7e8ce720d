#pragma once

#include <tinyxml2.h>

#include <memory>
#include <string>
#include <vector>

class DeviceMaster;

// Builds the capability model from the capability document: the synchronized
// group, and every other device that is not a peripheral, with their LEDs and
// modes. Pure: no service, no signals.
class CapabilityParser
{
public:
    struct Result
    {
        // The last "Group" device of the document, or null.
        std::unique_ptr<DeviceMaster> group;
        // "Mainboard" and every other non-peripheral device, in document order.
        std::vector<std::unique_ptr<DeviceMaster>> devices;
    };

    static Result Read(const tinyxml2::XMLDocument& document);
    static Result Parse(const std::string& text);

    // Devices that the panel does not drive ("Vga", "Keyboard", ...).
    static bool IsPeripheralKey(const std::string& key);
    // The display name of an LED for its location name.
    static std::string LedName(const std::string& locationName);

private:
    static std::unique_ptr<DeviceMaster> ReadDevice(const tinyxml2::XMLElement* element, const std::string& key);
};
