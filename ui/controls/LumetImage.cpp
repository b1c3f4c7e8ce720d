#include "ui/controls/LumetImage.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace LumetImage {

QString PathFor(const QString& path, qreal ratio)
{
    if (ratio <= 1.0)
        return path;
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int at = dot > slash ? dot : path.size();
    QString doubled = path;
    doubled.insert(at, QLatin1String("@2x"));
    return QFileInfo::exists(doubled) ? doubled : path;
}

qreal ScreenRatio()
{
    const auto* app = qobject_cast<const QGuiApplication*>(QCoreApplication::instance());
    return app ? app->devicePixelRatio() : 1.0;
}

QImage Load(const QString& path)
{
    // The reader sets the ratio 2 from the "@2x" in the file name.
    return QImage(PathFor(path, ScreenRatio()));
}

QPixmap LoadPixmap(const QString& path)
{
    return QPixmap(PathFor(path, ScreenRatio()));
}

} // namespace LumetImage
