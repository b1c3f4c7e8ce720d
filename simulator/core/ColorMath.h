#pragma once

// Colour conversions of the rig.
namespace ColorMath {

// The packed colour (red + 256 * green + 65536 * blue) of a hue in turns and a
// saturation and lightness in 0..1; values outside 0..1 are clamped.
unsigned PackedFromHsl(float hue, float saturation, float lightness);

struct Hsl
{
    float hue = 0.0f; // in turns, 0 for greys
    float saturation = 0.0f;
    float lightness = 0.0f;
};

// The hue, saturation and lightness of a packed colour (its top byte ignored).
Hsl HslFromPacked(unsigned packed);

} // namespace ColorMath
