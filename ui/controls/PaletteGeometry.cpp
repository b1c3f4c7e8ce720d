#include "ui/controls/PaletteGeometry.h"

#include <QPolygon>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace PaletteGeometry {

const std::array<QPoint, 3> TriangleCorners = {QPoint(97, 32), QPoint(58, 98), QPoint(134, 98)};

namespace {

// In 64 bits: a point from a mouse drag far off the widget must not overflow.
long long Cross(QPoint a, QPoint b)
{
    return static_cast<long long>(a.x()) * b.y() - static_cast<long long>(a.y()) * b.x();
}

// The edge P0-P2 along which lightness runs, its length, and the triangle's
// height over it (the distance of P1 from that edge).
struct Edge
{
    float x;
    float y;
    float length;
    float height;
};

Edge LightnessEdge()
{
    const QPoint e = TriangleCorners[2] - TriangleCorners[0];
    const float length = static_cast<float>(std::sqrt(static_cast<double>(e.x() * e.x() + e.y() * e.y())));
    return {static_cast<float>(e.x()), static_cast<float>(e.y()), length,
            static_cast<float>(DoubledTriangleArea()) / length};
}

// NaN goes to 0 as well.
float Clamp01(float v)
{
    return v > 0.0f ? (v > 1.0f ? 1.0f : v) : 0.0f;
}

// An angle made from a status value can overflow to infinity; such a one
// points to the top rather than to no pixel at all.
float Finite(float angle)
{
    return std::isfinite(angle) ? angle : 0.0f;
}

// A point at twice the thumb circle's radius: far enough out that the wedge
// through it covers the whole ring.
QPoint OuterPoint(float angle)
{
    const float theta = HalfPi - Finite(angle);
    return QPoint(static_cast<int>(CenterX + 2.0f * ThumbCircleRadius * std::cos(theta)),
                  static_cast<int>(CenterY - 2.0f * ThumbCircleRadius * std::sin(theta)));
}

} // namespace

int DoubledTriangleArea()
{
    const QPoint& p0 = TriangleCorners[0];
    const QPoint& p1 = TriangleCorners[1];
    const QPoint& p2 = TriangleCorners[2];
    return std::abs((p0.x() - p2.x()) * (p1.y() - p2.y()) - (p0.y() - p2.y()) * (p1.x() - p2.x()));
}

QPoint RingThumbTopLeft(float angle, QSize thumb)
{
    const float theta = HalfPi - Finite(angle);
    const int cx = static_cast<int>(CenterX + ThumbCircleRadius * std::cos(theta));
    const int cy = static_cast<int>(CenterY - ThumbCircleRadius * std::sin(theta));
    return QPoint(cx - thumb.width() / 2, cy - thumb.height() / 2);
}

float AngleOfOffset(float dx, float dy)
{
    // Clockwise from 12 o'clock: the x offset plays the part of the sine.
    return std::atan2(dx, dy);
}

std::optional<float> AngleOfPoint(QPoint p)
{
    const int dx = p.x() - CenterX;
    const int dy = CenterY - p.y();
    if (dx == 0 && dy == 0)
        return std::nullopt;
    return AngleOfOffset(static_cast<float>(dx), static_cast<float>(dy));
}

std::optional<float> AngleOfThumbTopLeft(QPoint topLeft, QSize thumb)
{
    return AngleOfPoint(topLeft + QPoint(thumb.width() / 2, thumb.height() / 2));
}

float WrapAngleOnce(float angle)
{
    if (angle < 0.0f)
        return angle + TwoPi;
    if (angle > TwoPi)
        return angle - TwoPi;
    return angle;
}

float WrapDeltaOnce(float delta)
{
    if (delta < -Pi)
        return delta + TwoPi;
    if (delta > Pi)
        return delta - TwoPi;
    return delta;
}

bool IsOnRing(QPoint p, int halfBand)
{
    const long long dx = p.x() - CenterX;
    const long long dy = p.y() - CenterY;
    const long long d2 = dx * dx + dy * dy;
    const int radius = static_cast<int>(ThumbCircleRadius);
    const long long inner = std::max(0, radius - halfBand);
    const long long outer = radius + halfBand;
    return d2 >= inner * inner && d2 <= outer * outer;
}

bool IsInsideTriangle(QPoint p)
{
    long long sum = 0;
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j)
            sum += std::abs(Cross(TriangleCorners[i] - p, TriangleCorners[j] - p));
    }
    return sum == DoubledTriangleArea();
}

QPoint ClampToTriangle(QPoint p)
{
    const QPoint& p0 = TriangleCorners[0];
    const QPoint& p1 = TriangleCorners[1];
    const QPoint& p2 = TriangleCorners[2];
    const int py = std::clamp(p.y(), p0.y(), p1.y());
    int px = p.x();
    if (!IsInsideTriangle(QPoint(px, py))) {
        // The slanted edge on the point's side, from P0 down to P1 or P2.
        const QPoint& lower = px < p0.x() ? p1 : p2;
        const double t = static_cast<double>(py - lower.y()) / (p0.y() - lower.y());
        px = static_cast<int>(t * (p0.x() - lower.x()) + lower.x());
    }
    return QPoint(px, py);
}

QPoint TriangleThumbTopLeft(QPoint centre, QSize thumb)
{
    const QPoint c = ClampToTriangle(centre);
    return QPoint(static_cast<int>(c.x() - thumb.width() * 0.5), static_cast<int>(c.y() - thumb.height() * 0.5));
}

QPoint PointForColor(float saturation, float lightness)
{
    // A status may carry any number here; the thumb stays on the triangle.
    saturation = Clamp01(saturation);
    lightness = Clamp01(lightness);
    const Edge e = LightnessEdge();
    const QPoint& p0 = TriangleCorners[0];
    const float normal = saturation * e.height / e.length;
    return QPoint(static_cast<int>(e.x * lightness + p0.x() - e.y * normal),
                  static_cast<int>(e.y * lightness + p0.y() + e.x * normal));
}

SaturationLightness ColorAtPoint(float x, float y)
{
    const Edge e = LightnessEdge();
    const float rx = x - TriangleCorners[0].x();
    const float ry = y - TriangleCorners[0].y();
    // Signed: a point beyond P0 or on the far side of the edge reads as 0.
    const float along = (rx * e.x + ry * e.y) / e.length;
    const float across = (rx * -e.y + ry * e.x) / e.length;
    return {Clamp01(across / e.height), Clamp01(along / e.length)};
}

QRegion RangeHighlightRegion(float startAngle, float sweep)
{
    const float s = startAngle < 0.0f ? startAngle + TwoPi : startAngle;
    const bool wide = sweep > Pi;
    const float middle = s + sweep / 2.0f + (wide ? Pi : 0.0f);
    QPolygon wedge;
    wedge << QPoint(CenterX, CenterY) << OuterPoint(s) << OuterPoint(middle) << OuterPoint(s + sweep);
    const QRegion polygon(wedge);
    if (!wide)
        return polygon;
    return QRegion(QRect(ImageLeft, ImageTop, HighlightSide, HighlightSide)).subtracted(polygon);
}

} // namespace PaletteGeometry
