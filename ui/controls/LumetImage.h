#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// Resource images at the screen's density. Beside every "name.png" the build
// draws "name@2x.png" at twice the size; Qt's style sheets pick that file by
// themselves, and these functions pick it where the code loads an image.
namespace LumetImage {

// The path with "@2x" before its suffix when ratio is above 1 and that file
// exists; else the path unchanged.
QString PathFor(const QString& path, qreal ratio);

// The highest device pixel ratio of the screens; 1 without a GUI application.
qreal ScreenRatio();

// The image for the application's device pixel ratio. An "@2x" image carries
// the ratio 2, so a painter draws it at the size of the plain one.
QImage Load(const QString& path);
QPixmap LoadPixmap(const QString& path);

} // namespace LumetImage
