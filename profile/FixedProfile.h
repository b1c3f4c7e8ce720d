#pragma once

#include <string>

// The two profile documents the main window sends as literal text: one line,
// no declaration, built by no printer.
namespace FixedProfile {

// Both documents go to SetProfile with this target key.
inline constexpr const char* TargetKey = "Mainboard";

// funcid 1: switch every LED of the group on or off.
std::string LedSwitch(bool on);

// funcid 5: reset all lighting to the defaults.
std::string ResetAll();

} // namespace FixedProfile
