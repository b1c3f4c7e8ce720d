#pragma once

#include <map>
#include <string>

class ModeInfo;

// One parsed status setting. Per LED and scene it carries the per-LED values
// (color .. direction); on the group it carries the effect-wide ones
// (colorType .. pathOrder). Copying copies every field; mode stays a pointer
// into the capability model.
struct EffectSetting
{
    int scene = 0;                 // 0 = running system ("S0"), 1 = any other power state
    ModeInfo* mode = nullptr;
    int color = 0;                 // red + 256 * green + 65536 * blue
    float hue = 0.0f;              // turns, 0..1
    float saturation = 0.0f;
    float lightness = 0.0f;
    int speed = 0;
    int direction = 0;
    int colorType = 0;             // 0 "Plain", 1 "Gradient", 2 "Cycle"
    float cycleStart = 0.0f;
    float cycleEnd = 0.0f;
    float cycleRange = 0.0f;
    bool endToStart = false;
    int musicIndex = 0;
    int effectSpeed = 0;
    std::map<std::string, int> pathOrder;
};
