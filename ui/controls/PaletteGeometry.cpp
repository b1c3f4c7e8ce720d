#include "ui/controls/PaletteGeometry.h"

#include <QPolygon>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace PaletteGeometry {

const std::array<QPoint, 3> TriangleCorners = {QPoint(97, 32), QPoint(58, 98), QPoint(134, 98)};

namespace {

// The edge P0-P2 along which lightness runs, and the two integers its
// mapping is made of: its squared length and the doubled triangle area
// (its length times the triangle's height over it).
struct Edge
{
    double x;
    double y;
    double lengthSquared;
    double doubledArea;
};

Edge LightnessEdge()
{
    const QPoint e = TriangleCorners[2] - TriangleCorners[0];
    return {static_cast<double>(e.x()), static_cast<double>(e.y()),
            static_cast<double>(e.x() * e.x() + e.y() * e.y()), static_cast<double>(DoubledTriangleArea())};
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

QPointF ClampToTriangle(QPointF p)
{
    const QPoint& p0 = TriangleCorners[0];
    const QPoint& p1 = TriangleCorners[1];
    const QPoint& p2 = TriangleCorners[2];
    const double y = std::isnan(p.y()) ? p0.y() : std::clamp<double>(p.y(), p0.y(), p1.y());
    // From the apex at the top to the base at the bottom.
    const double t = (y - p0.y()) / (p1.y() - p0.y());
    const double left = p0.x() + t * (p1.x() - p0.x());
    const double right = p0.x() + t * (p2.x() - p0.x());
    const double x = std::isnan(p.x()) ? left : std::clamp(p.x(), left, right);
    return QPointF(x, y);
}

QPoint TriangleThumbTopLeft(QPointF centre, QSize thumb)
{
    const QPointF c = ClampToTriangle(centre);
    return QPoint(qRound(c.x() - thumb.width() * 0.5), qRound(c.y() - thumb.height() * 0.5));
}

SaturationLightness LimitedColor(float saturation, float lightness)
{
    return {Clamp01(saturation), Clamp01(lightness)};
}

QPointF PointForColor(float saturation, float lightness)
{
    // A status may carry any number here; the thumb stays on the triangle.
    const double s = Clamp01(saturation);
    const double l = Clamp01(lightness);
    const Edge e = LightnessEdge();
    // Along the normal (-e.y, e.x), whose length is the edge's: one
    // triangle height is doubledArea / lengthSquared of it.
    const double normal = s * e.doubledArea / e.lengthSquared;
    const QPoint& p0 = TriangleCorners[0];
    return QPointF(p0.x() + l * e.x - normal * e.y, p0.y() + l * e.y + normal * e.x);
}

SaturationLightness ColorAtPoint(QPointF p)
{
    const Edge e = LightnessEdge();
    const double rx = p.x() - TriangleCorners[0].x();
    const double ry = p.y() - TriangleCorners[0].y();
    // Signed: a point beyond P0 or on the far side of the edge reads as 0.
    const double along = (rx * e.x + ry * e.y) / e.lengthSquared;
    const double across = (ry * e.x - rx * e.y) / e.doubledArea;
    return {Clamp01(static_cast<float>(across)), Clamp01(static_cast<float>(along))};
}

SaturationLightness StepLightness(SaturationLightness colour, float delta)
{
    const float lightness = Clamp01(Clamp01(colour.lightness) + delta);
    // The triangle is widest at P1's lightness, where it holds saturation 1,
    // and narrows to nothing at P0 (0) and P2 (1).
    const double atP1 = ColorAtPoint(TriangleCorners[1]).lightness;
    const double widest = lightness <= atP1 ? lightness / atP1 : (1.0 - lightness) / (1.0 - atP1);
    return {std::min(Clamp01(colour.saturation), static_cast<float>(widest)), lightness};
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
