#pragma once

#include <string>
#include <vector>

// The hardware of a rig: its devices, the LEDs of each and the effects each
// offers. It never changes while the service runs; the capability document
// describes it.
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

    // The virtual rig: a synchronized group of four memory modules and the
    // board's LEDs, the board itself and a keyboard.
    static RigLayout Default();
    // The devices, LEDs and effects a capability document lists; a text that
    // does not parse gives a rig without devices.
    static RigLayout FromCapability(const std::string& text);

    const std::vector<Device>& Devices() const { return devices; }
    const Device* FindDevice(const std::string& key) const;

private:
    std::vector<Device> devices;
};
