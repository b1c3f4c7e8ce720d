#pragma once

#include <QSlider>

#include <string>
#include <vector>

// A horizontal speed slider with three (kind 0) or five (kind 1) notches,
// drawn entirely by style-sheet images; the groove image fills up to the
// handle's notch.
//
// Mirrored values: when the range spans zero (minimum below 0, maximum 0 or
// more), value() and setValue() speak the negated slider position, so with
// the ranges the views use (kind 0 from -1, kind 1 from -2) the left end
// ("Slow") is 1 or 2, the middle 0 and the right end ("Fast") -1 or -2.
//
// Kinds: 0 is (x, y, 246, 36) with range minimum..minimum+2; 1 is
// (x, y, 336, 36) with minimum..minimum+4. Any other kind keeps QSlider's
// geometry and range and has no style sheets.
class LumetSpeedSlider : public QSlider
{
    Q_OBJECT

public:
    LumetSpeedSlider(QWidget* parent, int x, int y, int kind, int minimum);

    // The complete style sheet of notch (1 = leftmost) for a kind; empty for
    // an unknown kind or notch.
    static std::string StyleSheetFor(int kind, int notch);

    int kind() const { return kind_; }
    // The mirrored value of the stored position.
    int value() const;
    // The style sheet shown (index position - minimum of the style list).
    int styleIndex() const { return shownStyle; }

    // Appends one notch's style sheet; the kind's list is built through it.
    virtual void appendStyleSheet(std::string styleSheet);

public slots:
    // Moves the handle to the mirrored value (clamped into the range). The
    // slider's valueChanged(int) follows only when the position changes.
    void setValue(int aValue);

protected:
    void sliderChange(SliderChange change) override;

private:
    bool spansZero() const { return minimum() < 0 && maximum() >= 0; }
    void applyStyle(int position);

    int kind_;
    std::vector<std::string> styleSheets;
    int storedPosition = 0;
    int shownStyle = -1;
};
