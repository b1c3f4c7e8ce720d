#include "ui/controls/LedPaletteTriangleThumb.h"

#include <QPainter>

LedPaletteTriangleThumb::LedPaletteTriangleThumb(QWidget* parent)
    : LedPaletteDragThumb(parent), image(QStringLiteral(":/Lumet/Resources/new palette/color_pick01.png"))
{
}

void LedPaletteTriangleThumb::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBackground(painter);
    painter.drawImage(0, 0, image);
}
