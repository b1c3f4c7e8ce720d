#include "ui/controls/NewLedPaletteThumb.h"

#include <QPainter>
#include <QStyleOption>
#include <QTransform>

NewLedPaletteThumb::NewLedPaletteThumb(QWidget* parent, int kind)
    : QWidget(parent),
      enabledImage(kind == 1 ? QStringLiteral(":/Lumet/Resources/new palette/color_pick04.png")
                             : QStringLiteral(":/Lumet/Resources/new palette/color_pick05.png")),
      disabledImage(kind == 1 ? QStringLiteral(":/Lumet/Resources/new palette/color_pick04_un.png")
                              : QStringLiteral(":/Lumet/Resources/new palette/color_pick05_un.png")),
      kind_(kind)
{
}

void NewLedPaletteThumb::mouseMoveEvent(QMouseEvent* event)
{
    emit onMouseMove(event);
}

void NewLedPaletteThumb::mousePressEvent(QMouseEvent* event)
{
    emit onMousePress(event);
}

void NewLedPaletteThumb::mouseReleaseEvent(QMouseEvent* event)
{
    emit onMouseRelease(event);
}

void NewLedPaletteThumb::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    const QImage& source = isEnabled() ? enabledImage : disabledImage;
    if (source.isNull())
        return;
    const QImage rotated = source.transformed(QTransform().rotateRadians(angle_), Qt::SmoothTransformation);
    painter.drawImage(static_cast<int>((width() - rotated.width()) * 0.5),
                      static_cast<int>((height() - rotated.height()) * 0.5), rotated);
}
