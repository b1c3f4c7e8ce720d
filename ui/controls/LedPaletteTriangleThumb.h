#pragma once

#include "ui/controls/LedPaletteDragThumb.h"

#include <QImage>

// The thumb in the palette's triangle that marks saturation and lightness.
// Like the ring thumbs it only reports its mouse events to the palette.
class LedPaletteTriangleThumb : public LedPaletteDragThumb
{
    Q_OBJECT

public:
    explicit LedPaletteTriangleThumb(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image;
};
