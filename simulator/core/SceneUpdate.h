#pragma once

#include "simulator/core/RigState.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}
class RigLayout;

// One `scene` element of a profile or status document, read and checked
// against the device it belongs to. Values the element leaves out, and LED
// values written "na", leave what the rig holds unchanged.
struct SceneUpdate
{
    int scene = 0;
    int mode = 0;
    std::optional<int> colorSynced;
    std::optional<std::string> colorType;
    std::optional<float> cycleStart;
    std::optional<float> cycleEnd;
    std::optional<float> cycleRange;
    std::optional<int> startToEnd;
    std::optional<int> musicIndex;
    std::optional<int> effectSpeed;
    std::optional<std::map<std::string, int>> pathOrder;
    std::vector<std::pair<std::string, RigState::LedValues>> leds;

    // Reads the scene of the device with key deviceKey; false with a fault
    // naming the element and the value that is wrong. Without a layout (a
    // saved state, which may name devices, LEDs and effects the rig lacks at
    // the moment) only the values are checked, not the keys.
    static bool Read(const tinyxml2::XMLElement* scene, const std::string& deviceKey, const RigLayout* layout,
                     SceneUpdate& update, std::string& fault);

    // Writes the update into the device's scene.
    void ApplyTo(RigState::Device& device) const;
};
