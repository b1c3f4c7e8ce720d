#include "ui/controls/LedPaletteTriangleThumb.h"

#include <QPainter>
#include <QStyleOption>

LedPaletteTriangleThumb::LedPaletteTriangleThumb(QWidget* parent)
    : QWidget(parent), image(QStringLiteral(":/Lumet/Resources/new palette/color_pick01.png"))
{
}

void LedPaletteTriangleThumb::mouseMoveEvent(QMouseEvent* event)
{
    emit onMouseMove(event);
}

void LedPaletteTriangleThumb::mousePressEvent(QMouseEvent* event)
{
    emit onMousePress(event);
}

void LedPaletteTriangleThumb::mouseReleaseEvent(QMouseEvent* event)
{
    emit onMouseRelease(event);
}

void LedPaletteTriangleThumb::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    painter.drawImage(0, 0, image);
}
