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

Hsl HslFromPacked(unsigned packed)
{
    const float r = static_cast<float>(packed & 0xffu) / 255.0f;
    const float g = static_cast<float>((packed >> 8) & 0xffu) / 255.0f;
    const float b = static_cast<float>((packed >> 16) & 0xffu) / 255.0f;
    const float high = std::max({r, g, b});
    const float low = std::min({r, g, b});
    Hsl hsl;
    hsl.lightness = (high + low) / 2.0f;
    const float chroma = high - low;
    if (chroma <= 0.0f)
        return hsl;
    hsl.saturation = chroma / (1.0f - std::fabs(2.0f * hsl.lightness - 1.0f));
    float sixths;
    if (high == r)
        sixths = std::fmod((g - b) / chroma + 6.0f, 6.0f);
    else if (high == g)
        sixths = (b - r) / chroma + 2.0f;
    else
        sixths = (r - g) / chroma + 4.0f;
    hsl.hue = sixths / 6.0f;
    hsl.saturation = std::clamp(hsl.saturation, 0.0f, 1.0f);
    return hsl;
}

} // namespace ColorMath
