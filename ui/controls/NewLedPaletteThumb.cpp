#include "ui/controls/NewLedPaletteThumb.h"

#include "ui/controls/LumetImage.h"

#include <QPainter>
#include <QTransform>

NewLedPaletteThumb::NewLedPaletteThumb(QWidget* parent, int kind)
    : LedPaletteDragThumb(parent),
      enabledImage(LumetImage::Load(kind == 1 ? QStringLiteral(":/Lumet/Resources/new palette/color_pick04.png")
                                              : QStringLiteral(":/Lumet/Resources/new palette/color_pick05.png"))),
      disabledImage(LumetImage::Load(kind == 1 ? QStringLiteral(":/Lumet/Resources/new palette/color_pick04_un.png")
                                               : QStringLiteral(":/Lumet/Resources/new palette/color_pick05_un.png"))),
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
    QImage rotated = source.transformed(QTransform().rotateRadians(angle_), Qt::SmoothTransformation);
    // Centred on whole device pixels: an "@2x" image has two to a point.
    const qreal ratio = source.devicePixelRatio();
    rotated.setDevicePixelRatio(ratio);
    const auto offset = [ratio](int side, int rotatedSide) {
        return static_cast<int>((side * ratio - rotatedSide) * 0.5) / ratio;
    };
    painter.drawImage(QPointF(offset(width(), rotated.width()), offset(height(), rotated.height())), rotated);
}
