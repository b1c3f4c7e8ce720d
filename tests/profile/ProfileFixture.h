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
    auto setting = std::make_unique<EffectSetting>();
    setting->color = color;
    setting->hue = hue;
    setting->saturation = saturation;
    setting->lightness = lightness;
    setting->speed = speed;
    setting->direction = 1;
    EffectSetting* raw = setting.get();
    led.SetLoadedSetting(0, std::make_unique<EffectSetting>(*setting));
    led.SetSetting(0, std::move(setting));
    return raw;
}

// "DIMM_A1" pure red, "DIMM_A2" pure blue at two thirds of the circle.
inline std::unique_ptr<DeviceMaster> TwoLedGroup(const std::string& key = "Group")
{
    auto device = std::make_unique<DeviceMaster>(key);
    auto first = std::make_unique<LedInfo>("DIMM_A1", "Pellix\nDram");
    SetS0(*first, 255, 0.0f, 1.0f, 0.5f, 2);
    auto second = std::make_unique<LedInfo>("DIMM_A2", "Pellix\nDram");
    SetS0(*second, 16711680, 2.0f / 3.0f, 1.0f, 0.5f, -1);
    device->AddLed(std::move(first));
    device->AddLed(std::move(second));
    return device;
}

} // namespace ProfileFixture
