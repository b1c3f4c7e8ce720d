// One drag step of the palette's hue thumb (mouse move, triangle recoloured,
// palette painted) against the paint alone: what a drag adds to a 16.7 ms frame.

#include "bench/common/BenchTiming.h"
#include "ui/controls/NewLedPalette.h"
#include "ui/controls/NewLedPaletteThumb.h"

#include <QApplication>
#include <QMouseEvent>

#include <cmath>

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    const int runs = BenchTiming::Runs(argc, argv, 400);

    NewLedPalette palette;
    palette.setGeometry(476, 44, 170, 387);
    palette.setMode(0);
    palette.show();
    QApplication::processEvents();
    auto* thumb = palette.findChild<NewLedPaletteThumb*>(QStringLiteral("hueThumb"));
    if (!thumb)
        return BenchTiming::Fail("the palette has no hue thumb");

    // Round the ring one degree per step, as a slow drag would go; the ring
    // centre and radius of the thumb's path.
    const QPoint centre(98, 76);
    const double radius = 64.0;
    const QPoint grab(thumb->width() / 2, thumb->height() / 2);
    Send(thumb, QEvent::MouseButtonPress, grab);
    int step = 0;
    const double dragMs = BenchTiming::MedianMs(runs, [&] {
        const double angle = (step++ % 360) * M_PI / 180.0;
        const QPoint target(qRound(centre.x() + radius * std::sin(angle)), qRound(centre.y() - radius * std::cos(angle)));
        Send(thumb, QEvent::MouseMove, target - thumb->pos());
        palette.repaint();
    });
    Send(thumb, QEvent::MouseButtonRelease, grab);
    const double paintMs = BenchTiming::MedianMs(runs, [&] { palette.repaint(); });
    if (palette.liveHueAngle() == 0.0f && palette.hueAngle() == 0.0f)
        return BenchTiming::Fail("the drag did not move the hue");
    BenchTiming::Report("palette drag step (recolour+paint)", dragMs, "ms", paintMs, "paint alone", "< 1 ms");
    return 0;
}
