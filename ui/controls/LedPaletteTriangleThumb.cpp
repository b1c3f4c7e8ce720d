#include "ui/controls/LedPaletteTriangleThumb.h"

#include "ui/controls/LumetImage.h"

#include <QPainter>

LedPaletteTriangleThumb::LedPaletteTriangleThumb(QWidget* parent)
    : LedPaletteDragThumb(parent), image(LumetImage::Load(QStringLiteral(":/Lumet/Resources/new palette/color_pick01.png")))
{
}

void LedPaletteTriangleThumb::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBackground(painter);
    painter.drawImage(0, 0, image);
}
