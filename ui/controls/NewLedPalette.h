#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

class LedPaletteTriangleThumb;
class NewLedPaletteThumb;
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
// The palette keeps no colour of its own beyond its angles and the triangle
// thumb's position; views store what getColor/triangleThumbPos or getRange
// report. To show a stored colour without it being reported back as a user
// change, disconnect onColorChanged() around setColor/moveTriangleThumb.
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
    // lightness at the triangle thumb's centre (each 0..1). The inverse of
    // setColor within a pixel's worth.
    void getColor(float& hue, float& saturation, float& lightness) const;
    // The triangle thumb's top-left corner: the position views store per LED.
    void triangleThumbPos(int& x, int& y) const;
    // Puts the triangle thumb's top-left corner at a stored position, without
    // clamping and without a signal.
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

private:
    // Hue thumb to the committed hue, triangle to the live hue, repaint.
    void refreshRing();
    void recolorTriangle(float hue);
    void moveRingThumb(NewLedPaletteThumb* thumb, float angle);
    // Clamps the point into the triangle and centres the thumb on it.
    void placeTriangleThumb(QPoint centre);
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

    QPushButton* redButton;
    QPushButton* greenButton;
    QPushButton* blueButton;
    int mode_ = 0;
};
