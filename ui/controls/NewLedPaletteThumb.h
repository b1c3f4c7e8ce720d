#pragma once

#include "ui/controls/LedPaletteDragThumb.h"

#include <QImage>

// A round thumb on the palette's hue ring, drawn rotated by the angle it shows
// so that its marker points at the ring centre. Kind 1 marks the hue (or the
// end of a range), any other kind the start of a range. The thumb handles no
// mouse input itself: it reports every press, move and release to the palette.
class NewLedPaletteThumb : public LedPaletteDragThumb
{
    Q_OBJECT

public:
    NewLedPaletteThumb(QWidget* parent, int kind);

    int kind() const { return kind_; }
    // Radians, clockwise on screen; only affects painting (call update()).
    void setAngle(float angle) { angle_ = angle; }
    float angle() const { return angle_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage enabledImage;
    QImage disabledImage;
    float angle_ = 0.0f;
    int kind_;
};
