#pragma once

#include <QWidget>

class QMouseEvent;
class QPainter;

// What the palette's thumbs share: they handle no mouse input themselves but
// report every press, move and release to the palette, which does the drag.
class LedPaletteDragThumb : public QWidget
{
    Q_OBJECT

public:
    explicit LedPaletteDragThumb(QWidget* parent);

signals:
    void onMouseMove(QMouseEvent* event);
    void onMousePress(QMouseEvent* event);
    void onMouseRelease(QMouseEvent* event);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // The style sheet's background, under the thumb's own image.
    void paintBackground(QPainter& painter);
};
