#include "ui/controls/LedColor.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace LedColor {

namespace {

qreal Clamp01(float v)
{
    return std::isfinite(v) ? std::clamp<qreal>(v, 0.0, 1.0) : 0.0;
}

} // namespace

float NormalisedHue(float hue)
{
    if (!std::isfinite(hue))
        return 0.0f;
    if (hue >= 0.0f && hue <= 1.0f)
        return hue;
    const float wrapped = hue - std::floor(hue);
    return wrapped >= 1.0f ? 0.0f : wrapped;
}

int PackedFromHsl(float hue, float saturation, float lightness)
{
    const QColor c = QColor::fromHslF(NormalisedHue(hue), Clamp01(saturation), Clamp01(lightness));
    return c.red() + 256 * c.green() + 65536 * c.blue();
}

QImage TintToHue(const QImage& source, float hue, std::optional<float> saturation)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const qreal h = NormalisedHue(hue);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = line[x];
            if (qAlpha(px) == 0)
                continue; // nothing shows; keep the pixel as it is
            qreal ph, ps, pl, pa;
            QColor(px).getHslF(&ph, &ps, &pl, &pa);
            QColor tinted;
            tinted.setHslF(h, saturation ? Clamp01(*saturation) : ps, pl, 1.0);
            line[x] = qRgba(tinted.red(), tinted.green(), tinted.blue(), qAlpha(px));
        }
    }
    return image;
}

} // namespace LedColor
