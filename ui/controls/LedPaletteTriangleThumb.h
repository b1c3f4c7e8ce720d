#pragma once

#include <QImage>
#include <QWidget>

class QMouseEvent;

// The thumb in the palette's triangle that marks saturation and lightness.
// Like the ring thumbs it only reports its mouse events to the palette.
class LedPaletteTriangleThumb : public QWidget
{
    Q_OBJECT

public:
    explicit LedPaletteTriangleThumb(QWidget* parent);

signals:
    void onMouseMove(QMouseEvent* event);
    void onMousePress(QMouseEvent* event);
    void onMouseRelease(QMouseEvent* event);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image;
};
