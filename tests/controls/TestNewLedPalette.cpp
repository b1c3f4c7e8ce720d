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

} // namespace

class TestNewLedPalette : public QObject
{
    Q_OBJECT

    std::unique_ptr<NewLedPalette> palette;

    QWidget* child(const QString& name) const { return palette->findChild<QWidget*>(name); }

    QPoint trianglePos() const { return child("triangleThumb")->pos(); }

    void press(QPoint p) { QTest::mouseClick(palette.get(), Qt::LeftButton, Qt::NoModifier, p); }

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
    }

    void points_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("onRing"); // the band 48..80 around (98, 76)
        QTest::addColumn<bool>("inTriangle");
        QTest::addColumn<QPoint>("clamped"); // y to 32..98, then onto the edge on its side
        QTest::newRow("ring inner edge 48") << QPoint(98, 28) << true << false << QPoint(97, 32);
        QTest::newRow("inside the ring, 47") << QPoint(98, 29) << false << false << QPoint(97, 32);
        QTest::newRow("ring outer edge 80") << QPoint(98, -4) << true << false << QPoint(97, 32);
        QTest::newRow("beyond the ring, 81") << QPoint(98, -5) << false << false << QPoint(97, 32);
        QTest::newRow("inside the left edge") << QPoint(59, 97) << false << true << QPoint(59, 97);
        QTest::newRow("left edge at 58.59") << QPoint(58, 97) << false << false << QPoint(58, 97);
        QTest::newRow("left of the left edge") << QPoint(0, 65) << false << false << QPoint(77, 65); // 77.5
        QTest::newRow("right of the right edge") << QPoint(200, 65) << false << false << QPoint(115, 65); // 115.5
        QTest::newRow("far lower right") << QPoint(200, 200) << false << false << QPoint(134, 98);
        // Products of these overflow 32 bits.
        QTest::newRow("very far left") << QPoint(-60000000, 65) << false << false << QPoint(77, 65);
        QTest::newRow("very far below") << QPoint(98, 60000000) << false << false << QPoint(98, 98);
    }

    void points()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, onRing);
        QFETCH(bool, inTriangle);
        QFETCH(QPoint, clamped);
        QCOMPARE(IsOnRing(point), onRing);
        QCOMPARE(IsInsideTriangle(point), inTriangle);
        QCOMPARE(ClampToTriangle(point), clamped);
    }

    void colourPointsAndHighlight()
    {
        QCOMPARE(PointForColor(0.0f, 1.0f), QPoint(134, 98));
        // A status can say anything: out-of-range values show as the nearer end.
        QCOMPARE(PointForColor(57826346.0f, -3.0e38f), PointForColor(1.0f, 0.0f));
        QCOMPARE(PointForColor(std::nanf(""), 2.0f), PointForColor(0.0f, 1.0f));
        QCOMPARE(RingThumbTopLeft(std::numeric_limits<float>::infinity(), QSize(33, 33)), RingThumbTopLeft(0.0f, QSize(33, 33)));
        // Pure red lands just left of P1; the clamp puts the thumb at (50, 89).
        QCOMPARE(TriangleThumbTopLeft(PointForColor(1.0f, 0.5f), QSize(16, 16)), QPoint(50, 89));
        // Lightness runs along the whole edge P0-P2: at P1 it is 2913 / 5725.
        QVERIFY(qAbs(ColorAtPoint(58, 98).saturation - 1.0f) < 1e-5f && qAbs(ColorAtPoint(58, 98).lightness - 2913.0f / 5725.0f) < 1e-5f);
        // Beyond the corners the values stay within 0..1.
        QVERIFY(ColorAtPoint(97, 0).lightness == 0.0f && ColorAtPoint(200, 98).lightness == 1.0f && ColorAtPoint(200, 98).saturation == 0.0f);
        // The lit arc of the range mode.
        QVERIFY(RangeHighlightRegion(1.0f, 0.0f).isEmpty());
        QCOMPARE(RangeHighlightRegion(1.0f, TwoPi), QRegion(25, 5, 142, 142));
        // Three quarters from the top: all but the upper-left quarter.
        const QRegion wide = RangeHighlightRegion(0.0f, 1.5f * Pi);
        QVERIFY(wide.contains(QPoint(150, 30)) && wide.contains(QPoint(40, 120)) && !wide.contains(QPoint(50, 30)));
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

    void setThenGetRoundTrip()
    {
        // Two pixels in from the edges, a colour comes back within a pixel's worth.
        const float edge = std::sqrt(37.0f * 37.0f + 66.0f * 66.0f);
        int checked = 0;
        for (int i = 0; i < 441; ++i) {
            const float s = i / 21 / 20.0f, l = i % 21 / 20.0f, hue = i % 37 / 37.0f;
            const QPoint p = PointForColor(s, l);
            if (!IsInsideTriangle(p + QPoint(-2, -2)) || !IsInsideTriangle(p + QPoint(2, 2)) ||
                !IsInsideTriangle(p + QPoint(-2, 2)) || !IsInsideTriangle(p + QPoint(2, -2)))
                continue;
            palette->setColor(hue, s, l, true);
            float h2, s2, l2;
            palette->getColor(h2, s2, l2);
            QVERIFY2(qAbs(h2 - hue) < 1e-6f && qAbs(s2 - s) <= std::sqrt(2.0f) * edge / DoubledTriangleArea() &&
                         qAbs(l2 - l) <= std::sqrt(2.0f) / edge, qPrintable(QStringLiteral("%1 %2").arg(s).arg(l)));
            ++checked;
        }
        QVERIFY(checked > 100);
        // Hues from a status outside 0..1 go round the ring; non-numbers show red.
        const std::pair<float, float> wrapped[] = {{1.25f, 0.25f}, {-0.25f, 0.75f}, {3.0e38f, 0.0f},
                                                   {std::numeric_limits<float>::infinity(), 0.0f},
                                                   {std::nanf(""), 0.0f}};
        for (const auto& [given, shown] : wrapped) {
            palette->setColor(given, 0.5f, 0.5f, true);
            float h2, s2, l2;
            palette->getColor(h2, s2, l2);
            QVERIFY2(qAbs(h2 - shown) < 1e-6f, qPrintable(QString::number(given)));
        }
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
            float h, s, l;
            palette->getColor(h, s, l);
            QVERIFY(qAbs(h - (takesPresses ? 0.75f : 0.0f)) < 1e-6f);
            QCOMPARE(trianglePos(), QPoint(50, 90)); // untouched, centred on P1
            press(QPoint(98, 12));
        }
    }

    void triangleTakesPressesAndDragsInFullColourOnly()
    {
        QWidget* thumb = child("triangleThumb");
        QSignalSpy changed(palette.get(), &NewLedPalette::onColorChanged);
        press(QPoint(97, 65));
        QCOMPARE(trianglePos(), QPoint(89, 57));
        Drag(thumb, {QPoint(300, 300)}); // clamped into the lower right corner
        QCOMPARE(trianglePos() + QPoint(8, 8), QPoint(134, 98));
        Drag(thumb, {}); // after the release moves do nothing
        SendMouse(thumb, QEvent::MouseMove, QPoint(120, 90) - thumb->pos());
        press(QPoint(2, 2)); // off ring and triangle: onto the triangle's top
        QCOMPARE(trianglePos(), QPoint(89, 24));
        QCOMPARE(changed.count(), 3);
        // With the triangle hidden a press would change colours the user cannot see.
        for (int mode : {1, 2, 3}) {
            palette->setMode(mode);
            press(QPoint(97, 90));
        }
        QCOMPARE(trianglePos(), QPoint(89, 24));
        QCOMPARE(changed.count(), 3);
        // A pure-colour button: its hue, full saturation, half lightness.
        palette->setMode(2);
        for (const auto& [name, hue] : {std::pair{"pure_color_blue", 2.0f / 3.0f}, std::pair{"pure_color_red", 0.0f}}) {
            QTest::mouseClick(child(name), Qt::LeftButton);
            QCOMPARE(trianglePos(), QPoint(50, 89));
            float h, s, l;
            palette->getColor(h, s, l);
            QVERIFY(qAbs(h - hue) < 1e-6f && s > 0.99f && qAbs(l - 0.5f) < 0.01f);
        }
        QCOMPARE(changed.count(), 5);
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
    void ringDrags()
    {
        QFETCH(int, mode);
        QFETCH(QString, thumb);
        QFETCH(QVector<QPoint>, path);
        QFETCH(float, angle);
        QFETCH(float, sweep);
        palette->setMode(mode);
        QSignalSpy position(palette.get(), &NewLedPalette::onPositionChanged);
        Drag(child(thumb), path);
        QCOMPARE(position.count(), 0);
        QCOMPARE(palette->hueAngle(), 0.0f);
        Drag(child(thumb), {});
        QCOMPARE(position.count(), 1);
        float start, gotSweep;
        palette->getRange(start, gotSweep);
        QVERIFY(qAbs(gotSweep - sweep) < 0.005f && gotSweep >= 0.0f && gotSweep <= 1.0f);
        const float ended = thumb == "hueThumb" ? palette->hueAngle() : palette->startAngle();
        QVERIFY(qAbs(ended - angle) < 0.03f);
    }

    void setRangeKeepsTheFractionsItWasGiven()
    {
        float start, sweep;
        palette->getRange(start, sweep);
        QVERIFY(start == 0.5f && sweep == 0.5f); // as constructed
        palette->setMode(1);
        palette->setRange(0.75f, 0.5f);
        QCOMPARE(palette->hueAngle(), 0.25f * TwoPi); // the end wraps past a full turn
        palette->setRange(1.5f, 0.2f); // out of 0..1: ignored
        palette->setRange(0.2f, -0.1f);
        palette->getRange(start, sweep);
        QCOMPARE(start, 0.75f);
        QCOMPARE(sweep, 0.5f);
    }
};

QTEST_MAIN(TestNewLedPalette)
#include "TestNewLedPalette.moc"
