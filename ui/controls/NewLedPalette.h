#pragma once

#include "ui/controls/PaletteGeometry.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

class LedPaletteTriangleThumb;
class NewLedPaletteThumb;
class QKeyEvent;
class QMouseEvent;
class QPushButton;

// The colour picker of the effect views: a hue ring with a hue thumb, a
// saturation/lightness triangle inside it with its own thumb, and three small
// pure-colour buttons (red, green, blue) at its left.
//
// Modes (setMode):
//   0  full colour: hue thumb, triangle and its thumb, pure-colour buttons;
//      ring and triangle take presses.
//   1  range: a second (start) thumb on the ring; the arc from the start thumb
//      clockwise to the hue (end) thumb is lit on a grey ring. Read with getRange.
//   2  hue only: ring and hue thumb, pure-colour buttons, no triangle (the
//      saturation and lightness last set are kept and reported).
//   3  inactive: the ring alone, no thumbs, no input.
//
// The palette keeps its state in floating point, the angles and the point in
// the triangle, and paints from it; pixels are only for painting and hit
// tests. A colour set from code reads back as it was set, a turn of the hue
// alone keeps saturation and lightness, and a press or drag in the triangle
// takes the colour under the pointer. Views store what getColor and
// triangleThumbPos or getRange report. To show a stored colour without it
// being reported back as a user change, disconnect onColorChanged() around
// setColor/moveTriangleThumb.
//
// Keyboard (the palette takes focus in modes 0 to 2): Left and Right turn the
// hue by one degree (in mode 1 the end of the range); Up and Down move the
// triangle's thumb up or down, darker or lighter by 1 % (mode 0), or turn the
// start of the range (mode 1).
//
// Geometry: the views give it (476, 44, 170, 387) or (477, 54, 170, 387); the
// ring is centred at (98, 76). See PaletteGeometry.h for the maths.
class NewLedPalette : public QWidget
{
    Q_OBJECT

public:
    explicit NewLedPalette(QWidget* parent = nullptr);

    // Stores the mode and shows the thumbs and buttons that belong to it (see
    // above). Any other value is stored and only repaints (nothing but the
    // background is drawn).
    void setMode(int mode);
    int mode() const { return mode_; }

    // Shows a colour (each value 0..1): the hue on the ring and, when
    // moveTriangleThumb is true, saturation and lightness in the triangle.
    // Emits onColorChanged(). Does nothing in modes 1 and 3.
    void setColor(float hue, float saturation, float lightness, bool moveTriangleThumb);
    // The colour shown: the committed hue (0..1) and the saturation and
    // lightness of the triangle's point (each 0..1). The inverse of setColor.
    void getColor(float& hue, float& saturation, float& lightness) const;
    // The triangle thumb's top-left corner: the position views store per LED.
    void triangleThumbPos(int& x, int& y) const;
    // Puts the triangle thumb's top-left corner at a stored position, without
    // clamping and without a signal. A position within a pixel of where the
    // thumb stands is that same place (the pixel was rounded from the colour):
    // the colour is kept; from one further off the thumb reads its own.
    void moveTriangleThumb(int x, int y);

    // Mode 1 only: shows the range from start to start + sweep (fractions of a
    // turn, each 0..1; the end wraps past a full turn). Values outside 0..1
    // are ignored. Emits onPositionChanged() and onColorChanged() for each
    // thumb that moves.
    void setRange(float start, float sweep);
    // start = start angle / 2*pi, sweep = sweep / 2*pi (0..1), as set by the
    // user's drags or setRange. Right after construction: 0.5 and 0.5.
    void getRange(float& start, float& sweep) const;

    // The angles behind the state, in radians (0 at the top, clockwise).
    float hueAngle() const { return hueAngle_; }
    float liveHueAngle() const { return liveHueAngle_; }
    float startAngle() const { return startAngle_; }
    float sweepAngle() const { return sweep_; }

signals:
    // A ring thumb was released on a new angle, a ring press changed the hue,
    // or setRange moved a thumb.
    void onPositionChanged();
    // Every drag step of the hue thumb; position is the live hue angle in
    // radians (0..2*pi).
    void onPositionChanging(float position);
    // The colour or the range may have changed: read getColor or getRange.
    void onColorChanged();

public slots:
    void onThumbMouseMove(QMouseEvent* event);
    void onThumbMousePress(QMouseEvent* event);
    void onThumbMouseRelease(QMouseEvent* event);
    void onStartThumbMouseMove(QMouseEvent* event);
    void onStartThumbMousePress(QMouseEvent* event);
    void onStartThumbMouseRelease(QMouseEvent* event);
    void onTriangleThumbMouseMove(QMouseEvent* event);
    void onTriangleThumbMousePress(QMouseEvent* event);
    void onTriangleThumbMouseRelease(QMouseEvent* event);
    void onPureColorClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Commits a hue (range end) or range start angle and reports it when it
    // differs from the one in force.
    void commitHue(float angle);
    void commitStart(float angle);
    // In mode 1 the sweep follows a ring thumb turned from one angle to
    // another (sign +1 for the end thumb, -1 for the start thumb); a turn that
    // would take it past the other thumb or beyond a full turn pins the sweep
    // and leaves the thumb where it was. Returns the angle the thumb takes.
    float followSweep(float from, float to, float sign);
    // The triangle's colour, and its thumb drawn at the point that shows it.
    void setTriangleColour(PaletteGeometry::SaturationLightness colour);
    // The keyboard's and the screen reader's account of the current mode.
    void describeMode();
    // Hue thumb to the committed hue, triangle to the live hue, repaint.
    void refreshRing();
    void recolorTriangle(float hue);
    void moveRingThumb(NewLedPaletteThumb* thumb, float angle);
    QPushButton* createPureColorButton(const char* image, int y);
    // The thumb's new top-left corner for a drag step.
    static QPoint dragTopLeft(const QWidget* thumb, QPoint pressPoint, const QMouseEvent* event);

    QImage colorRing;
    QImage greyRing;
    QImage triangleSource;
    QImage triangle;
    float triangleHue = -1.0f; // the hue the triangle image shows; none yet

    NewLedPaletteThumb* hueThumb;
    NewLedPaletteThumb* startThumb;
    LedPaletteTriangleThumb* triangleThumb;

    bool hueDragging = false;
    QPoint huePressPoint;
    float hueAngle_ = 0.0f;
    float liveHueAngle_ = 0.0f;
    bool startDragging = false;
    QPoint startPressPoint;
    float startAngle_;
    float liveStartAngle_;
    float sweep_ = 0.0f;
    bool triangleDragging = false;
    QPoint trianglePressPoint;
    // The triangle's position, held as the saturation and lightness it shows
    // so that they read back exactly. Set from code, their point may lie a
    // hair outside the drawn triangle (a pure colour's does); the thumb is
    // drawn at the nearest pixel inside.
    PaletteGeometry::SaturationLightness triangleColour{1.0f, 0.0f};

    QPushButton* redButton;
    QPushButton* greenButton;
    QPushButton* blueButton;
    int mode_ = 0;
};
