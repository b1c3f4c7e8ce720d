#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

// The theme shared by every drawn image: a calm dark surface, hairlines a
// step lighter, one accent for checked and pressed states.
namespace art {

inline const QColor windowBackground{0x16, 0x17, 0x1a};
inline const QColor band{0x1f, 0x21, 0x25};
inline const QColor raised{0x26, 0x28, 0x2d};
inline const QColor hairline{0x2c, 0x2e, 0x33};
inline const QColor text{0xc8, 0xc8, 0xc8};
inline const QColor textDim{0x8c, 0x8c, 0x8c};
inline const QColor textDisabled{0x4d, 0x4d, 0x4d};
inline const QColor accent{0x3d, 0xa5, 0xf4};

// The scale the images are drawn at: 1, and 2 for their "@2x" copies, drawn
// anew at twice the size rather than enlarged. Every canvas takes it as its
// device pixel ratio, so a painter works in the image's own units either way.
inline int scale = 1;

// A transparent canvas of the given size in the image's own units, in the
// given format (premultiplied for painters, straight for per-pixel colours).
inline QImage canvas(int w, int h, QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage img(w * scale, h * scale, format);
    img.setDevicePixelRatio(scale);
    img.fill(Qt::transparent);
    return img;
}

// The whole canvas in its own units.
inline QRect area(const QImage& img)
{
    const int s = qRound(img.devicePixelRatio());
    return QRect(0, 0, img.width() / s, img.height() / s);
}

} // namespace art
