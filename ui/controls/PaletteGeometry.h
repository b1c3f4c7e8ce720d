#pragma once

#include <QPoint>
#include <QPointF>
#include <QRegion>
#include <QSize>

#include <array>
#include <optional>

// The geometry of the colour palette (NewLedPalette), in the palette's own
// pixel coordinates. Everything here is pure so that it can be checked, and
// the palette's images drawn, without a display.
//
// Angles: a palette angle is in radians, 0 at the top of the ring (12 o'clock),
// growing clockwise; hue = angle / TwoPi, so red is at the top, green at the
// lower right and blue at the lower left.
namespace PaletteGeometry {

// The palette works with these single-precision values of pi throughout (one
// unit in the last place below the floats nearest to pi, 2*pi and pi/2).
constexpr float Pi = 3.1415925f;
constexpr float TwoPi = 6.283185f;
constexpr float HalfPi = 1.5707963f;

constexpr int CenterX = 98;
constexpr int CenterY = 76;
// The centres of the ring thumbs lie on this circle.
constexpr float ThumbCircleRadius = 64.0f;
constexpr int RingThumbSide = 33;
constexpr int TriangleThumbSide = 16;
// Where the ring and triangle images are drawn, and the rectangle that the
// range highlight may cover.
constexpr int ImageLeft = 25;
constexpr int ImageTop = 5;
constexpr int HighlightSide = 142;

// The triangle's corners P0 (top), P1 (lower left, full saturation) and
// P2 (lower right); one list for the whole application.
extern const std::array<QPoint, 3> TriangleCorners;

// |(x0 - x2)(y1 - y2) - (y0 - y2)(x1 - x2)| of the corner list (5016).
int DoubledTriangleArea();

// Top-left corner of a ring thumb of the given size whose centre shows angle.
QPoint RingThumbTopLeft(float angle, QSize thumb);

// Palette angle of the offset (dx right, dy up) from the ring centre, in
// -pi..pi (left half negative). Exact at the four compass points.
float AngleOfOffset(float dx, float dy);
// Palette angle of a point; none at the ring centre itself, where the angle
// is undefined (callers keep the angle they had).
std::optional<float> AngleOfPoint(QPoint p);
// Palette angle shown by a ring thumb whose top-left corner is at topLeft.
std::optional<float> AngleOfThumbTopLeft(QPoint topLeft, QSize thumb);

// Brings an angle into 0..2*pi by adding or subtracting one turn, once.
float WrapAngleOnce(float angle);
// Brings an angle difference into -pi..pi, once.
float WrapDeltaOnce(float delta);

// True when p lies in the band of the ring that takes presses: distance from
// the centre within ThumbCircleRadius -/+ halfBand (both ends included).
bool IsOnRing(QPoint p, int halfBand = RingThumbSide / 2);

// The triangle's point nearest p in the palette's own sense: y limited to the
// triangle's height first, then x to the triangle's width at that height.
QPointF ClampToTriangle(QPointF p);
// Top-left corner, in whole pixels, of a thumb of the given size centred on
// the (clamped) point: where the thumb is drawn.
QPoint TriangleThumbTopLeft(QPointF centre, QSize thumb);

struct SaturationLightness
{
    float saturation;
    float lightness;
};

// Saturation and lightness each limited to 0..1 (a value that is no number
// counts as 0): how a status's values show.
SaturationLightness LimitedColor(float saturation, float lightness);
// The point that shows (saturation, lightness): P0 moved by lightness times
// the edge P0-P2 and by saturation times the triangle's height along the
// edge's normal toward P1. Values outside 0..1 count as the nearer end; the
// point itself is not clamped to the triangle (a pure colour, saturation 1
// and lightness 0.5, lies a hair left of P1, where lightness is 2913/5725).
QPointF PointForColor(float saturation, float lightness);
// The exact inverse: lightness is the position along the edge P0-P2 (0 at
// P0, 1 at P2), saturation the distance from that edge over the triangle's
// height, both limited to 0..1.
SaturationLightness ColorAtPoint(QPointF p);
// Lightness moved by delta (limited to 0..1) with saturation kept where the
// triangle is wide enough for it, else the most that fits at the new
// lightness: the colour stays one the triangle shows.
SaturationLightness StepLightness(SaturationLightness colour, float delta);

// The part of the ring that a range (start angle, sweep in 0..2*pi) lights:
// the wedge between the two thumbs, or for a sweep above pi the highlight
// rectangle minus the wedge that is not selected.
QRegion RangeHighlightRegion(float startAngle, float sweep);

} // namespace PaletteGeometry
