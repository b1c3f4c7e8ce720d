// Images of the effect views: animation frames, sleep picture, music buttons,
// temperature bar.
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
const double pi = 3.14159265358979323846;

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

    // A crescent moon and a few stars above the modules: the LEDs sleep.
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath moon;
    moon.addEllipse(QPointF(stageWidth - 58, 30), 18, 18);
    QPainterPath bite;
    bite.addEllipse(QPointF(stageWidth - 50, 24), 16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(art::textDim);
    p.drawPath(moon.subtracted(bite));
    const struct { double x, y, r; } stars[] = {{stageWidth - 96.0, 22.0, 5.0}, {stageWidth - 84.0, 46.0, 3.0},
                                                 {stageWidth - 30.0, 62.0, 3.5}};
    for (const auto& s : stars) {
        QPainterPath star;
        // Four points with a slim waist.
        for (int k = 0; k < 8; ++k) {
            const double a = k * pi / 4 - pi / 2;
            const double r = (k % 2) ? s.r * 0.28 : s.r;
            const QPointF pt(s.x + r * std::cos(a), s.y + r * std::sin(a));
            if (k == 0)
                star.moveTo(pt);
            else
                star.lineTo(pt);
        }
        star.closeSubpath();
        p.drawPath(star);
    }
    return img;
}

// Music buttons: a 90 x 90 picture above the button's caption, in three
// looks: normal (n), hovered (o) and chosen (d).
enum class ButtonLook { Normal, Hover, Chosen };

const int musicSize = 90;

QPainterPath note(QPointF head, double stem)
{
    QPainterPath path;
    path.addEllipse(QRectF(head.x() - 6, head.y() - 4.5, 12, 9));
    path.addRect(QRectF(head.x() + 4, head.y() - stem, 2.4, stem));
    return path;
}

// Each motif fits a box of about 40 x 40 around the centre (45, 45).
QPainterPath musicMotif(const QString& name)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (name == QLatin1String("normal")) {
        // One quaver.
        path.addPath(note(QPointF(40, 58), 30));
        QPainterPath flag;
        flag.moveTo(44, 28);
        flag.cubicTo(48, 36, 60, 38, 54, 52);
        flag.cubicTo(56, 42, 50, 38, 44, 36);
        flag.closeSubpath();
        path.addPath(flag);
    } else if (name == QLatin1String("rock")) {
        // A lightning bolt.
        QPolygonF bolt;
        bolt << QPointF(50, 22) << QPointF(32, 49) << QPointF(44, 49) << QPointF(38, 70) << QPointF(58, 40)
             << QPointF(46, 40) << QPointF(54, 22);
        path.addPolygon(bolt);
        path.closeSubpath();
    } else if (name == QLatin1String("party")) {
        // A burst of rays around a star.
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double a = i * pi / 5 - pi / 2;
            const double r = (i % 2) ? 7.0 : 16.0;
            star << QPointF(45 + r * std::cos(a), 45 + r * std::sin(a));
        }
        path.addPolygon(star);
        path.closeSubpath();
        for (int i = 0; i < 8; ++i) {
            const double a = i * pi / 4 + pi / 8;
            path.addEllipse(QPointF(45 + 23 * std::cos(a), 45 + 23 * std::sin(a)), 2.2, 2.2);
        }
    } else if (name == QLatin1String("jazz")) {
        // Two beamed quavers.
        path.addPath(note(QPointF(34, 60), 30));
        path.addPath(note(QPointF(54, 55), 30));
        QPolygonF beam;
        beam << QPointF(38, 30) << QPointF(60.4, 25) << QPointF(60.4, 31) << QPointF(38, 36);
        path.addPolygon(beam);
        path.closeSubpath();
    } else if (name == QLatin1String("funk")) {
        // A disco ball on its string.
        path.addRect(QRectF(44, 20, 2, 8));
        path.addEllipse(QPointF(45, 48), 19, 19);
    } else if (name == QLatin1String("hiphop")) {
        // A microphone on its stand.
        path.addRoundedRect(QRectF(37, 22, 16, 27), 8, 8);
        QPainterPath cradle;
        cradle.addEllipse(QRectF(31, 30, 28, 28));
        QPainterPath inner;
        inner.addEllipse(QRectF(34, 27, 22, 28));
        QPainterPath lower;
        lower.addRect(QRectF(28, 44, 34, 20));
        path.addPath(cradle.subtracted(inner).intersected(lower));
        path.addRect(QRectF(44, 58, 2, 8));
        path.addRoundedRect(QRectF(36, 65, 18, 3), 1.5, 1.5);
    } else if (name == QLatin1String("romance")) {
        // A heart.
        path.moveTo(45, 66);
        path.cubicTo(20, 50, 22, 26, 36, 26);
        path.cubicTo(42, 26, 45, 31, 45, 34);
        path.cubicTo(45, 31, 48, 26, 54, 26);
        path.cubicTo(68, 26, 70, 50, 45, 66);
        path.closeSubpath();
    } else {
        // sleep: a crescent moon with a small star.
        QPainterPath moon;
        moon.addEllipse(QPointF(43, 47), 19, 19);
        QPainterPath bite;
        bite.addEllipse(QPointF(53, 40), 16, 16);
        path.addPath(moon.subtracted(bite));
        path.addEllipse(QPointF(61, 61), 2.5, 2.5);
    }
    return path;
}

QImage drawMusicButton(const QString& name, ButtonLook look)
{
    QImage img = art::canvas(musicSize, musicSize);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(7.5, 7.5, musicSize - 15, musicSize - 15);

    QColor fill = art::raised;
    QColor rim = art::hairline.lighter(150);
    QColor motif = art::textDim;
    if (look == ButtonLook::Hover) {
        fill = art::raised.lighter(125);
        rim = art::textDim;
        motif = art::text;
    } else if (look == ButtonLook::Chosen) {
        fill = art::accent.darker(260);
        rim = art::accent;
        motif = QColor(Qt::white);
    }
    if (look == ButtonLook::Chosen) {
        // A soft halo marks the chosen style.
        QRadialGradient halo(disc.center(), musicSize / 2.0);
        QColor inner = art::accent;
        inner.setAlpha(90);
        QColor outer = art::accent;
        outer.setAlpha(0);
        halo.setColorAt(0.75, inner);
        halo.setColorAt(1.0, outer);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QRectF(0, 0, musicSize, musicSize));
    }
    QLinearGradient body(disc.topLeft(), disc.bottomLeft());
    body.setColorAt(0.0, fill.lighter(115));
    body.setColorAt(1.0, fill);
    p.setPen(QPen(rim, look == ButtonLook::Chosen ? 2.0 : 1.0));
    p.setBrush(body);
    p.drawEllipse(disc);

    const QPainterPath shape = musicMotif(name);
    p.setPen(Qt::NoPen);
    p.setBrush(motif);
    p.drawPath(shape);
    if (name == QLatin1String("funk")) {
        // Facets of the disco ball.
        p.setPen(QPen(fill, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(45, 48), 9, 19);
        p.drawLine(QPointF(26, 48), QPointF(64, 48));
        p.drawLine(QPointF(29, 38), QPointF(61, 38));
        p.drawLine(QPointF(29, 58), QPointF(61, 58));
    }
    return img;
}

// The colour-temperature bar: cool blue at the left (below 40 degrees)
// through green and yellow to hot red at the right (above 60 degrees).
QImage drawTemperatureBar()
{
    const int width = 420;
    const int height = 6;
    QImage img = art::canvas(width, height);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0.0, QColor(0x2f, 0x6b, 0xff));
    g.setColorAt(0.30, QColor(0x2f, 0xd0, 0xe0));
    g.setColorAt(0.50, QColor(0x4c, 0xd9, 0x64));
    g.setColorAt(0.70, QColor(0xf5, 0xd0, 0x2a));
    g.setColorAt(1.0, QColor(0xf0, 0x3a, 0x2a));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 0, width, height), height / 2.0, height / 2.0);
    return img;
}

} // namespace

void registerViewsArt(ArtSink& sink)
{
    for (int frame = 1; frame <= frameCount; ++frame)
        sink.add(QStringLiteral("ani/00100%1.png").arg(frame, 2, 10, QLatin1Char('0')),
                 [frame] { return drawCycleFrame(frame); });
    sink.add(QStringLiteral("s5_stop.png"), [] { return drawSleep(); });

    const char* const musicNames[] = {"normal", "rock", "party", "jazz", "funk", "hiphop", "romance", "sleep"};
    for (const char* name : musicNames) {
        const QString base = QStringLiteral("music_effect_icon/") + QLatin1String(name);
        const QString n = QLatin1String(name);
        sink.add(base + QStringLiteral("_n.png"), [n] { return drawMusicButton(n, ButtonLook::Normal); });
        sink.add(base + QStringLiteral("_o.png"), [n] { return drawMusicButton(n, ButtonLook::Hover); });
        sink.add(base + QStringLiteral("_d.png"), [n] { return drawMusicButton(n, ButtonLook::Chosen); });
    }
    sink.add(QStringLiteral("temperature/color_temperature.png"), [] { return drawTemperatureBar(); });
}
