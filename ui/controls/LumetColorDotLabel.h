#pragma once

#include <QLabel>
#include <QPixmap>

// A small label that shows the colour preview image tinted to a hue: every
// pixel takes the hue at full saturation and keeps its own lightness and
// alpha. The per-LED colour group puts one on each LED button.
class LumetColorDotLabel : public QLabel
{
public:
    explicit LumetColorDotLabel(QWidget* parent = nullptr);

    // Hue in turns (0..1; other values wrap); repaints.
    void setHue(float hue);
    float hue() const { return hue_; }

    // The preview image tinted to a hue, as the label paints it.
    static QPixmap previewPixmap(float hue);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float hue_ = 0.0f;
};
