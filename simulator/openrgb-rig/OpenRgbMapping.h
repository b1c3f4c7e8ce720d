#pragma once

#include "simulator/core/RigLayout.h"
#include "simulator/core/RigState.h"
#include "simulator/openrgb/OpenRgbRecords.h"

#include <string>
#include <vector>

// What the lighting service makes of an OpenRGB server's controllers, as a
// pure function of their descriptions:
//
// - memory modules and main boards form "Group", one LED entry per LED of
//   theirs (modules first), modules as "PellixDram" LEDs at location 1004,
//   board LEDs named and placed after their zone and LED names; the boards
//   are listed again as "Mainboard";
// - keyboards, mice, graphics cards and headsets become "Keyboard", "Mouse",
//   "Vga" and "TarskAudioDevices_Headset", one entry per zone (the panel
//   shows none of them; a keyboard's hundred keys would only swell every
//   document), two of a kind sharing one device;
// - every other controller is left alone.
//
// LED keys are 7-bit text made of the controller's serial (its location, or
// its name, where the serial is empty), the zone and the LED's place in it,
// so they stay the same across restarts and re-detection; at most 64 bytes.
// Every device offers every effect the panel knows.
struct OpenRgbMapping
{
    struct Controller
    {
        // The controller's place in the server's list, and its own key (the
        // start of its LEDs' keys).
        size_t index = 0;
        std::string key;
        // The device it shows its LEDs in ("Group", "Keyboard"...); empty for
        // a controller the service leaves alone.
        std::string deviceKey;
        // The key of each LED of the controller, in its LED order; the LEDs
        // of a zone shown as one entry share its key.
        std::vector<std::string> ledKeys;
    };

    static constexpr size_t MaxKeyBytes = 64;

    RigLayout layout;
    // What the devices show as read, as the service keeps defaults: the LEDs'
    // colours, the effect nearest their active modes, and per controller a
    // note of the active mode (HardwareMode::Note) under its key.
    RigState defaults;
    // Those the service shows, in the server's order.
    std::vector<Controller> controllers;

    static OpenRgbMapping FromDevices(const std::vector<OpenRgb::Device>& devices);

    // The document device a controller's LEDs belong to, empty for none.
    static std::string DeviceKeyOf(OpenRgb::DeviceType type);
    // The controller's key without regard to others that may share it.
    static std::string ControllerKey(const OpenRgb::Device& device);
};
