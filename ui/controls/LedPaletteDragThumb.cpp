#include "ui/controls/LedPaletteDragThumb.h"

#include <QPainter>
#include <QStyleOption>

LedPaletteDragThumb::LedPaletteDragThumb(QWidget* parent) : QWidget(parent)
{
}

void LedPaletteDragThumb::mouseMoveEvent(QMouseEvent* event)
{
    emit onMouseMove(event);
}

void LedPaletteDragThumb::mousePressEvent(QMouseEvent* event)
{
    emit onMousePress(event);
}

void LedPaletteDragThumb::mouseReleaseEvent(QMouseEvent* event)
{
    emit onMouseRelease(event);
}

void LedPaletteDragThumb::paintBackground(QPainter& painter)
{
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
