#include "ui/controls/LumetColorDotLabel.h"

#include "ui/controls/LedColor.h"
#include "ui/controls/LumetImage.h"

#include <QImage>
#include <QPainter>

LumetColorDotLabel::LumetColorDotLabel(QWidget* parent) : QLabel(parent)
{
}

void LumetColorDotLabel::setHue(float hue)
{
    hue_ = hue;
    update();
}

QPixmap LumetColorDotLabel::previewPixmap(float hue)
{
    const QImage preview = LumetImage::Load(QStringLiteral(":/Lumet/Resources/color_area/color_preview.png"));
    return QPixmap::fromImage(LedColor::TintToHue(preview, hue, 1.0f));
}

void LumetColorDotLabel::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, previewPixmap(hue_));
    }
    QLabel::paintEvent(event);
}
