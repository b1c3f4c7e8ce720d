#pragma once

// A small device model for profile tests: the group with two LEDs whose S0
// settings carry distinct colours, built from the model records directly.
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"

#include <memory>
#include <string>

namespace ProfileFixture {

inline EffectSetting* SetS0(LedInfo& led, int color, float hue, float saturation, float lightness, int speed = 0)
{
    const EffectSetting setting{0, nullptr, color, hue, saturation, lightness, speed, 1, 0, 0, 0, 0, false, 0, 0, {}};
    led.SetLoadedSetting(0, std::make_unique<EffectSetting>(setting));
    led.SetSetting(0, std::make_unique<EffectSetting>(setting));
    return led.GetSetting(0);
}

// "DIMM_A1" pure red, "DIMM_A2" pure blue at two thirds of the circle.
inline std::unique_ptr<DeviceMaster> TwoLedGroup(const std::string& key = "Group")
{
    auto device = std::make_unique<DeviceMaster>(key);
    device->AddLed(std::make_unique<LedInfo>("DIMM_A1", "Pellix\nDram"));
    device->AddLed(std::make_unique<LedInfo>("DIMM_A2", "Pellix\nDram"));
    SetS0(*device->GetLeds()[0], 255, 0.0f, 1.0f, 0.5f, 2);
    SetS0(*device->GetLeds()[1], 16711680, 2.0f / 3.0f, 1.0f, 0.5f, -1);
    return device;
}

} // namespace ProfileFixture
