#include "ui/controls/NewLedPaletteThumb.h"

#include <QPainter>
#include <QTransform>

NewLedPaletteThumb::NewLedPaletteThumb(QWidget* parent, int kind)
    : LedPaletteDragThumb(parent),
      enabledImage(kind == 1 ? QStringLiteral(":/Lumet/Resources/new palette/color_pick04.png")
                             : QStringLiteral(":/Lumet/Resources/new palette/color_pick05.png")),
      disabledImage(kind == 1 ? QStringLiteral(":/Lumet/Resources/new palette/color_pick04_un.png")
                              : QStringLiteral(":/Lumet/Resources/new palette/color_pick05_un.png")),
      kind_(kind)
{
}

void NewLedPaletteThumb::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBackground(painter);

    const QImage& source = isEnabled() ? enabledImage : disabledImage;
    if (source.isNull())
        return;
    const QImage rotated = source.transformed(QTransform().rotateRadians(angle_), Qt::SmoothTransformation);
    painter.drawImage(static_cast<int>((width() - rotated.width()) * 0.5),
                      static_cast<int>((height() - rotated.height()) * 0.5), rotated);
}
