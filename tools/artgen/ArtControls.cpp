// Images of the controls: palette, slider, LED dots, colour preview.
#include "ArtSink.h"
#include "ArtStyle.h"

#include "ui/controls/LedLocationIcons.h"
#include "ui/controls/PaletteGeometry.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>
#include <set>
#include <string>

namespace {

namespace pg = PaletteGeometry;

// The ring and triangle images are drawn at (ImageLeft, ImageTop) in the
// palette; this size covers the ring and stays inside the 170-pixel palette.
constexpr int PaletteImageWidth = 146;
constexpr int PaletteImageHeight = 144;
// The coloured band of the ring, around the circle the thumbs run on. Its
// outer edge stays inside the range highlight's rectangle (to x 167), which
// would otherwise cut the lit ring flat on its right side.
constexpr double RingInner = 57.0;
constexpr double RingOuter = 68.5;
// Sub-samples per axis for the per-pixel images' smooth edges.
constexpr int Sub = 4;

const QColor white{0xff, 0xff, 0xff};
const QColor shadow{0x0b, 0x0c, 0x0e};

// A pixel of a per-pixel image in the image's own units: its centre (the
// centre of pixel x of the plain image is x) and its side (1, or 0.5 at
// scale 2).
struct Pixel
{
    double x;
    double y;
    double side;
};

// An image of w x h units coloured pixel by pixel at the drawing scale;
// colour returns an invalid colour where the image stays clear.
QImage perPixel(int w, int h, const std::function<QColor(const Pixel&)>& colour)
{
    QImage img = art::canvas(w, h, QImage::Format_ARGB32);
    const double side = 1.0 / art::scale;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = colour({(x + 0.5) * side - 0.5, (y + 0.5) * side - 0.5, side});
            if (c.isValid())
                img.setPixelColor(x, y, c);
        }
    }
    return img;
}

// Fraction of the pixel that satisfies inside(px, py).
double coverage(const Pixel& pixel, const std::function<bool(double, double)>& inside)
{
    int hits = 0;
    for (int i = 0; i < Sub; ++i) {
        for (int j = 0; j < Sub; ++j) {
            if (inside(pixel.x + pixel.side * ((i + 0.5) / Sub - 0.5), pixel.y + pixel.side * ((j + 0.5) / Sub - 0.5)))
                ++hits;
        }
    }
    return static_cast<double>(hits) / (Sub * Sub);
}

// Ring centre in image pixels: the pixel that the palette's integer centre names.
constexpr int RingCx = pg::CenterX - pg::ImageLeft;
constexpr int RingCy = pg::CenterY - pg::ImageTop;

bool inRing(double x, double y)
{
    const double r = std::hypot(x - RingCx, y - RingCy);
    return r >= RingInner && r <= RingOuter;
}

// The band, coloured per pixel by paint(angle, radial position 0..1).
QImage ring(const std::function<QColor(float, double)>& paint)
{
    return perPixel(PaletteImageWidth, PaletteImageHeight, [&paint](const Pixel& px) {
        const double a = coverage(px, inRing);
        if (a <= 0.0)
            return QColor();
        const float angle = pg::AngleOfOffset(static_cast<float>(px.x - RingCx), static_cast<float>(RingCy - px.y));
        const double r = std::hypot(px.x - RingCx, px.y - RingCy);
        QColor c = paint(angle, (r - RingInner) / (RingOuter - RingInner));
        c.setAlphaF(a);
        return c;
    });
}

// A slight bevel: the band's edges a touch darker than its middle.
double bevel(double radial)
{
    const double edge = std::min(radial, 1.0 - radial);
    return edge < 0.12 ? 0.82 + 1.5 * edge : 1.0;
}

QImage colourRing()
{
    return ring([](float angle, double radial) {
        const float hue = pg::WrapAngleOnce(angle) / pg::TwoPi;
        return QColor::fromHslF(std::min(hue, 1.0f), 1.0, 0.5 * bevel(radial));
    });
}

QImage greyRing()
{
    return ring([](float, double radial) { return QColor::fromHslF(0.6, 0.05, 0.23 * bevel(radial)); });
}

// Each pixel carries the saturation and lightness that the palette reads at
// that point (in red), so tinting it to a hue gives that hue's triangle.
QImage triangle()
{
    const QPointF p0 = pg::TriangleCorners[0] - QPoint(pg::ImageLeft, pg::ImageTop);
    const QPointF p1 = pg::TriangleCorners[1] - QPoint(pg::ImageLeft, pg::ImageTop);
    const QPointF p2 = pg::TriangleCorners[2] - QPoint(pg::ImageLeft, pg::ImageTop);
    auto side = [](QPointF a, QPointF b, double x, double y) {
        return (b.x() - a.x()) * (y - a.y()) - (b.y() - a.y()) * (x - a.x());
    };
    auto inside = [&](double x, double y) {
        const double s0 = side(p0, p1, x, y);
        const double s1 = side(p1, p2, x, y);
        const double s2 = side(p2, p0, x, y);
        return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    };
    return perPixel(PaletteImageWidth, PaletteImageHeight, [&inside](const Pixel& px) {
        const double a = coverage(px, inside);
        if (a <= 0.0)
            return QColor();
        const pg::SaturationLightness sl = pg::ColorAtPoint(QPointF(px.x + pg::ImageLeft, px.y + pg::ImageTop));
        QColor c = QColor::fromHslF(0.0, sl.saturation, sl.lightness);
        c.setAlphaF(a);
        return c;
    });
}

// An open circle: a wide outline first, then the narrower stroke over it, so
// the thumb reads on light and dark parts of the palette alike.
void drawOutlinedCircle(QPainter& p, const QPointF& centre, qreal radius, const QPen& outline, const QPen& stroke)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(outline);
    p.drawEllipse(centre, radius, radius);
    p.setPen(stroke);
    p.drawEllipse(centre, radius, radius);
}

// A ring thumb: an open circle (the ring's colour shows through) with a small
// tick pointing at the ring centre when the thumb sits at the top.
QImage ringThumb(const QColor& stroke, const QColor& outline)
{
    QImage img = art::canvas(23, 23);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawOutlinedCircle(p, QPointF(11.5, 11.5), 6.25, QPen(outline, 4.5), QPen(stroke, 2.25));
    QPolygonF tick;
    tick << QPointF(9.0, 19.0) << QPointF(14.0, 19.0) << QPointF(11.5, 22.5);
    p.setPen(QPen(outline, 1.0));
    p.setBrush(stroke);
    p.drawPolygon(tick);
    return img;
}

QImage triangleThumb()
{
    QImage img = art::canvas(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawOutlinedCircle(p, QPointF(8.5, 8.5), 5.0, QPen(shadow, 4.0), QPen(white, 2.0));
    return img;
}

QImage pureColourButton(const QColor& colour)
{
    QImage img = art::canvas(10, 10);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour.darker(160), 1.0));
    p.setBrush(colour);
    p.drawEllipse(QPointF(5.0, 5.0), 4.4, 4.4);
    return img;
}

// Speed slider ------------------------------------------------------------

constexpr int GrooveHeight = 23;
constexpr int HandleWidth = 12;

// Centre of notch i (0-based) of n on a groove of the given width: the
// handle's centre when it stands on that notch.
double notchX(int i, int n, int grooveWidth)
{
    return HandleWidth / 2.0 + i * static_cast<double>(grooveWidth - HandleWidth) / (n - 1);
}

// The groove filled up to notch `filled` (1-based) of n.
QImage groove(int grooveWidth, int n, int filled)
{
    QImage img = art::canvas(grooveWidth, GrooveHeight);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double cy = GrooveHeight / 2.0;
    const double left = notchX(0, n, grooveWidth);
    const double right = notchX(n - 1, n, grooveWidth);
    const double reached = notchX(filled - 1, n, grooveWidth);
    p.setPen(Qt::NoPen);
    p.setBrush(art::hairline.lighter(130));
    p.drawRoundedRect(QRectF(left - 2.0, cy - 2.0, right - left + 4.0, 4.0), 2.0, 2.0);
    p.setBrush(art::accent);
    p.drawRoundedRect(QRectF(left - 2.0, cy - 2.0, reached - left + 4.0, 4.0), 2.0, 2.0);
    for (int i = 0; i < n; ++i) {
        const bool on = i < filled;
        p.setBrush(on ? art::accent : art::raised);
        p.setPen(QPen(on ? art::accent.darker(130) : art::hairline.lighter(150), 1.0));
        p.drawEllipse(QPointF(notchX(i, n, grooveWidth), cy), 3.5, 3.5);
    }
    return img;
}

QImage sliderHandle(const QColor& face, const QColor& rim)
{
    QImage img = art::canvas(HandleWidth, GrooveHeight);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(rim, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(1.5, 2.5, HandleWidth - 3.0, GrooveHeight - 5.0), 4.0, 4.0);
    p.setPen(QPen(rim, 1.0));
    p.drawLine(QPointF(HandleWidth / 2.0, 8.0), QPointF(HandleWidth / 2.0, GrooveHeight - 8.0));
    return img;
}

// The slider's own background stays empty: the groove carries the look.
QImage sliderBackground(int width)
{
    return art::canvas(width, 36);
}

// LED dots -----------------------------------------------------------------

// The pictogram of an LED location, drawn in a 32 x 32 box.
void drawGlyph(QPainter& p, const std::string& icon)
{
    auto line = [&p](double x1, double y1, double x2, double y2) { p.drawLine(QPointF(x1, y1), QPointF(x2, y2)); };
    auto rect = [&p](double x, double y, double w, double h, double r = 2.0) {
        p.drawRoundedRect(QRectF(x, y, w, h), r, r);
    };
    auto circle = [&p](double x, double y, double r) { p.drawEllipse(QPointF(x, y), r, r); };
    auto dot = [&p](double x, double y, double r) {
        const QBrush old = p.brush();
        p.setBrush(p.pen().color());
        p.drawEllipse(QPointF(x, y), r, r);
        p.setBrush(old);
    };

    if (icon == "cpu") {
        rect(8, 8, 16, 16);
        rect(12, 12, 8, 8, 1.0);
        for (int i = 0; i < 3; ++i) {
            const double o = 11.0 + 5.0 * i;
            line(o, 4, o, 8);
            line(o, 24, o, 28);
            line(4, o, 8, o);
            line(24, o, 28, o);
        }
    } else if (icon == "center") {
        circle(16, 16, 11);
        circle(16, 16, 6);
        dot(16, 16, 2);
    } else if (icon == "pch") {
        rect(6, 11, 20, 14);
        for (int i = 0; i < 4; ++i)
            line(9.0 + 4.7 * i, 5, 9.0 + 4.7 * i, 11);
        line(10, 18, 22, 18);
    } else if (icon == "audio") {
        QPainterPath speaker;
        speaker.moveTo(5, 12);
        speaker.lineTo(10, 12);
        speaker.lineTo(16, 6);
        speaker.lineTo(16, 26);
        speaker.lineTo(10, 20);
        speaker.lineTo(5, 20);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.drawArc(QRectF(14, 10, 8, 12), -60 * 16, 120 * 16);
        p.drawArc(QRectF(14, 5, 14, 22), -60 * 16, 120 * 16);
    } else if (icon == "back_io") {
        rect(4, 8, 24, 16);
        rect(7, 11, 6, 4, 1.0);
        rect(7, 17, 6, 4, 1.0);
        circle(19, 13, 2);
        circle(24, 13, 2);
        rect(16, 17, 10, 4, 1.0);
    } else if (icon == "led_strip") {
        rect(3, 12, 26, 8);
        for (int i = 0; i < 4; ++i)
            dot(7.0 + 6.0 * i, 16, 1.8);
    } else if (icon == "edge1" || icon == "edge2") {
        const bool left = icon == "edge1";
        rect(8, 5, 18, 22);
        const double x = left ? 5 : 29;
        line(x, 7, x, 25);
        for (int i = 0; i < 3; ++i)
            dot(x, 10.0 + 6.0 * i, 1.6);
    } else if (icon == "memory" || icon == "dram") {
        rect(4, 9, 24, 13, 1.5);
        for (int i = 0; i < 4; ++i)
            rect(6.5 + 5.5 * i, 12, 4, 5, 0.8);
        line(6, 25, 15, 25);
        line(17, 25, 26, 25);
        if (icon == "dram")
            line(4, 6, 28, 6);
    } else if (icon == "pcie") {
        rect(3, 12, 26, 8, 1.0);
        line(16, 12, 16, 20);
        for (int i = 0; i < 5; ++i)
            line(5.5 + 2.0 * i, 15, 5.5 + 2.0 * i, 17);
    } else if (icon == "led") {
        QPainterPath bulb;
        bulb.moveTo(11, 20);
        bulb.lineTo(11, 13);
        bulb.arcTo(QRectF(11, 8, 10, 10), 180, -180);
        bulb.lineTo(21, 20);
        bulb.closeSubpath();
        p.drawPath(bulb);
        line(9, 20, 23, 20);
        line(13, 20, 13, 27);
        line(19, 20, 19, 25);
        line(6, 6, 9, 9);
        line(26, 6, 23, 9);
    } else if (icon == "pcb") {
        rect(4, 4, 24, 24);
        line(9, 9, 15, 9);
        line(15, 9, 19, 13);
        line(9, 22, 23, 22);
        line(23, 22, 23, 16);
        dot(9, 9, 1.6);
        dot(19, 13, 1.6);
        dot(23, 16, 1.6);
    } else if (icon == "dimm.2") {
        rect(3, 11, 26, 10, 1.5);
        line(6, 16, 18, 16);
        circle(25, 16, 1.8);
    } else if (icon == "light_bar") {
        rect(3, 13, 26, 6, 3.0);
        line(8, 8, 8, 10);
        line(16, 6, 16, 10);
        line(24, 8, 24, 10);
        line(8, 22, 8, 24);
        line(16, 22, 16, 26);
        line(24, 22, 24, 24);
    } else if (icon == "vga") {
        rect(3, 8, 26, 15);
        circle(12, 15.5, 4.5);
        circle(22, 15.5, 4.5);
        line(6, 23, 6, 27);
        line(6, 27, 16, 27);
    } else if (icon == "keyboard") {
        rect(3, 9, 26, 15);
        for (int row = 0; row < 2; ++row) {
            for (int i = 0; i < 5; ++i)
                dot(7.5 + 4.25 * i, 13.0 + 4.0 * row, 1.0);
        }
        line(11, 20.5, 21, 20.5);
    } else if (icon == "mouse") {
        rect(9, 4, 14, 24, 7.0);
        line(16, 4, 16, 12);
        line(9, 12, 23, 12);
    } else if (icon == "headphone") {
        p.drawArc(QRectF(6, 5, 20, 20), 0, 180 * 16);
        rect(4, 16, 6, 10, 2.0);
        rect(22, 16, 6, 10, 2.0);
    } else if (icon == "mic") {
        rect(12, 4, 8, 15, 4.0);
        p.drawArc(QRectF(8, 9, 16, 15), 180 * 16, 180 * 16);
        line(16, 24, 16, 28);
        line(11, 28, 21, 28);
    } else { // header: a two-row pin header
        rect(5, 10, 22, 12, 1.5);
        for (int row = 0; row < 2; ++row) {
            for (int i = 0; i < 4; ++i)
                dot(9.0 + 4.7 * i, 14.0 + 4.0 * row, 1.3);
        }
    }
}

enum class DotState { Normal, Hover, Checked, Disabled };

// An LED button face, 48 x 90: the card, and the pictogram in its top part.
// The colour dot (at 21, 54) and the name (from y 55 down) come from the button.
QImage dotButton(const std::string& icon, DotState state)
{
    QImage img = art::canvas(48, 90);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(0.5, 0.5, 47.0, 89.0);
    QColor glyph = art::textDim;
    switch (state) {
    case DotState::Normal:
        break;
    case DotState::Hover:
        p.setPen(QPen(art::hairline.lighter(130), 1.0));
        p.setBrush(art::raised);
        p.drawRoundedRect(card, 5.0, 5.0);
        glyph = art::text;
        break;
    case DotState::Checked: {
        QColor fill = art::accent;
        fill.setAlphaF(0.14);
        p.setPen(QPen(art::accent, 1.0));
        p.setBrush(fill);
        p.drawRoundedRect(card, 5.0, 5.0);
        glyph = white;
        break;
    }
    case DotState::Disabled:
        glyph = art::textDisabled;
        break;
    }
    p.translate(8.0, 10.0);
    p.setPen(QPen(glyph, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    drawGlyph(p, icon);
    return img;
}

// A dot of varying lightness and no saturation: the LED dot tints it to the
// LED's hue, so it reads as a small lit bead.
QImage colourPreview()
{
    const double c = 2.5;
    return perPixel(6, 6, [c](const Pixel& px) {
        const double a = coverage(px, [c](double x, double y) { return std::hypot(x - c, y - c) <= 3.0; });
        if (a <= 0.0)
            return QColor();
        // Lit from the upper left.
        const double d = std::hypot(px.x - (c - 0.8), px.y - (c - 0.8)) / 4.5;
        QColor g = QColor::fromHslF(0.0, 0.0, std::clamp(0.68 - 0.3 * d, 0.3, 0.7));
        g.setAlphaF(a);
        return g;
    });
}

// The band behind the LED buttons.
QImage ledArea()
{
    QImage img = art::canvas(420, 90);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(art::hairline, 1.0));
    p.setBrush(art::band);
    p.drawRoundedRect(QRectF(0.5, 0.5, 419.0, 89.0), 6.0, 6.0);
    return img;
}

// Covers the LED buttons while they do not apply.
QImage ledAreaMask()
{
    QImage img = art::canvas(420, 90);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QColor veil = art::windowBackground;
    veil.setAlphaF(0.78);
    p.setPen(Qt::NoPen);
    p.setBrush(veil);
    p.drawRoundedRect(QRectF(0.0, 0.0, 420.0, 90.0), 6.0, 6.0);
    return img;
}

QImage pageButton(bool next, const QColor& colour, bool pressed)
{
    QImage img = art::canvas(18, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (pressed) {
        QColor fill = art::accent;
        fill.setAlphaF(0.18);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(QPointF(8.5, 9.0), 8.0, 8.0);
    }
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double tip = next ? 11.0 : 6.0;
    const double back = next ? 6.5 : 10.5;
    QPolygonF chevron;
    chevron << QPointF(back, 4.5) << QPointF(tip, 9.0) << QPointF(back, 13.5);
    p.drawPolyline(chevron);
    return img;
}

// "Across all devices": one dot spreading to its neighbours.
QImage colourSpanButton(const QColor& colour, const QColor& fill)
{
    QImage img = art::canvas(34, 20);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 33.0, 19.0), 4.0, 4.0);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(17.0, 10.0), 3.0, 3.0);
    p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(11.0, 10.0), QPointF(5.5, 10.0));
    p.drawLine(QPointF(23.0, 10.0), QPointF(28.5, 10.0));
    p.drawPolyline(QPolygonF() << QPointF(8.0, 7.5) << QPointF(5.5, 10.0) << QPointF(8.0, 12.5));
    p.drawPolyline(QPolygonF() << QPointF(26.0, 7.5) << QPointF(28.5, 10.0) << QPointF(26.0, 12.5));
    return img;
}

QImage radioIndicator(const QColor& rim, bool checked)
{
    QImage img = art::canvas(14, 14);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(rim, 1.2));
    p.setBrush(art::windowBackground);
    p.drawEllipse(QPointF(7.0, 7.0), 6.0, 6.0);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(art::accent);
        p.drawEllipse(QPointF(7.0, 7.0), 3.5, 3.5);
    }
    return img;
}

QImage checkIndicator(const QColor& rim, bool checked)
{
    QImage img = art::canvas(14, 14);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(checked ? art::accent : rim, 1.2));
    p.setBrush(checked ? art::accent : art::windowBackground);
    p.drawRoundedRect(QRectF(1.0, 1.0, 12.0, 12.0), 2.5, 2.5);
    if (checked) {
        p.setPen(QPen(white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF() << QPointF(4.0, 7.2) << QPointF(6.2, 9.4) << QPointF(10.2, 4.8));
    }
    return img;
}

} // namespace

void registerControlsArt(ArtSink& sink)
{
    const QString palette = QStringLiteral("new palette/");
    sink.add(palette + "hue_00.png", colourRing);
    sink.add(palette + "hue_01.png", greyRing);
    sink.add(palette + "triangle.png", triangle);
    sink.add(palette + "color_pick04.png", [] { return ringThumb(white, shadow); });
    sink.add(palette + "color_pick04_un.png", [] { return ringThumb(art::textDisabled, shadow); });
    sink.add(palette + "color_pick05.png", [] { return ringThumb(art::accent, shadow); });
    sink.add(palette + "color_pick05_un.png", [] { return ringThumb(art::textDisabled, shadow); });
    sink.add(palette + "color_pick01.png", triangleThumb);
    sink.add(palette + "pure_color_red.png", [] { return pureColourButton(QColor(255, 0, 0)); });
    sink.add(palette + "pure_color_green.png", [] { return pureColourButton(QColor(0, 255, 0)); });
    sink.add(palette + "pure_color_blue.png", [] { return pureColourButton(QColor(0, 0, 255)); });

    const QString slider = QStringLiteral("component/slider/");
    sink.add(slider + "button_n.png", [] { return sliderHandle(art::text, art::windowBackground); });
    sink.add(slider + "button_o.png", [] { return sliderHandle(white, art::windowBackground); });
    sink.add(slider + "button_d.png", [] { return sliderHandle(art::accent, art::windowBackground); });
    struct SliderKind
    {
        const char* folder;
        const char* background;
        int width;
        int grooveWidth;
        int notches;
    };
    for (const SliderKind& k : {SliderKind{"size01", "slider_bg01.png", 246, 176, 3},
                                SliderKind{"size02", "slider_bg02.png", 336, 266, 5}}) {
        const QString dir = slider + QLatin1String(k.folder) + QLatin1Char('/');
        sink.add(dir + QLatin1String(k.background), [k] { return sliderBackground(k.width); });
        for (int filled = 1; filled <= k.notches; ++filled) {
            sink.add(dir + QStringLiteral("rate%1.png").arg(filled),
                     [k, filled] { return groove(k.grooveWidth, k.notches, filled); });
        }
    }

    const QString area = QStringLiteral("color_area/");
    std::set<std::string> icons{std::string(LedLocationIcons::Fallback)};
    for (const auto& entry : LedLocationIcons::Table)
        icons.insert(std::string(entry.icon));
    const std::pair<const char*, DotState> states[] = {
        {"_n.png", DotState::Normal}, {"_o.png", DotState::Hover},
        {"_d.png", DotState::Checked}, {"_un.png", DotState::Disabled}};
    for (const std::string& icon : icons) {
        for (const auto& [suffix, state] : states) {
            sink.add(area + "icon/" + QString::fromStdString(icon) + QLatin1String(suffix),
                     [icon, state = state] { return dotButton(icon, state); });
        }
    }
    sink.add(area + "color_preview.png", colourPreview);
    sink.add(area + "led_area.png", ledArea);
    sink.add(area + "led_area_mask.png", ledAreaMask);
    sink.add(area + "page_prev_n.png", [] { return pageButton(false, art::textDim, false); });
    sink.add(area + "page_prev_o.png", [] { return pageButton(false, art::text, false); });
    sink.add(area + "page_prev_d.png", [] { return pageButton(false, art::accent, true); });
    sink.add(area + "page_next_n.png", [] { return pageButton(true, art::textDim, false); });
    sink.add(area + "page_next_o.png", [] { return pageButton(true, art::text, false); });
    sink.add(area + "page_next_d.png", [] { return pageButton(true, art::accent, true); });
    sink.add(area + "color_span_n.png", [] { return colourSpanButton(art::textDim, art::band); });
    sink.add(area + "color_span_o.png", [] { return colourSpanButton(art::text, art::raised); });
    QColor pressedFill = art::accent;
    pressedFill.setAlphaF(0.2);
    sink.add(area + "color_span_d.png", [pressedFill] { return colourSpanButton(art::accent, pressedFill); });
    sink.add(area + "color_span_un.png", [] { return colourSpanButton(art::textDisabled, art::band); });
    sink.add(area + "radio_off.png", [] { return radioIndicator(art::textDim, false); });
    sink.add(area + "radio_off_o.png", [] { return radioIndicator(art::text, false); });
    sink.add(area + "radio_on.png", [] { return radioIndicator(art::accent, true); });
    sink.add(area + "radio_un.png", [] { return radioIndicator(art::textDisabled, false); });
    sink.add(area + "check_off.png", [] { return checkIndicator(art::textDim, false); });
    sink.add(area + "check_off_o.png", [] { return checkIndicator(art::text, false); });
    sink.add(area + "check_on.png", [] { return checkIndicator(art::accent, true); });
    sink.add(area + "check_un.png", [] { return checkIndicator(art::textDisabled, false); });
}
