#pragma once

// Colour conversions of the rig.
namespace ColorMath {

// The packed colour (red + 256 * green + 65536 * blue) of a hue in turns and a
// saturation and lightness in 0..1; values outside 0..1 are clamped.
unsigned PackedFromHsl(float hue, float saturation, float lightness);

} // namespace ColorMath
