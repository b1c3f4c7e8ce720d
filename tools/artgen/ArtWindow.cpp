// Images of the main window: background, bands, action buttons, switch, mask.
#include "ArtSink.h"
#include "ArtStyle.h"

void registerWindowArt(ArtSink& sink)
{
    sink.add(QStringLiteral("bg.png"), [] {
        QImage img = art::canvas(860, 700);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(img.rect(), art::windowBackground);
        p.setPen(art::hairline);
        p.drawRect(img.rect().adjusted(0, 0, -1, -1));
        return img;
    });
}
