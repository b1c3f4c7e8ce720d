// The program's desktop icon: a memory module on a dark tile, its light bar
// running through the colours.
#include "ArtIcon.h"
#include "ArtStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

// The module with its light bar on a 64-unit grid, glow included.
void paintEmblem(QPainter& p)
{
    // Glow behind the light bar.
    const QRectF bar(13, 17, 38, 8);
    QRadialGradient glow(bar.center(), 24);
    QColor inner = art::accent;
    inner.setAlpha(110);
    QColor outer = art::accent;
    outer.setAlpha(0);
    glow.setColorAt(0.0, inner);
    glow.setColorAt(1.0, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(bar.center(), 24, 24);

    // Module body with its notch and contacts.
    const QRectF body(10, 14, 44, 36);
    QPainterPath module;
    module.addRoundedRect(body, 3, 3);
    QPainterPath notch;
    notch.addRect(QRectF(30, 46, 4, 5));
    QLinearGradient sheen(body.topLeft(), body.bottomLeft());
    sheen.setColorAt(0.0, QColor(0x3a, 0x3d, 0x44));
    sheen.setColorAt(1.0, QColor(0x24, 0x26, 0x2b));
    p.setPen(QPen(QColor(0x4a, 0x4d, 0x55), 0.8));
    p.setBrush(sheen);
    p.drawPath(module.subtracted(notch));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xa2, 0x4a));
    for (int i = 0; i < 9; ++i) {
        const double x = 13 + i * 4.3;
        if (x > 28 && x < 34)
            continue;
        p.drawRect(QRectF(x, 44, 2.4, 4));
    }

    // The light bar.
    QLinearGradient spectrum(bar.topLeft(), bar.topRight());
    spectrum.setColorAt(0.0, QColor(0xff, 0x3d, 0x6e));
    spectrum.setColorAt(0.35, QColor(0xff, 0xb0, 0x3a));
    spectrum.setColorAt(0.65, art::accent);
    spectrum.setColorAt(1.0, QColor(0x9b, 0x5c, 0xff));
    p.setBrush(spectrum);
    p.drawRoundedRect(bar, 2.5, 2.5);

    // Fins.
    p.setPen(QPen(QColor(0x4a, 0x4d, 0x55), 1.0));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(16, 30 + i * 4.5), QPointF(48, 30 + i * 4.5));
}

QImage drawAppIcon(int size)
{
    QImage img = art::canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Everything is laid out on a 64-unit grid and scaled, so each size is
    // drawn as vectors rather than resampled.
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient tile(0, 2, 0, 62);
    tile.setColorAt(0.0, art::raised.lighter(115));
    tile.setColorAt(1.0, art::windowBackground);
    p.setPen(QPen(art::hairline.lighter(140), 1.0));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2.5, 2.5, 59, 59), 12, 12);
    // The glow stays on the tile.
    QPainterPath clip;
    clip.addRoundedRect(QRectF(3, 3, 58, 58), 11.5, 11.5);
    p.setClipPath(clip);
    paintEmblem(p);
    return img;
}
