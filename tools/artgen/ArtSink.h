#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// Collects the images to draw. Each area of the panel registers its own
// images in its own source file; main() writes them all and the resource list.
class ArtSink
{
public:
    using Painter = std::function<QImage()>;

    // path is relative to the resource prefix, e.g. "Palette/ring.png".
    void add(const QString& path, Painter draw) { items.push_back({path, std::move(draw)}); }

    struct Item
    {
        QString path;
        Painter draw;
    };
    std::vector<Item> items;
};

// One per area; each lives in its own Art*.cpp.
void registerWindowArt(ArtSink& sink);
void registerControlsArt(ArtSink& sink);
void registerViewsArt(ArtSink& sink);
