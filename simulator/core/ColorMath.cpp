#include "simulator/core/ColorMath.h"

#include <algorithm>
#include <cmath>

namespace {

float Channel(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    if (t < 1.0f / 6.0f)
        return p + (q - p) * 6.0f * t;
    if (t < 0.5f)
        return q;
    if (t < 2.0f / 3.0f)
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

unsigned Byte(float channel)
{
    return static_cast<unsigned>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

} // namespace

namespace ColorMath {

unsigned PackedFromHsl(float hue, float saturation, float lightness)
{
    const float h = std::clamp(hue, 0.0f, 1.0f);
    const float s = std::clamp(saturation, 0.0f, 1.0f);
    const float l = std::clamp(lightness, 0.0f, 1.0f);
    if (s == 0.0f)
        return Byte(l) * 0x010101u;
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    return Byte(Channel(p, q, h + 1.0f / 3.0f)) + 256u * Byte(Channel(p, q, h)) + 65536u * Byte(Channel(p, q, h - 1.0f / 3.0f));
}

} // namespace ColorMath
