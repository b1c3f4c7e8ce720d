#pragma once

#include <QGroupBox>
#include <QRect>

#include <string>

class LumetSpeedSlider;
class QLabel;

// A speed slider with its title above and a caption at each end, as the
// animated effect views show it. Re-emits the slider's mirrored value (see
// LumetSpeedSlider): with the views' ranges 1/2 at the left end, 0 in the
// middle and -1/-2 at the right end.
//
// Kind 0 (three notches) is (x, y, 246, 58), kind 1 (five notches)
// (x, y, 336, 58). Typical use:
//   auto* speed = new LabeledLumetSpeedSlider(view, 13, 198, 1, -2);
//   speed->setTitle(translated "SPEED");
//   speed->setEndTexts(translated "Slow", translated "Fast");
//   connect(speed, &LabeledLumetSpeedSlider::valueChanged, view, &View::OnSliderValueChanged);
//   speed->setValue(stored);   // emits valueChanged once when the handle moves
class LabeledLumetSpeedSlider : public QGroupBox
{
    Q_OBJECT

public:
    LabeledLumetSpeedSlider(QWidget* parent, int x, int y, int kind, int minimum);

    // Each text passes through QCoreApplication::translate("LumetClass", ...).
    void setTitle(const std::string& text);
    virtual void setLeftText(const std::string& text);
    virtual void setRightText(const std::string& text);
    void setEndTexts(const std::string& left, const std::string& right);

    LumetSpeedSlider* slider() const { return slider_; }
    int minimum() const;
    int maximum() const;
    // The mirrored value.
    int value() const;

    // Where an end caption goes: its place (x, y, 35, 20) when the text fits,
    // else widened to the text, growing away from the slider's end so that
    // the left caption keeps its left edge and the right one its right edge.
    static QRect CaptionGeometry(const QRect& place, int textWidth, bool keepRightEdge);

signals:
    void valueChanged(int aValue);

public slots:
    void setValue(int aValue);

private slots:
    void sliderPositionChanged(int pos);

private:
    LumetSpeedSlider* slider_;
    QLabel* titleLabel;
    QLabel* leftLabel;
    QLabel* rightLabel;
    QRect leftPlace;
    QRect rightPlace;

    void fitCaption(QLabel* label, const QRect& place, bool keepRightEdge);
    void describeEnds();
};
