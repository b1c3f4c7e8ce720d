#pragma once

#include <QAbstractButton>
#include <QKeyEvent>

#include <algorithm>
#include <cstddef>
#include <vector>

// Arrow keys along a row or a column of exclusive buttons (the LEDs, the
// effect list): a key picks the neighbouring button as a click would.
namespace LumetArrowKeys {

// -1 for a press of the back key, +1 for the forward key (without
// modifiers), 0 for any other event.
inline int Step(const QEvent* event, int back, int forward)
{
    if (event->type() != QEvent::KeyPress)
        return 0;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier)
        return 0;
    return key->key() == back ? -1 : key->key() == forward ? 1 : 0;
}

template <class Button>
bool IsAmong(const std::vector<Button*>& buttons, const QObject* object)
{
    return std::find(buttons.begin(), buttons.end(), object) != buttons.end();
}

// The button step places from `from`; null beyond either end.
template <class Button>
Button* Neighbour(const std::vector<Button*>& buttons, const QObject* from, int step)
{
    const std::ptrdiff_t index = (std::find(buttons.begin(), buttons.end(), from) - buttons.begin()) + step;
    return index >= 0 && index < static_cast<std::ptrdiff_t>(buttons.size()) ? buttons[static_cast<size_t>(index)] : nullptr;
}

// Gives the button the focus, then clicks it.
inline void Press(QAbstractButton* button, int step)
{
    button->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    button->click();
}

} // namespace LumetArrowKeys
