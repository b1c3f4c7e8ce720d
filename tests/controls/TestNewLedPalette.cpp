#include "ui/controls/LedPaletteTriangleThumb.h"
#include "ui/controls/NewLedPalette.h"
#include "ui/controls/NewLedPaletteThumb.h"
#include "ui/controls/PaletteGeometry.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace PaletteGeometry;

namespace {

// Sends one mouse event to a widget, at a point in its own coordinates.
void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Drags a ring thumb, grabbed at its centre, so that its centre follows the
// palette points given (the thumb moves after each step).
void DragThumb(QWidget* thumb, std::initializer_list<QPoint> centres, bool release = true)
{
    const QPoint grab(thumb->width() / 2, thumb->height() / 2);
    SendMouse(thumb, QEvent::MouseButtonPress, grab);
    for (const QPoint& c : centres)
        SendMouse(thumb, QEvent::MouseMove, c - thumb->pos());
    if (release)
        SendMouse(thumb, QEvent::MouseButtonRelease, grab);
}

// The palette point on the thumb circle at a palette angle.
QPoint OnCircle(float angle)
{
    return QPoint(qRound(CenterX + 64 * std::sin(angle)), qRound(CenterY - 64 * std::cos(angle)));
}

float HueOfPixel(const QImage& img, QPoint p)
{
    return static_cast<float>(img.pixelColor(p).hslHueF());
}

} // namespace

// The images are compiled into a static library: register them first.
static void InitResources()
{
    Q_INIT_RESOURCE(lumet_resources);
}

class TestNewLedPalette : public QObject
{
    Q_OBJECT

    std::unique_ptr<NewLedPalette> palette;
    NewLedPaletteThumb* hueThumb = nullptr;
    NewLedPaletteThumb* startThumb = nullptr;
    LedPaletteTriangleThumb* triangleThumb = nullptr;

    QPoint trianglePos() const
    {
        int x, y;
        palette->triangleThumbPos(x, y);
        return QPoint(x, y);
    }

    void pressPalette(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(palette.get(), button, Qt::NoModifier, p);
        QTest::mouseRelease(palette.get(), button, Qt::NoModifier, p);
    }

private slots:
    void initTestCase() { InitResources(); }

    void init()
    {
        palette = std::make_unique<NewLedPalette>();
        palette->setGeometry(0, 0, 170, 387);
        palette->show();
        hueThumb = palette->findChild<NewLedPaletteThumb*>(QStringLiteral("hueThumb"));
        startThumb = palette->findChild<NewLedPaletteThumb*>(QStringLiteral("startThumb"));
        triangleThumb = palette->findChild<LedPaletteTriangleThumb*>(QStringLiteral("triangleThumb"));
        QVERIFY(hueThumb && startThumb && triangleThumb);
    }

    void cleanup() { palette.reset(); }

    void construction()
    {
        QCOMPARE(palette->mode(), 0);
        QCOMPARE(palette->hueAngle(), 0.0f);
        QCOMPARE(palette->startAngle(), Pi);
        QCOMPARE(hueThumb->geometry(), QRect(82, -4, 33, 33));
        QCOMPARE(startThumb->geometry(), QRect(82, 124, 33, 33));
        QCOMPARE(trianglePos(), QPoint(50, 90)); // centred on P1
        float start, sweep;
        palette->getRange(start, sweep);
        QCOMPARE(start, 0.5f);
        QCOMPARE(sweep, 0.5f);
    }

    void modeVisibility_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("hue");
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("triangle");
        QTest::addColumn<bool>("buttons");
        QTest::newRow("full colour") << 0 << true << false << true << true;
        QTest::newRow("range") << 1 << true << true << false << false;
        QTest::newRow("hue only") << 2 << true << false << false << true;
        QTest::newRow("inactive") << 3 << false << false << false << false;
    }

    void modeVisibility()
    {
        QFETCH(int, mode);
        QFETCH(bool, hue);
        QFETCH(bool, start);
        QFETCH(bool, triangle);
        QFETCH(bool, buttons);
        // From every other mode, so each change is seen both ways.
        for (int from = 0; from < 4; ++from) {
            palette->setMode(from);
            palette->setMode(mode);
            QCOMPARE(hueThumb->isVisible(), hue);
            QCOMPARE(startThumb->isVisible(), start);
            QCOMPARE(triangleThumb->isVisible(), triangle);
            for (const char* name : {"pure_color_red", "pure_color_green", "pure_color_blue"}) {
                auto* button = palette->findChild<QPushButton*>(QLatin1String(name));
                QVERIFY(button);
                QCOMPARE(button->isVisible(), buttons);
            }
        }
    }

    void pureColourButtons_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("button");
        QTest::addColumn<float>("hue");
        QTest::newRow("red, full colour") << 0 << "pure_color_red" << 0.0f;
        QTest::newRow("green, full colour") << 0 << "pure_color_green" << 0.33333334f;
        QTest::newRow("blue, hue only") << 2 << "pure_color_blue" << 0.6666667f;
        QTest::newRow("red, hue only") << 2 << "pure_color_red" << 0.0f;
    }

    void pureColourButtons()
    {
        QFETCH(int, mode);
        QFETCH(QString, button);
        QFETCH(float, hue);
        palette->setMode(mode);
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        QTest::mouseClick(palette->findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(trianglePos(), QPoint(50, 89));
        float h, s, l;
        palette->getColor(h, s, l);
        QVERIFY(qAbs(h - hue) < 1e-6f);
        QVERIFY2(s > 0.99f, qPrintable(QString::number(s)));
        QVERIFY2(qAbs(l - 0.5f) < 0.01f, qPrintable(QString::number(l)));
    }

    void setThenGetRoundTrip()
    {
        // Anywhere inside the triangle (two pixels in from its edges), a colour
        // comes back within one pixel's worth of the triangle's mapping.
        const float edge = std::sqrt(37.0f * 37.0f + 66.0f * 66.0f);
        const float height = DoubledTriangleArea() / edge;
        const float lightTolerance = std::sqrt(2.0f) / edge;
        const float satTolerance = std::sqrt(2.0f) / height;
        int checked = 0;
        for (int si = 0; si <= 20; ++si) {
            for (int li = 0; li <= 20; ++li) {
                const float s = si / 20.0f;
                const float l = li / 20.0f;
                const QPoint p = PointForColor(s, l);
                bool inside = true;
                for (int dx = -2; dx <= 2 && inside; dx += 2) {
                    for (int dy = -2; dy <= 2 && inside; dy += 2)
                        inside = IsInsideTriangle(p + QPoint(dx, dy));
                }
                if (!inside)
                    continue;
                const float hue = (si * 21 + li) % 37 / 37.0f;
                palette->setColor(hue, s, l, true);
                float h2, s2, l2;
                palette->getColor(h2, s2, l2);
                QVERIFY2(qAbs(h2 - hue) < 1e-6f, qPrintable(QString("hue %1 -> %2").arg(hue).arg(h2)));
                QVERIFY2(qAbs(s2 - s) <= satTolerance, qPrintable(QString("s %1 -> %2").arg(s).arg(s2)));
                QVERIFY2(qAbs(l2 - l) <= lightTolerance, qPrintable(QString("l %1 -> %2").arg(l).arg(l2)));
                ++checked;
            }
        }
        QVERIFY(checked > 100);
    }

    void setColorWithoutMovingTheThumb()
    {
        palette->setColor(0.5f, 1.0f, 0.5f, false);
        QCOMPARE(trianglePos(), QPoint(50, 90));
        QCOMPARE(palette->hueAngle(), 0.5f * TwoPi);
        QCOMPARE(hueThumb->pos(), RingThumbTopLeft(0.5f * TwoPi, QSize(33, 33)));
    }

    void setColorIgnoredInRangeAndInactiveModes()
    {
        for (int mode : {1, 3}) {
            palette->setMode(mode);
            QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
            palette->setColor(0.25f, 0.0f, 0.0f, true);
            QCOMPARE(changed.count(), 0);
            QCOMPARE(palette->hueAngle(), 0.0f);
            QCOMPARE(trianglePos(), QPoint(50, 90));
        }
    }

    void ringPressTakesThePointPressed()
    {
        QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        // The top of the ring is the committed angle 0: nothing to report.
        pressPalette(QPoint(98, 12));
        QCOMPARE(position.count(), 0);
        QCOMPARE(changed.count(), 0);
        // The bottom of the ring is hue 0.5, the point pressed.
        pressPalette(QPoint(98, 140));
        QCOMPARE(position.count(), 1);
        QCOMPARE(changed.count(), 1);
        float h, s, l;
        palette->getColor(h, s, l);
        QVERIFY(qAbs(h - 0.5f) < 1e-6f);
        QCOMPARE(hueThumb->pos(), RingThumbTopLeft(palette->hueAngle(), hueThumb->size()));
        // Again at the same point: the angle is already committed.
        pressPalette(QPoint(98, 140));
        QCOMPARE(position.count(), 1);
        // The left half gives a negative angle that still reads as its hue.
        pressPalette(QPoint(34, 76));
        palette->getColor(h, s, l);
        QVERIFY(qAbs(h - 0.75f) < 1e-6f);
        // The triangle thumb is untouched by ring presses.
        QCOMPARE(trianglePos(), QPoint(50, 90));
    }

    void ringPressOrderOfSignals()
    {
        QStringList order;
        connect(palette.get(), &NewLedPalette::onPositionChanged, this, [&] { order << "position"; });
        connect(palette.get(), &NewLedPalette::onColorChanged, this, [&] { order << "colour"; });
        pressPalette(QPoint(162, 76));
        QCOMPARE(order, QStringList({"position", "colour"}));
        QVERIFY(qAbs(palette->hueAngle() - HalfPi) < 1e-6f);
    }

    void ringPressIgnoredInRangeAndInactiveModes()
    {
        for (int mode : {1, 3}) {
            palette->setMode(mode);
            QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
            pressPalette(QPoint(162, 76));
            QCOMPARE(changed.count(), 0);
            QCOMPARE(palette->hueAngle(), 0.0f);
        }
        palette->setMode(2);
        pressPalette(QPoint(162, 76));
        QVERIFY(qAbs(palette->hueAngle() - HalfPi) < 1e-6f);
    }

    void trianglePressMovesTheThumbInFullColourOnly()
    {
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        pressPalette(QPoint(97, 65));
        QCOMPARE(trianglePos(), QPoint(89, 57));
        QCOMPARE(changed.count(), 1);
        // Off the ring and off the triangle: clamped onto the triangle.
        pressPalette(QPoint(2, 2));
        QCOMPARE(trianglePos(), QPoint(89, 24));
        QCOMPARE(changed.count(), 2);
        // With the triangle hidden, such presses must not change the
        // saturation and lightness the user cannot see.
        float h, s, l;
        palette->getColor(h, s, l);
        for (int mode : {1, 2, 3}) {
            palette->setMode(mode);
            pressPalette(QPoint(97, 90));
            QCOMPARE(trianglePos(), QPoint(89, 24));
            QCOMPARE(changed.count(), 2);
        }
        float h2, s2, l2;
        palette->getColor(h2, s2, l2);
        QCOMPARE(s2, s);
        QCOMPARE(l2, l);
    }

    void triangleDragStaysInTheTriangle()
    {
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        const QPoint grab(8, 8);
        SendMouse(triangleThumb, QEvent::MouseButtonPress, grab);
        // Far below and right of the triangle: the lower right corner.
        SendMouse(triangleThumb, QEvent::MouseMove, QPoint(300, 300) - triangleThumb->pos());
        QCOMPARE(trianglePos() + grab, QPoint(134, 98));
        SendMouse(triangleThumb, QEvent::MouseMove, QPoint(97, 60) - triangleThumb->pos());
        QCOMPARE(trianglePos() + grab, QPoint(97, 60));
        QCOMPARE(changed.count(), 2); // every step reports
        SendMouse(triangleThumb, QEvent::MouseButtonRelease, grab);
        SendMouse(triangleThumb, QEvent::MouseMove, QPoint(120, 90) - triangleThumb->pos());
        QCOMPARE(trianglePos() + grab, QPoint(97, 60));
        QCOMPARE(changed.count(), 2);
        // Another button does not start a drag.
        SendMouse(triangleThumb, QEvent::MouseButtonPress, grab, Qt::RightButton);
        SendMouse(triangleThumb, QEvent::MouseMove, QPoint(120, 90) - triangleThumb->pos(), Qt::RightButton);
        QCOMPARE(trianglePos() + grab, QPoint(97, 60));
    }

    void moveTriangleThumbTrustsItsCaller()
    {
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        palette->moveTriangleThumb(3, 4);
        QCOMPARE(trianglePos(), QPoint(3, 4));
        QCOMPARE(changed.count(), 0);
    }

    void hueDragCommitsOnRelease()
    {
        QSignalSpy changing(palette.get(), &NewLedPalette::onPositionChanging);
        QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        DragThumb(hueThumb, {OnCircle(0.5f), OnCircle(HalfPi)}, false);
        QCOMPARE(changing.count(), 2);
        QVERIFY(qAbs(changing.last().at(0).toFloat() - HalfPi) < 0.03f);
        QCOMPARE(palette->hueAngle(), 0.0f); // committed only on release
        QCOMPARE(position.count(), 0);
        SendMouse(hueThumb, QEvent::MouseButtonRelease, QPoint(16, 16));
        QCOMPARE(position.count(), 1);
        QCOMPARE(changed.count(), 1);
        QVERIFY(qAbs(palette->hueAngle() - HalfPi) < 0.03f);
        // A drag across the top wraps into 0..2*pi.
        DragThumb(hueThumb, {OnCircle(0.3f), OnCircle(-0.3f)});
        QVERIFY(qAbs(palette->hueAngle() - (TwoPi - 0.3f)) < 0.03f);
        // Dragging onto the ring centre leaves the thumb where it was.
        const QPoint before = hueThumb->pos();
        const int steps = changing.count();
        DragThumb(hueThumb, {QPoint(CenterX, CenterY)});
        QCOMPARE(hueThumb->pos(), before);
        QCOMPARE(changing.count(), steps);
        // Only the left button drags.
        SendMouse(hueThumb, QEvent::MouseButtonPress, QPoint(16, 16), Qt::RightButton);
        SendMouse(hueThumb, QEvent::MouseMove, OnCircle(1.0f) - hueThumb->pos(), Qt::RightButton);
        QCOMPARE(hueThumb->pos(), before);
    }

    void rangeEndStopsAtAFullTurn()
    {
        palette->setMode(1);
        // The end thumb (at 0) goes clockwise towards the start thumb (at pi)
        // from behind: the sweep grows from pi to a full turn and stops.
        DragThumb(hueThumb, {OnCircle(1.0f), OnCircle(2.0f), OnCircle(3.0f)}, false);
        const float before = palette->liveHueAngle();
        QVERIFY(palette->sweepAngle() < TwoPi);
        SendMouse(hueThumb, QEvent::MouseMove, OnCircle(3.6f) - hueThumb->pos());
        QCOMPARE(palette->sweepAngle(), TwoPi);
        QCOMPARE(palette->liveHueAngle(), before);
        SendMouse(hueThumb, QEvent::MouseMove, OnCircle(4.5f) - hueThumb->pos());
        QCOMPARE(palette->sweepAngle(), TwoPi);
        SendMouse(hueThumb, QEvent::MouseButtonRelease, QPoint(16, 16));
        float start, sweep;
        palette->getRange(start, sweep);
        QCOMPARE(start, 0.5f);
        QCOMPARE(sweep, 1.0f);
    }

    void rangeEndStopsOnTheStart()
    {
        palette->setMode(1);
        // Counter-clockwise from 0 down onto the start at pi: the sweep
        // shrinks from pi to 0 and stops.
        DragThumb(hueThumb, {OnCircle(-1.0f), OnCircle(-2.0f), OnCircle(-3.0f), OnCircle(-3.5f)});
        QCOMPARE(palette->sweepAngle(), 0.0f);
        float start, sweep;
        palette->getRange(start, sweep);
        QCOMPARE(sweep, 0.0f);
        QVERIFY(qAbs(palette->hueAngle() - (TwoPi - 3.0f)) < 0.03f);
    }

    void rangeStartDrag()
    {
        palette->setMode(1);
        QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
        // Start from pi back to 2.0: the sweep grows by about 1.14.
        DragThumb(startThumb, {OnCircle(2.5f), OnCircle(2.0f)}, false);
        QCOMPARE(position.count(), 0); // nothing while dragging
        SendMouse(startThumb, QEvent::MouseButtonRelease, QPoint(16, 16));
        QCOMPARE(position.count(), 1);
        float start, sweep;
        palette->getRange(start, sweep);
        QVERIFY(qAbs(start - 2.0f / TwoPi) < 0.005f);
        QVERIFY(qAbs(sweep - (TwoPi - 2.0f) / TwoPi) < 0.005f);
        // Forward past the end thumb at 0 (2*pi): stops at an empty range.
        DragThumb(startThumb, {OnCircle(4.0f), OnCircle(5.5f), OnCircle(6.0f), OnCircle(0.5f)});
        QCOMPARE(palette->sweepAngle(), 0.0f);
    }

    void setRangeKeepsTheFractionsItWasGiven()
    {
        palette->setMode(1);
        QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
        palette->setRange(0.25f, 0.5f);
        QCOMPARE(position.count(), 2); // end, then start
        float start, sweep;
        palette->getRange(start, sweep);
        QCOMPARE(start, 0.25f);
        QCOMPARE(sweep, 0.5f);
        QCOMPARE(palette->hueAngle(), 0.75f * TwoPi);
        // The end wraps past a full turn.
        palette->setRange(0.75f, 0.5f);
        QCOMPARE(palette->hueAngle(), 0.25f * TwoPi);
        QCOMPARE(palette->startAngle(), 0.75f * TwoPi);
        // Out of 0..1, or outside the range mode: nothing.
        palette->setRange(1.5f, 0.2f);
        palette->setRange(0.2f, -0.1f);
        palette->setMode(0);
        palette->setRange(0.1f, 0.1f);
        palette->getRange(start, sweep);
        QCOMPARE(start, 0.75f);
        QCOMPARE(sweep, 0.5f);
    }

    void paintsRealColour()
    {
        // The ring shows each angle's hue where the palette places it, and the
        // triangle turns to the hue set.
        palette->setColor(1.0f / 3.0f, 1.0f, 0.5f, true);
        palette->moveTriangleThumb(0, 300); // out of the way
        const QImage img = palette->grab().toImage();
        QVERIFY(qAbs(HueOfPixel(img, QPoint(98, 10)) - 0.0f) < 0.02f || HueOfPixel(img, QPoint(98, 10)) > 0.98f);
        QVERIFY(qAbs(HueOfPixel(img, QPoint(164, 76)) - 0.25f) < 0.02f);
        QVERIFY(qAbs(HueOfPixel(img, QPoint(98, 142)) - 0.5f) < 0.02f);
        QVERIFY(qAbs(HueOfPixel(img, QPoint(32, 76)) - 0.75f) < 0.02f);
        // Just inside P1: full green.
        const QColor nearP1 = img.pixelColor(QPoint(62, 96));
        QVERIFY(qAbs(nearP1.hslHueF() - 1.0 / 3.0) < 0.02);
        QVERIFY(nearP1.hslSaturationF() > 0.9);
        // Near P0 dark, near P2 light.
        QVERIFY(img.pixelColor(QPoint(97, 36)).lightnessF() < 0.15);
        QVERIFY(img.pixelColor(QPoint(128, 96)).lightnessF() > 0.85);
        // Whatever the triangle shows under the thumb's centre is what
        // getColor reports.
        palette->moveTriangleThumb(90, 70);
        const QImage again = palette->grab().toImage();
        float h, s, l;
        palette->getColor(h, s, l);
        QColor seen = again.pixelColor(QPoint(98, 78));
        QVERIFY(qAbs(seen.hslSaturationF() - s) < 0.03);
        QVERIFY(qAbs(seen.lightnessF() - l) < 0.03);
    }

    void rangePaintsTheSelectedArcOnly()
    {
        palette->setMode(1);
        palette->setRange(0.0f, 0.25f); // the upper right quarter
        const QImage img = palette->grab().toImage();
        const QColor inside = img.pixelColor(OnCircle(0.25f * HalfPi * 2));
        const QColor outside = img.pixelColor(OnCircle(Pi + 0.5f));
        QVERIFY(inside.hslSaturationF() > 0.8);
        QVERIFY(outside.hslSaturationF() < 0.2);
    }
};

QTEST_MAIN(TestNewLedPalette)
#include "TestNewLedPalette.moc"
