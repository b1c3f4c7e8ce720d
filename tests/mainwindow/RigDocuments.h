#pragma once

#include <string>
#include <utility>
#include <vector>

// Small capability and status documents for the window tests: a group of two
// memory modules and a main board with one LED.
namespace RigDocuments {

using Modes = std::vector<std::pair<std::string, std::string>>;

// Effects 1 Static, 2 Breathing, 4 Color Cycle, 6 (no view of its own) and 101 Sleep.
const Modes& DefaultModes();

std::string Capability(const Modes& modes = DefaultModes());
// A capability document without the group.
std::string CapabilityWithoutGroup();

// The group runs the effect modeKey; ledsOn gives its isenabled.
std::string Status(const std::string& modeKey, bool ledsOn = true);
// A status whose group reports no scene at all.
std::string StatusWithoutGroupScene();

} // namespace RigDocuments
