#pragma once

#include <QPointer>
#include <QVector>
#include <QWidget>

// The frame that marks the control holding the keyboard's focus. The theme's
// style sheet draws it in the accent colour a little outside the control, so
// it covers nothing of the control itself, above everything else in its
// window. It follows the control as it (or anything it sits in) moves,
// resizes, hides or goes, and shows only while the keyboard is in use.
class LumetFocusFrame : public QWidget
{
    Q_OBJECT

public:
    // A control may name the part of itself to frame (a QRect in its own
    // coordinates) in this property; else the frame goes round all of it.
    static constexpr const char* AreaProperty = "focusFrameArea";
    // The gap between the control and the frame's outer edge.
    static constexpr int Margin = 3;

    // A child of window, above all its other children.
    explicit LumetFocusFrame(QWidget* window);

    // The control to mark; null marks none.
    void SetTarget(QWidget* target);
    QWidget* Target() const { return target; }
    // Whether the keyboard is in use: the frame shows only then.
    void SetKeyboardInUse(bool inUse);

    // The frame's geometry in the window for a control: the control's area
    // widened by Margin, kept within the window.
    static QRect FrameRect(const QWidget* target, const QWidget* window);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Follow();
    // Watches the control and every widget it sits in, or stops watching.
    void Watch(bool on);

    QPointer<QWidget> target;
    QVector<QPointer<QWidget>> watched;
    bool keyboardInUse = false;
};
