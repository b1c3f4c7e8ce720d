#pragma once

#include <string>
#include <utility>
#include <vector>

// The hardware of a rig at one moment: its devices, the LEDs of each and the
// effects each offers, as the capability document describes them. A rig hands
// the service a new layout whenever its devices change.
class RigLayout
{
public:
    struct Led
    {
        std::string key;
        std::string location;
        std::string locationName;
        std::string type;
    };
    struct Mode
    {
        int key = 0;
        std::string name;
    };
    struct Device
    {
        std::string key;
        std::vector<Led> leds;
        std::vector<Mode> modes;

        bool HasLed(const std::string& ledKey) const;
        bool HasMode(int modeKey) const;
    };

    RigLayout() = default;
    explicit RigLayout(std::vector<Device> devices) : devices(std::move(devices)) {}

    // Every effect the panel knows, in its order, with the names rigs give them.
    static const std::vector<Mode>& PanelEffects();

    // The devices, LEDs and effects a capability document lists; a text that
    // does not parse gives a rig without devices.
    static RigLayout FromCapability(const std::string& text);

    const std::vector<Device>& Devices() const { return devices; }
    const Device* FindDevice(const std::string& key) const;

private:
    std::vector<Device> devices;
};
