// Images of the main window: background, bands, action buttons, switch, mask,
// close button and the effect list.
#include "ArtIcon.h"
#include "ArtSink.h"
#include "ArtStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// The effect list on the left and the header above everything.
const int headerHeight = 97;
const int columnWidth = 181;

QImage drawBackground()
{
    QImage img = art::canvas(860, 700);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(art::area(img), art::windowBackground);

    // Header: a faint vertical fade, the emblem, and an accent rule along its
    // foot that fades out to the right.
    QLinearGradient header(0, 0, 0, headerHeight);
    header.setColorAt(0.0, art::raised);
    header.setColorAt(1.0, art::band);
    p.fillRect(QRect(0, 0, 860, headerHeight), header);
    p.fillRect(QRect(0, headerHeight - 1, 860, 1), art::hairline);
    QLinearGradient rule(0, 0, 860, 0);
    rule.setColorAt(0.0, art::accent);
    QColor faded = art::accent;
    faded.setAlpha(0);
    rule.setColorAt(0.6, faded);
    p.fillRect(QRect(0, headerHeight - 1, 860, 1), rule);

    // A wide, faint light from the emblem's corner gives the header depth.
    QRadialGradient ambient(QPointF(60, 30), 320);
    QColor lit = art::accent;
    lit.setAlpha(28);
    QColor unlit = art::accent;
    unlit.setAlpha(0);
    ambient.setColorAt(0.0, lit);
    ambient.setColorAt(1.0, unlit);
    p.fillRect(QRect(0, 0, 860, headerHeight - 1), ambient);

    p.save();
    p.translate(18, 14);
    paintEmblem(p);
    p.restore();

    // Effect column.
    p.fillRect(QRect(0, headerHeight, columnWidth, 700 - headerHeight), art::band);

    // Footer rule above the action buttons.
    p.fillRect(QRect(columnWidth + 2, 626, 860 - columnWidth - 2, 1), art::hairline);

    p.setPen(art::hairline);
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(art::area(img).adjusted(0, 0, -1, -1));
    return img;
}

// One state of the action buttons (APPLY, DEFAULT, UNDO): a rounded plate.
QImage drawActionButton(const QColor& fill, const QColor& border)
{
    QImage img = art::canvas(112, 26);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 111, 25), 4, 4);
    return img;
}

// The LED switch: a small lamp and a pill whose knob sits right and glows
// when on.
QImage drawSwitch(bool on)
{
    QImage img = art::canvas(102, 20);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Lamp: a bulb over its screw base, with rays while lit.
    const QColor lamp = on ? art::text : art::textDim;
    const QPointF bulb(48.5, 8.0);
    p.setPen(QPen(lamp, 1.3));
    p.setBrush(on ? QBrush(art::accent) : QBrush(Qt::NoBrush));
    QPainterPath glass;
    glass.moveTo(bulb.x() - 2.5, bulb.y() + 6);
    glass.cubicTo(bulb.x() - 2.5, bulb.y() + 3, bulb.x() - 5.5, bulb.y() + 2, bulb.x() - 5.5, bulb.y() - 1.5);
    glass.arcTo(QRectF(bulb.x() - 5.5, bulb.y() - 7, 11, 11), 180, -180);
    glass.cubicTo(bulb.x() + 5.5, bulb.y() + 2, bulb.x() + 2.5, bulb.y() + 3, bulb.x() + 2.5, bulb.y() + 6);
    glass.closeSubpath();
    p.drawPath(glass);
    p.drawLine(QPointF(bulb.x() - 2.2, bulb.y() + 8.2), QPointF(bulb.x() + 2.2, bulb.y() + 8.2));
    if (on) {
        p.setPen(QPen(art::accent, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(bulb.x() - 9.5, bulb.y() - 1.5), QPointF(bulb.x() - 7.5, bulb.y() - 1.5));
        p.drawLine(QPointF(bulb.x() + 7.5, bulb.y() - 1.5), QPointF(bulb.x() + 9.5, bulb.y() - 1.5));
        p.drawLine(QPointF(bulb.x() - 7, bulb.y() - 7.5), QPointF(bulb.x() - 5.6, bulb.y() - 6.1));
        p.drawLine(QPointF(bulb.x() + 7, bulb.y() - 7.5), QPointF(bulb.x() + 5.6, bulb.y() - 6.1));
    }

    const QRectF pill(62.5, 2.5, 38, 15);
    p.setPen(QPen(on ? art::accent.darker(130) : art::hairline.lighter(130), 1));
    p.setBrush(on ? art::accent.darker(160) : art::raised);
    p.drawRoundedRect(pill, 7.5, 7.5);
    const qreal knobX = on ? pill.right() - 13.5 : pill.left() + 1.5;
    p.setPen(Qt::NoPen);
    p.setBrush(on ? art::accent : art::textDim);
    p.drawEllipse(QRectF(knobX, pill.top() + 1.5, 12, 12));
    return img;
}

// Covers the whole window while the LEDs are off; the switch and the close
// button stay above it.
QImage drawMask()
{
    QImage img = art::canvas(860, 700);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(art::area(img), QColor(0x0c, 0x0d, 0x0f, 215));

    // A dimmed power glyph in the middle of the page.
    const QPointF c(520, 380);
    QPen pen(QColor(0x4d, 0x4d, 0x4d), 6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 40, c.y() - 40, 80, 80), 120 * 16, 300 * 16);
    p.drawLine(QPointF(c.x(), c.y() - 52), QPointF(c.x(), c.y() - 8));
    return img;
}

QImage drawCloseButton(bool hover)
{
    QImage img = art::canvas(22, 22);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc4, 0x3b, 0x3b));
        p.drawRoundedRect(QRectF(0, 0, 22, 22), 4, 4);
    }
    p.setPen(QPen(hover ? QColor(Qt::white) : art::textDim, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(15, 15));
    p.drawLine(QPointF(15, 7), QPointF(7, 15));
    return img;
}

// Effect list entries: a hairline below each, a lighter plate on hover and an
// accent bar at the left edge when checked. The right edge stays plain
// because a scroll bar may cover it.
QImage drawEffectButton(int state)
{
    QImage img = art::canvas(179, 33);
    QPainter p(&img);
    if (state == 1)
        p.fillRect(art::area(img), art::raised);
    if (state == 2) {
        QLinearGradient g(0, 0, 179, 0);
        g.setColorAt(0.0, art::accent.darker(250));
        g.setColorAt(1.0, art::band);
        p.fillRect(art::area(img), g);
        p.fillRect(QRect(0, 0, 4, 33), art::accent);
    }
    p.fillRect(QRect(12, 32, 155, 1), art::hairline);
    return img;
}

} // namespace

void registerWindowArt(ArtSink& sink)
{
    sink.add(QStringLiteral("Window/bg.png"), drawBackground);
    // The vertical rule right of the effect list, the rule below the band and the band.
    sink.add(QStringLiteral("Window/line_vertical.png"), [] {
        QImage img = art::canvas(2, 595);
        img.fill(art::hairline);
        return img;
    });
    // The rule below the band stays clear: the views' controls cross it, and
    // the band fading out marks the edge well enough.
    sink.add(QStringLiteral("Window/line_horizontal.png"), [] { return art::canvas(678, 1); });
    // The band behind the top of a view: a glow that fades into the surface.
    sink.add(QStringLiteral("Window/band.png"), [] {
        QImage img = art::canvas(674, 103);
        QPainter p(&img);
        QLinearGradient g(0, 0, 0, 103);
        QColor clear = art::band;
        clear.setAlpha(0);
        g.setColorAt(0.0, art::band);
        g.setColorAt(1.0, clear);
        p.fillRect(art::area(img), g);
        return img;
    });

    sink.add(QStringLiteral("Window/button_normal.png"), [] { return drawActionButton(art::raised, art::hairline); });
    sink.add(QStringLiteral("Window/button_hover.png"),
             [] { return drawActionButton(art::raised.lighter(125), art::accent.darker(150)); });
    sink.add(QStringLiteral("Window/button_pressed.png"), [] { return drawActionButton(art::accent.darker(140), art::accent); });
    sink.add(QStringLiteral("Window/button_disabled.png"),
             [] { return drawActionButton(art::windowBackground, QColor(0x24, 0x26, 0x2a)); });

    sink.add(QStringLiteral("Window/switch_on.png"), [] { return drawSwitch(true); });
    sink.add(QStringLiteral("Window/switch_off.png"), [] { return drawSwitch(false); });
    sink.add(QStringLiteral("Window/bg_mask.png"), drawMask);
    sink.add(QStringLiteral("Window/close_normal.png"), [] { return drawCloseButton(false); });
    sink.add(QStringLiteral("Window/close_hover.png"), [] { return drawCloseButton(true); });

    sink.add(QStringLiteral("Window/effect_normal.png"), [] { return drawEffectButton(0); });
    sink.add(QStringLiteral("Window/effect_hover.png"), [] { return drawEffectButton(1); });
    sink.add(QStringLiteral("Window/effect_checked.png"), [] { return drawEffectButton(2); });
}
