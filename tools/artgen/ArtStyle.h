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

// A transparent ARGB canvas of the given size.
inline QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

} // namespace art
