#pragma once

#include <QImage>

#include <optional>

// Colour conversions shared by the palette, the LED dots and their images.
namespace LedColor {

// A hue in turns brought into 0..1 (1.25 -> 0.25, -0.25 -> 0.75); a value
// that is not a number gives 0.
float NormalisedHue(float hue);

// The packed document colour red + 256 * green + 65536 * blue of an HSL
// colour (each 0..1; hue wrapped, saturation and lightness limited).
int PackedFromHsl(float hue, float saturation, float lightness);

// A copy of source (as straight ARGB32) in which every pixel takes the given
// hue, keeps its own HSL lightness and alpha, and keeps its own saturation
// unless one is given.
QImage TintToHue(const QImage& source, float hue, std::optional<float> saturation = std::nullopt);

} // namespace LedColor
