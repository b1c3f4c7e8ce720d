#pragma once

#include "simulator/core/SceneUpdate.h"

#include <string>
#include <vector>

class RigLayout;

// A profile document as the service reads it, checked against the rig: the
// protocol header, the version that goes with the function, the function, the
// device, and what the function needs. Whatever does not fit is a fault that
// names the element.
struct ProfileDocument
{
    int funcid = 0;
    std::string deviceKey;
    bool enable = false;             // funcid 1
    std::vector<SceneUpdate> scenes; // funcid 4

    // Reads the document sent with the target key; false with the fault when
    // it is not a profile this rig can apply.
    static bool Parse(const std::string& target, const std::string& text, const RigLayout& layout,
                      ProfileDocument& doc, std::string& fault);
};
