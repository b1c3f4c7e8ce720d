// Images of the effect views: animation frames, sleep picture, music buttons.
#include "ArtSink.h"
#include "ArtStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace {

// The preview pictures share one stage: four memory modules standing side by
// side, their light bars on top.
const int stageWidth = 390;
const int stageHeight = 250;
const int moduleCount = 4;
const int moduleWidth = 46;
const int moduleHeight = 176;
const int moduleGap = 30;
const int barHeight = 30;
const int frameCount = 25;

QRectF moduleRect(int i)
{
    const int total = moduleCount * moduleWidth + (moduleCount - 1) * moduleGap;
    const double x = (stageWidth - total) / 2.0 + i * (moduleWidth + moduleGap);
    return QRectF(x, stageHeight - moduleHeight - 18, moduleWidth, moduleHeight);
}

QRectF barRect(int i)
{
    const QRectF m = moduleRect(i);
    return QRectF(m.left() + 3, m.top() + 3, m.width() - 6, barHeight);
}

// lit(i) gives the colour of module i's light bar at its horizontal middle, or
// an invalid colour for a dark module; bar(i) the brush that fills the bar.
void drawModules(QPainter& p, const std::function<QBrush(int)>& bar, const std::function<QColor(int)>& lit)
{
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < moduleCount; ++i) {
        const QRectF m = moduleRect(i);
        const QColor glowColour = lit(i);
        if (glowColour.isValid()) {
            QRadialGradient glow(barRect(i).center(), 70);
            QColor inner = glowColour;
            inner.setAlpha(110);
            QColor outer = glowColour;
            outer.setAlpha(0);
            glow.setColorAt(0.0, inner);
            glow.setColorAt(1.0, outer);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(barRect(i).center(), 70, 70);
        }

        // Heat spreader with a soft vertical sheen.
        QLinearGradient body(m.topLeft(), m.bottomLeft());
        body.setColorAt(0.0, art::raised.lighter(120));
        body.setColorAt(1.0, art::band);
        p.setPen(QPen(art::hairline.lighter(130), 1));
        p.setBrush(body);
        p.drawRoundedRect(m, 4, 4);

        p.setPen(Qt::NoPen);
        p.setBrush(bar(i));
        p.drawRoundedRect(barRect(i), 3, 3);

        // Fins of the spreader below the light bar.
        p.setPen(QPen(art::hairline.lighter(150), 1));
        for (int k = 0; k < 6; ++k) {
            const double y = m.top() + barHeight + 20 + k * 16;
            p.drawLine(QPointF(m.left() + 9, y), QPointF(m.right() - 9, y));
        }

        // Gold contacts at the foot.
        const QRectF contacts(m.left() + 4, m.bottom() - 10, m.width() - 8, 7);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xb8, 0x93, 0x3f));
        p.drawRect(contacts);
    }
    // The slot the modules stand in.
    p.setPen(Qt::NoPen);
    p.setBrush(art::hairline);
    p.drawRoundedRect(QRectF(20, stageHeight - 18, stageWidth - 40, 6), 3, 3);
}

// Hue at a horizontal position of the stage in a given frame: a band of
// colours drifting right, one full turn over the 25 frames, so the last frame
// leads straight back into the first.
double hueAt(double x, int frame)
{
    const double h = x / stageWidth * 0.75 - (frame - 1) / double(frameCount);
    return h - std::floor(h);
}

QImage drawCycleFrame(int frame)
{
    QImage img = art::canvas(stageWidth, stageHeight);
    QPainter p(&img);
    auto colourAt = [frame](double x) { return QColor::fromHslF(hueAt(x, frame), 1.0, 0.55); };
    drawModules(
        p,
        [&](int i) {
            const QRectF r = barRect(i);
            QLinearGradient g(r.topLeft(), r.topRight());
            for (int s = 0; s <= 4; ++s)
                g.setColorAt(s / 4.0, colourAt(r.left() + r.width() * s / 4.0));
            return QBrush(g);
        },
        [&](int i) { return colourAt(barRect(i).center().x()); });
    return img;
}

QImage drawSleep()
{
    QImage img = art::canvas(stageWidth, stageHeight);
    QPainter p(&img);
    drawModules(
        p, [](int) { return QBrush(QColor(0x30, 0x32, 0x37)); }, [](int) { return QColor(); });

    // A crescent moon with two small z's above the modules: the LEDs sleep.
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath moon;
    moon.addEllipse(QPointF(stageWidth - 58, 30), 18, 18);
    QPainterPath bite;
    bite.addEllipse(QPointF(stageWidth - 50, 24), 16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(art::textDim);
    p.drawPath(moon.subtracted(bite));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(art::textDim);
    p.drawText(QPointF(stageWidth - 104, 24), QStringLiteral("z"));
    f.setPixelSize(10);
    p.setFont(f);
    p.drawText(QPointF(stageWidth - 90, 12), QStringLiteral("z"));
    return img;
}

} // namespace

void registerViewsArt(ArtSink& sink)
{
    for (int frame = 1; frame <= frameCount; ++frame)
        sink.add(QStringLiteral("ani/00100%1.png").arg(frame, 2, 10, QLatin1Char('0')),
                 [frame] { return drawCycleFrame(frame); });
    sink.add(QStringLiteral("s5_stop.png"), [] { return drawSleep(); });
}
