#include "ui/controls/LedColor.h"
#include "ui/controls/PaletteGeometry.h"

#include <QColor>
#include <QtTest>

#include <cstdint>
#include <cstring>

using namespace PaletteGeometry;

namespace {

std::uint32_t Bits(float f)
{
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

} // namespace

class TestPaletteGeometry : public QObject
{
    Q_OBJECT

private slots:
    void constants()
    {
        QCOMPARE(Bits(Pi), 0x40490FDAu);
        QCOMPARE(Bits(TwoPi), 0x40C90FDAu);
        QCOMPARE(Bits(HalfPi), 0x3FC90FDAu);
        QCOMPARE(DoubledTriangleArea(), 5016);
        QCOMPARE(TriangleCorners[0], QPoint(97, 32));
        QCOMPARE(TriangleCorners[1], QPoint(58, 98));
        QCOMPARE(TriangleCorners[2], QPoint(134, 98));
    }

    void thumbPositionForAngle()
    {
        const QSize thumb(33, 33);
        QCOMPARE(RingThumbTopLeft(0.0f, thumb), QPoint(82, -4));     // centre (98, 12)
        QCOMPARE(RingThumbTopLeft(HalfPi, thumb), QPoint(146, 60));  // centre (162, 76)
        QCOMPARE(RingThumbTopLeft(Pi, thumb), QPoint(82, 124));      // centre (98, 140)
        QCOMPARE(RingThumbTopLeft(Pi / 4, thumb), QPoint(127, 14));  // centre (143.25, 30.75) truncated
    }

    void angleOfPoint()
    {
        // The point pressed decides: the top of the ring is hue 0 exactly.
        QCOMPARE(*AngleOfPoint(QPoint(98, 12)), 0.0f);
        QVERIFY(qAbs(*AngleOfPoint(QPoint(162, 76)) - HalfPi) < 1e-6f);
        QVERIFY(qAbs(*AngleOfPoint(QPoint(98, 140)) - Pi) < 1e-6f);
        // The left half comes out negative, a turn below its hue.
        QVERIFY(qAbs(*AngleOfPoint(QPoint(34, 76)) + HalfPi) < 1e-6f);
        QVERIFY(qAbs(*AngleOfPoint(QPoint(114, 28)) - 0.32175055f) < 1e-6f);
        // The centre has no angle: nothing may reach a thumb position from it.
        QVERIFY(!AngleOfPoint(QPoint(98, 76)).has_value());
        QVERIFY(!AngleOfThumbTopLeft(QPoint(82, 60), QSize(33, 33)).has_value());
        QCOMPARE(*AngleOfThumbTopLeft(QPoint(82, -4), QSize(33, 33)), 0.0f);
    }

    void angleSurvivesThumbPlacement()
    {
        // A thumb placed for an angle reads back within a pixel of the
        // thumb circle (1/64 rad), whole turn round.
        for (int i = 0; i < 64; ++i) {
            const float a = i * TwoPi / 64;
            const float back = WrapAngleOnce(*AngleOfThumbTopLeft(RingThumbTopLeft(a, QSize(33, 33)), QSize(33, 33)));
            float diff = qAbs(back - a);
            diff = qMin(diff, TwoPi - diff);
            QVERIFY2(diff < 1.5f / 64, qPrintable(QString::number(a)));
        }
    }

    void wrapping()
    {
        QCOMPARE(WrapAngleOnce(-1.0f), TwoPi - 1.0f);
        QCOMPARE(WrapAngleOnce(TwoPi + 1.0f), TwoPi + 1.0f - TwoPi);
        QCOMPARE(WrapAngleOnce(1.0f), 1.0f);
        QCOMPARE(WrapDeltaOnce(-4.0f), -4.0f + TwoPi);
        QCOMPARE(WrapDeltaOnce(4.0f), 4.0f - TwoPi);
        QCOMPARE(WrapDeltaOnce(3.0f), 3.0f);
    }

    void ringBand()
    {
        // The band 48..80 around (98, 76), both ends included.
        QVERIFY(IsOnRing(QPoint(98, 28)));  // 48
        QVERIFY(!IsOnRing(QPoint(98, 29))); // 47
        QVERIFY(IsOnRing(QPoint(98, -4)));  // 80
        QVERIFY(!IsOnRing(QPoint(98, -5))); // 81
        QVERIFY(IsOnRing(QPoint(146, 76)));
        QVERIFY(IsOnRing(QPoint(18, 76)));
        QVERIFY(!IsOnRing(QPoint(17, 76)));
        QVERIFY(IsOnRing(QPoint(98 + 48, 76 + 48))); // 67.9
        QVERIFY(!IsOnRing(QPoint(98 + 57, 76 + 57))); // 80.6
        QVERIFY(!IsOnRing(QPoint(98, 76)));
    }

    void triangleTest()
    {
        for (const QPoint& corner : TriangleCorners)
            QVERIFY(IsInsideTriangle(corner));
        QVERIFY(IsInsideTriangle(QPoint(97, 65)));
        QVERIFY(IsInsideTriangle(QPoint(59, 97)));
        QVERIFY(!IsInsideTriangle(QPoint(58, 97))); // the left edge is at 58.59 there
        QVERIFY(!IsInsideTriangle(QPoint(96, 32)));
        QVERIFY(!IsInsideTriangle(QPoint(97, 99)));
        QVERIFY(!IsInsideTriangle(QPoint(135, 98)));
    }

    void clamping()
    {
        // y first, to 32..98.
        QCOMPARE(ClampToTriangle(QPoint(97, 10)), QPoint(97, 32));
        QCOMPARE(ClampToTriangle(QPoint(97, 120)), QPoint(97, 98));
        // Then onto the slanted edge on the point's side.
        QCOMPARE(ClampToTriangle(QPoint(0, 20)), QPoint(97, 32));
        QCOMPARE(ClampToTriangle(QPoint(200, 20)), QPoint(97, 32));
        QCOMPARE(ClampToTriangle(QPoint(0, 200)), QPoint(58, 98));
        QCOMPARE(ClampToTriangle(QPoint(200, 200)), QPoint(134, 98));
        QCOMPARE(ClampToTriangle(QPoint(0, 65)), QPoint(77, 65));   // 77.5 truncated
        QCOMPARE(ClampToTriangle(QPoint(200, 65)), QPoint(115, 65)); // 115.5 truncated
        QCOMPARE(ClampToTriangle(QPoint(100, 70)), QPoint(100, 70));
        QCOMPARE(TriangleThumbTopLeft(QPoint(58, 98), QSize(16, 16)), QPoint(50, 90));
    }

    void clampedPointsStayOnTheTriangle()
    {
        // Wherever the pointer goes, the thumb's centre ends up inside or, on
        // the left edge, less than a pixel outside.
        for (int y = -20; y <= 160; y += 3) {
            for (int x = -20; x <= 200; x += 3) {
                const QPoint c = ClampToTriangle(QPoint(x, y));
                QVERIFY(IsInsideTriangle(c) || IsInsideTriangle(c + QPoint(1, 0)));
            }
        }
    }

    void colourToPoint()
    {
        QCOMPARE(PointForColor(0.0f, 0.0f), QPoint(97, 32));
        QCOMPARE(PointForColor(0.0f, 1.0f), QPoint(134, 98));
        // Pure red: just left of P1, which the clamp brings onto the edge;
        // the thumb's top-left is then (50, 89).
        QCOMPARE(PointForColor(1.0f, 0.5f), QPoint(57, 97));
        QCOMPARE(TriangleThumbTopLeft(PointForColor(1.0f, 0.5f), QSize(16, 16)), QPoint(50, 89));
    }

    void pointToColour()
    {
        SaturationLightness sl = ColorAtPoint(97, 32);
        QCOMPARE(sl.saturation, 0.0f);
        QCOMPARE(sl.lightness, 0.0f);
        sl = ColorAtPoint(134, 98);
        QVERIFY(qAbs(sl.saturation) < 1e-6f);
        QVERIFY(qAbs(sl.lightness - 1.0f) < 1e-6f);
        // P1: full saturation, lightness 2913 / 5725 along the edge.
        sl = ColorAtPoint(58, 98);
        QVERIFY(qAbs(sl.saturation - 1.0f) < 1e-5f);
        QVERIFY(qAbs(sl.lightness - 2913.0f / 5725.0f) < 1e-5f);
        // The red button's thumb centre (58, 97).
        sl = ColorAtPoint(58, 97);
        QVERIFY(qAbs(sl.saturation - 4979.0f / 5016.0f) < 1e-5f);
        QVERIFY(qAbs(sl.lightness - 2847.0f / 5725.0f) < 1e-5f);
        // Beyond the corners the values are limited to 0..1.
        sl = ColorAtPoint(97, 0);
        QCOMPARE(sl.lightness, 0.0f);
        sl = ColorAtPoint(200, 98);
        QCOMPARE(sl.saturation, 0.0f);
        QCOMPARE(sl.lightness, 1.0f);
    }

    void highlightRegion()
    {
        const QRect rect(25, 5, 142, 142);
        QVERIFY(RangeHighlightRegion(1.0f, 0.0f).isEmpty());
        QCOMPARE(RangeHighlightRegion(1.0f, TwoPi), QRegion(rect));
        // Exactly half a turn from the top: the right half, the polygon itself.
        const QRegion half = RangeHighlightRegion(0.0f, Pi);
        QVERIFY(half.contains(QPoint(150, 76)));
        QVERIFY(!half.contains(QPoint(40, 76)));
        QVERIFY(half.boundingRect().right() > rect.right()); // not cut to the rectangle
        // Three quarters from the top: all but the upper-left quarter.
        const QRegion wide = RangeHighlightRegion(0.0f, 1.5f * Pi);
        QVERIFY(wide.contains(QPoint(150, 30)));
        QVERIFY(wide.contains(QPoint(150, 120)));
        QVERIFY(wide.contains(QPoint(40, 120)));
        QVERIFY(!wide.contains(QPoint(50, 30)));
        QVERIFY(rect.contains(wide.boundingRect()));
        // A start a turn below zero counts as the same start.
        QVERIFY(RangeHighlightRegion(-HalfPi, HalfPi).contains(QPoint(40, 40)));
    }

    void colourConversions()
    {
        QCOMPARE(LedColor::PackedFromHsl(0.0f, 1.0f, 0.5f), 255);
        QCOMPARE(LedColor::PackedFromHsl(1.0f / 3.0f, 1.0f, 0.5f), 65280);
        QCOMPARE(LedColor::PackedFromHsl(2.0f / 3.0f, 1.0f, 0.5f), 16711680);
        QCOMPARE(LedColor::PackedFromHsl(0.5f, 0.0f, 1.0f), 16777215);
        QCOMPARE(LedColor::PackedFromHsl(1.0f, 1.0f, 0.5f), 255);
        QCOMPARE(LedColor::NormalisedHue(1.25f), 0.25f);
        QCOMPARE(LedColor::NormalisedHue(-0.25f), 0.75f);
        QCOMPARE(LedColor::NormalisedHue(std::nanf("")), 0.0f);
    }
};

QTEST_APPLESS_MAIN(TestPaletteGeometry)
#include "TestPaletteGeometry.moc"
