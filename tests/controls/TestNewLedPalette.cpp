#include "ui/controls/NewLedPalette.h"
#include "ui/controls/PaletteGeometry.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

using namespace PaletteGeometry;

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Presses a thumb at its centre and moves that centre through palette
// points, or releases it when there are none.
void Drag(QWidget* thumb, const QVector<QPoint>& centres)
{
    const QPoint grab(thumb->width() / 2, thumb->height() / 2);
    SendMouse(thumb, centres.isEmpty() ? QEvent::MouseButtonRelease : QEvent::MouseButtonPress, grab);
    for (const QPoint& c : centres)
        SendMouse(thumb, QEvent::MouseMove, c - thumb->pos());
}

// Palette points on the ring thumbs' circle at palette angles.
QVector<QPoint> OnCircle(std::initializer_list<float> angles)
{
    QVector<QPoint> points;
    for (float a : angles)
        points << QPoint(qRound(CenterX + 64 * std::sin(a)), qRound(CenterY - 64 * std::cos(a)));
    return points;
}

struct Hsl
{
    float h, s, l;
};

} // namespace

class TestNewLedPalette : public QObject
{
    Q_OBJECT

    std::unique_ptr<NewLedPalette> palette;

    QWidget* child(const char* name) const { return palette->findChild<QWidget*>(name); }
    QPoint trianglePos() const { return child("triangleThumb")->pos(); }
    void press(QPoint p) { QTest::mouseClick(palette.get(), Qt::LeftButton, Qt::NoModifier, p); }
    Hsl color() const
    {
        Hsl c;
        palette->getColor(c.h, c.s, c.l);
        return c;
    }

private slots:
    // The geometry first: pure functions, no widget needed.
    void constantsAndAngles()
    {
        QCOMPARE(DoubledTriangleArea(), 5016);
        const QSize thumb(33, 33);
        QCOMPARE(RingThumbTopLeft(HalfPi, thumb), QPoint(146, 60));
        QCOMPARE(RingThumbTopLeft(Pi / 4, thumb), QPoint(127, 14)); // centre (143.25, 30.75) truncated
        // The point pressed decides: the top of the ring is hue 0 exactly,
        // the left half comes out a turn below its hue.
        QCOMPARE(*AngleOfPoint(QPoint(98, 12)), 0.0f);
        QVERIFY(qAbs(*AngleOfPoint(QPoint(98, 140)) - Pi) < 1e-6f);
        QVERIFY(qAbs(*AngleOfPoint(QPoint(34, 76)) + HalfPi) < 1e-6f);
        // The centre has no angle: nothing may reach a thumb position from it.
        QVERIFY(!AngleOfPoint(QPoint(98, 76)).has_value());
        QVERIFY(!AngleOfThumbTopLeft(QPoint(82, 60), thumb).has_value());
        QVERIFY(RangeHighlightRegion(1.0f, 0.0f).isEmpty());
        QCOMPARE(RangeHighlightRegion(1.0f, TwoPi), QRegion(25, 5, 142, 142));
        // Three quarters from the top: all but the upper-left quarter.
        const QRegion wide = RangeHighlightRegion(0.0f, 1.5f * Pi);
        QVERIFY(wide.contains(QPoint(150, 30)) && wide.contains(QPoint(40, 120)) && !wide.contains(QPoint(50, 30)));
    }

    void points_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("onRing"); // the band 48..80 around (98, 76)
        QTest::addColumn<QPointF>("clamped"); // y to 32..98, then x into the triangle's width there
        QTest::newRow("ring inner edge 48") << QPoint(98, 28) << true << QPointF(97, 32);
        QTest::newRow("inside the ring, 47") << QPoint(98, 29) << false << QPointF(97, 32);
        QTest::newRow("ring outer edge 80") << QPoint(98, -4) << true << QPointF(97, 32);
        QTest::newRow("beyond the ring, 81") << QPoint(98, -5) << false << QPointF(97, 32);
        QTest::newRow("inside the left edge") << QPoint(59, 97) << false << QPointF(59, 97);
        QTest::newRow("left edge at 58.59") << QPoint(58, 97) << false << QPointF(97 - 39 * 65 / 66.0, 97);
        QTest::newRow("right of the right edge") << QPoint(200, 65) << false << QPointF(115.5, 65);
        QTest::newRow("far lower right") << QPoint(200, 200) << false << QPointF(134, 98);
        QTest::newRow("very far left") << QPoint(-60000000, 65) << false << QPointF(77.5, 65);
    }

    void points()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, onRing);
        QFETCH(QPointF, clamped);
        QCOMPARE(IsOnRing(point), onRing);
        QCOMPARE(ClampToTriangle(point), clamped);
    }

    // Colour to point and back in floating point, inside the triangle and
    // beyond it (pure colours lie a hair outside): documents print the same
    // six decimals, and a pointer's point comes back to the same place.
    void colourRoundTrips()
    {
        const auto printed = [](float v) { return QByteArray::number(v, 'f', 6); };
        for (int i = 0; i <= 1000; i += 7) {
            for (int j = 0; j <= 1000; j += 3) {
                const float s = printed(i * 0.001f).toFloat(), l = printed(j * 0.001f).toFloat();
                const SaturationLightness back = ColorAtPoint(PointForColor(s, l));
                QVERIFY2(qAbs(back.saturation - s) < 1e-7f && qAbs(back.lightness - l) < 1e-7f &&
                             printed(back.saturation) == printed(s) && printed(back.lightness) == printed(l),
                         qPrintable(QStringLiteral("%1 %2").arg(s).arg(l)));
            }
        }
        for (int x = 58; x <= 134; x += 3) {
            for (int y = 32; y <= 98; y += 2) {
                const QPointF p = ClampToTriangle(QPointF(x, y));
                const SaturationLightness c = ColorAtPoint(p);
                QVERIFY(QLineF(PointForColor(c.saturation, c.lightness), p).length() < 1e-4);
            }
        }
        QCOMPARE(PointForColor(0.0f, 1.0f), QPointF(134, 98));
        // A status can say anything: out-of-range values show as the nearer end.
        QCOMPARE(PointForColor(57826346.0f, -3.0e38f), PointForColor(1.0f, 0.0f));
        QCOMPARE(PointForColor(std::nanf(""), 2.0f), PointForColor(0.0f, 1.0f));
        QCOMPARE(RingThumbTopLeft(std::numeric_limits<float>::infinity(), QSize(33, 33)), RingThumbTopLeft(0.0f, QSize(33, 33)));
        // Lightness runs along the whole edge P0-P2: at P1 it is 2913 / 5725.
        QVERIFY(ColorAtPoint(QPointF(58, 98)).saturation == 1.0f && ColorAtPoint(QPointF(58, 98)).lightness == 2913.0f / 5725.0f);
        // Beyond the corners the values stay within 0..1.
        QVERIFY(ColorAtPoint(QPointF(97, 0)).lightness == 0.0f && ColorAtPoint(QPointF(200, 98)).lightness == 1.0f &&
                ColorAtPoint(QPointF(200, 98)).saturation == 0.0f);
    }

    // Up and Down on the keyboard: lightness moves by exactly the step, and
    // saturation gives way only where the triangle is too narrow for it.
    void lightnessSteps()
    {
        const float atP1 = 2913.0f / 5725.0f;
        const struct
        {
            SaturationLightness from;
            float delta, saturation;
        } steps[] = {
            {{0.2f, 0.5f}, 0.01f, 0.2f},
            {{0.2f, 0.5f}, -0.01f, 0.2f},
            {{1.0f, 0.5f}, -0.01f, 0.49f / atP1},         // pure red, darker: along the left edge
            {{1.0f, 0.5f}, 0.01f, 0.49f / (1.0f - atP1)}, // lighter: along the right edge
            {{0.5f, 0.005f}, -0.01f, 0.0f},                // into the dark corner, and no further
            {{0.0f, 1.0f}, 0.01f, 0.0f},
        };
        for (const auto& step : steps) {
            const SaturationLightness got = StepLightness(step.from, step.delta);
            QVERIFY2(qAbs(got.saturation - step.saturation) < 1e-6f && got.lightness == std::clamp(step.from.lightness + step.delta, 0.0f, 1.0f),
                     qPrintable(QStringLiteral("%1 %2 -> %3 %4").arg(step.from.saturation).arg(step.from.lightness).arg(got.saturation).arg(got.lightness)));
            // The colour stays one the triangle shows.
            const QPointF p = PointForColor(got.saturation, got.lightness);
            QVERIFY(QLineF(p, ClampToTriangle(p)).length() < 1e-6);
        }
    }

    void initTestCase() { Q_INIT_RESOURCE(lumet_resources); }

    void init()
    {
        palette = std::make_unique<NewLedPalette>();
        palette->setGeometry(0, 0, 170, 387);
        palette->show();
    }

    // Hue, start, triangle thumb, pure-colour buttons; each change seen both ways.
    void modeVisibility()
    {
        const char* const shown[] = {"1011", "1100", "1001", "0000"};
        for (int mode : {1, 2, 3, 0, 3, 1, 0, 2, 0}) {
            palette->setMode(mode);
            QString seen;
            for (const char* name : {"hueThumb", "startThumb", "triangleThumb", "pure_color_blue"})
                seen += child(name)->isVisible() ? '1' : '0';
            QCOMPARE(seen, QLatin1String(shown[mode]));
        }
    }

    // What is set from code reads back as it was set, wherever its thumb is drawn.
    void setFromCode()
    {
        for (int i = 0; i < 441; ++i) {
            const float s = i / 21 / 20.0f, l = i % 21 / 20.0f, hue = i % 37 / 37.0f;
            palette->setColor(hue, s, l, true);
            const Hsl c = color();
            QVERIFY2(qAbs(c.h - hue) < 1e-6f && c.s == s && c.l == l, qPrintable(QStringLiteral("%1 %2").arg(s).arg(l)));
            QCOMPARE(trianglePos(), TriangleThumbTopLeft(PointForColor(s, l), QSize(16, 16)));
        }
        // Hues from a status outside 0..1 go round the ring; non-numbers show red.
        const std::pair<float, float> wrapped[] = {{1.25f, 0.25f}, {-0.25f, 0.75f}, {3.0e38f, 0.0f},
                                                   {std::numeric_limits<float>::infinity(), 0.0f},
                                                   {std::nanf(""), 0.0f}};
        for (const auto& [given, shown] : wrapped) {
            palette->setColor(given, 0.5f, 0.5f, true);
            QVERIFY2(qAbs(color().h - shown) < 1e-6f, qPrintable(QString::number(given)));
        }
        // A stored position a pixel off the thumb is the thumb's own place (the
        // pixel was rounded); one further off is a place of its own.
        palette->setColor(0.0f, 0.3f, 0.4f, true);
        const QPoint at = trianglePos();
        palette->moveTriangleThumb(at.x() + 1, at.y() - 1);
        QVERIFY(color().s == 0.3f && color().l == 0.4f && trianglePos() == at + QPoint(1, -1));
        palette->moveTriangleThumb(89, 57);
        QCOMPARE(trianglePos(), QPoint(89, 57));
        QVERIFY(color().s == ColorAtPoint(QPointF(97, 65)).saturation && color().l == ColorAtPoint(QPointF(97, 65)).lightness);
        // A range keeps the fractions it was given; one outside 0..1 is ignored.
        palette->setMode(1);
        palette->setRange(0.75f, 0.5f);
        QCOMPARE(palette->hueAngle(), 0.25f * TwoPi); // the end wraps past a full turn
        palette->setRange(1.5f, 0.2f);
        palette->setRange(0.2f, -0.1f);
        float start, sweep;
        palette->getRange(start, sweep);
        QCOMPARE(start, 0.75f);
        QCOMPARE(sweep, 0.5f);
    }

    // A ring press takes the angle of the point pressed, in the modes with a hue thumb.
    void ringPress()
    {
        for (int mode : {0, 1, 2, 3}) {
            const bool takesPresses = mode == 0 || mode == 2;
            palette->setMode(mode);
            QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
            QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
            press(QPoint(98, 12)); // the committed angle 0: nothing to report
            QCOMPARE(changed.count(), 0);
            press(QPoint(98, 140));
            QCOMPARE(position.count(), takesPresses ? 1 : 0);
            QCOMPARE(changed.count(), position.count());
            press(QPoint(34, 76)); // a negative angle that still reads as its hue
            QVERIFY(qAbs(color().h - (takesPresses ? 0.75f : 0.0f)) < 1e-6f);
            QCOMPARE(trianglePos(), QPoint(50, 90)); // untouched, centred on P1
            press(QPoint(98, 12));
        }
    }

    // The triangle takes the colour under the pointer, in full colour only;
    // the pure-colour buttons give their hue at full saturation and half lightness.
    void triangleAndPureColours()
    {
        QWidget* thumb = child("triangleThumb");
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        press(QPoint(97, 65));
        QCOMPARE(trianglePos(), QPoint(89, 57));
        Drag(thumb, {QPoint(110, 80)});
        const SaturationLightness under = ColorAtPoint(QPointF(110, 80));
        QVERIFY(color().s == under.saturation && color().l == under.lightness && color().h == 0.0f);
        Drag(thumb, {QPoint(300, 300)}); // clamped into the lower right corner
        QCOMPARE(trianglePos() + QPoint(8, 8), QPoint(134, 98));
        Drag(thumb, {}); // after the release moves do nothing
        SendMouse(thumb, QEvent::MouseMove, QPoint(120, 90) - thumb->pos());
        press(QPoint(2, 2)); // off ring and triangle: onto the triangle's top
        QCOMPARE(trianglePos(), QPoint(89, 24));
        QCOMPARE(changed.count(), 4);
        // With the triangle hidden a press would change colours the user cannot see.
        for (int mode : {1, 2, 3}) {
            palette->setMode(mode);
            press(QPoint(97, 90));
        }
        QCOMPARE(trianglePos(), QPoint(89, 24));
        QCOMPARE(changed.count(), 4);
        palette->setMode(2);
        for (const auto& [name, hue] : {std::pair{"pure_color_blue", 2.0f / 3.0f}, std::pair{"pure_color_green", 1.0f / 3.0f},
                                        std::pair{"pure_color_red", 0.0f}}) {
            QTest::mouseClick(child(name), Qt::LeftButton);
            QCOMPARE(trianglePos(), QPoint(50, 89)); // pure red lies just left of P1: drawn inside
            const Hsl c = color();
            QVERIFY2(qAbs(c.h - hue) < 1e-6f && c.s == 1.0f && c.l == 0.5f, name);
        }
        QCOMPARE(changed.count(), 7);
    }

    void ringDrags_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("thumb");
        QTest::addColumn<QVector<QPoint>>("path");
        QTest::addColumn<float>("angle"); // where the dragged thumb ends
        QTest::addColumn<float>("sweep");
        QTest::newRow("hue, not onto the centre")
            << 0 << "hueThumb" << (OnCircle({0.5f, HalfPi}) << QPoint(CenterX, CenterY)) << HalfPi << 0.5f;
        QTest::newRow("end stops after a full turn")
            << 1 << "hueThumb" << OnCircle({1, 2, 3, 3.6f, 4.5f}) << 3.0f << 1.0f;
        QTest::newRow("end stops on the start") << 1 << "hueThumb" << OnCircle({-1, -2, -3, -3.5f}) << TwoPi - 3 << 0.0f;
        QTest::newRow("start stops on the end") << 1 << "startThumb" << OnCircle({4, 5.5f, 6, 0.5f}) << 6.0f << 0.0f;
    }

    // Drags commit on release; in range mode the sweep stays within 0..2*pi.
    // Turning the hue keeps saturation and lightness as they were.
    void ringDrags()
    {
        QFETCH(int, mode);
        QFETCH(QString, thumb);
        QFETCH(QVector<QPoint>, path);
        QFETCH(float, angle);
        QFETCH(float, sweep);
        palette->setColor(0.0f, 0.3f, 0.7f, true);
        palette->setMode(mode);
        QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
        Drag(child(qPrintable(thumb)), path);
        QCOMPARE(position.count(), 0);
        QCOMPARE(palette->hueAngle(), 0.0f);
        Drag(child(qPrintable(thumb)), {});
        QCOMPARE(position.count(), 1);
        float start, gotSweep;
        palette->getRange(start, gotSweep);
        QVERIFY(qAbs(gotSweep - sweep) < 0.005f && gotSweep >= 0.0f && gotSweep <= 1.0f);
        const float ended = thumb == "hueThumb" ? palette->hueAngle() : palette->startAngle();
        QVERIFY(qAbs(ended - angle) < 0.03f);
        QVERIFY(color().s == 0.3f && color().l == 0.7f);
    }

    // Left and Right turn the hue a degree; Up and Down step the lightness in
    // full colour and turn the range's start in range mode.
    void keyboard()
    {
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        palette->setColor(0.5f, 0.2f, 0.5f, true);
        QTest::keyClick(palette.get(), Qt::Key_Right);
        QTest::keyClick(palette.get(), Qt::Key_Up);
        QVERIFY(qAbs(color().h - (0.5f + 1.0f / 360.0f)) < 1e-6f && color().s == 0.2f && color().l == 0.5f - 0.01f);
        palette->setMode(2); // no triangle: Up changes nothing
        QTest::keyClick(palette.get(), Qt::Key_Up);
        QTest::keyClick(palette.get(), Qt::Key_Left);
        QCOMPARE(changed.count(), 4);
        QVERIFY(qAbs(color().h - 0.5f) < 1e-6f && color().l == 0.49f);

        palette->setMode(1);
        palette->setRange(0.25f, 1.0f); // a full turn: the end cannot go further
        changed.clear();
        QTest::keyClick(palette.get(), Qt::Key_Right);
        QCOMPARE(changed.count(), 0);
        QTest::keyClick(palette.get(), Qt::Key_Down); // the start turns clockwise
        float start, sweep;
        palette->getRange(start, sweep);
        QVERIFY(qAbs(start - (0.25f + 1.0f / 360.0f)) < 1e-6f && qAbs(sweep - (1.0f - 1.0f / 360.0f)) < 1e-6f);
        QCOMPARE(changed.count(), 1);

        palette->setMode(3); // inactive: out of the keyboard's reach
        QCOMPARE(palette->focusPolicy(), Qt::NoFocus);
        QTest::keyClick(palette.get(), Qt::Key_Left);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TestNewLedPalette)
#include "TestNewLedPalette.moc"
