#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class LumetFocusFrame;

// Driving a window from the keyboard. Tab and Shift+Tab walk the controls in
// the order the window gives (reading order), skipping what the keyboard
// cannot reach; Enter presses the focused button as Space does; the window's
// focus frame shows while keys are in use and hides at a mouse press. A
// control that loses the focus because it goes away, hides or is disabled
// hands it to the window's home control (for the panel: the chosen effect),
// so the focus never jumps to a control the user did not pick.
class LumetKeyboardNavigation : public QObject
{
    Q_OBJECT

public:
    using Order = std::function<QList<QWidget*>()>;
    using Home = std::function<QWidget*()>;

    LumetKeyboardNavigation(QWidget* window, Order order, Home home);
    ~LumetKeyboardNavigation() override;

    // The window's focusNextPrevChild: moves to the next (or previous)
    // reachable control of the order, round the end. Returns false when no
    // control can take the focus.
    bool Step(bool next);
    // Gives the home control the focus, when there is one.
    void FocusHome();

    bool KeyboardInUse() const { return keyboardInUse; }
    LumetFocusFrame* Frame() const { return frame; }

    // Whether Tab may stop on w: shown, enabled, taking focus by Tab and not
    // covered by another widget (as the mouse would find it). Of a set of
    // exclusive buttons only the checked one is a stop, or the first while
    // none is checked.
    static bool Reachable(const QWidget* w);
    // The widgets inside container in reading order: its direct children in
    // their own order, and within each, top to bottom by the rows their
    // centres fall in, then left to right.
    static QList<QWidget*> InReadingOrder(const QWidget* container);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnFocusChanged(QWidget* old, QWidget* now);
    void SetKeyboardInUse(bool inUse);
    bool InWindow(const QObject* object) const;

    QPointer<QWidget> window;
    Order order;
    Home home;
    LumetFocusFrame* frame;
    bool keyboardInUse = false;
};
