#include "ui/mainwindow/LumetKeyboardNavigation.h"

#include "ui/controls/LumetFocusFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

// Centres closer than this in height share a row: a page button beside a
// row of taller LED buttons, say.
const int RowTolerance = 8;

bool IsExclusive(const QAbstractButton* button)
{
    return button && button->isCheckable() && button->autoExclusive();
}

// Of the shown exclusive buttons beside this one, the checked one, else the first.
bool IsGroupStop(const QAbstractButton* button)
{
    const QAbstractButton* first = nullptr;
    const auto siblings =
        button->parentWidget()->findChildren<const QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (const QAbstractButton* sibling : siblings) {
        if (!IsExclusive(sibling) || sibling->isHidden())
            continue;
        if (sibling->isChecked())
            return sibling == button;
        if (!first)
            first = sibling;
    }
    return first == button;
}

} // namespace

LumetKeyboardNavigation::LumetKeyboardNavigation(QWidget* window, Order order, Home home)
    : QObject(window), window(window), order(std::move(order)), home(std::move(home)),
      frame(new LumetFocusFrame(window))
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &LumetKeyboardNavigation::OnFocusChanged);
}

LumetKeyboardNavigation::~LumetKeyboardNavigation()
{
    qApp->removeEventFilter(this);
}

bool LumetKeyboardNavigation::Reachable(const QWidget* w)
{
    if (!w || !w->isVisible() || !w->isEnabled() || w->isWindow())
        return false;
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    if (IsExclusive(button)) {
        if (w->focusPolicy() == Qt::NoFocus || !IsGroupStop(button))
            return false;
    } else if (!(w->focusPolicy() & Qt::TabFocus)) {
        return false;
    }
    // What a mask covers, the mouse cannot reach, and neither may the keyboard.
    const QWidget* top = w->window();
    const QWidget* hit = top->childAt(w->mapTo(top, w->rect().center()));
    return hit && (hit == w || w->isAncestorOf(hit));
}

QList<QWidget*> LumetKeyboardNavigation::InReadingOrder(const QWidget* container)
{
    struct Placed
    {
        QWidget* widget;
        QPoint centre;
    };
    QList<QWidget*> ordered;
    for (QWidget* block : container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (block->isWindow())
            continue;
        std::vector<Placed> placed{{block, block->mapTo(container, block->rect().center())}};
        for (QWidget* inner : block->findChildren<QWidget*>())
            placed.push_back({inner, inner->mapTo(container, inner->rect().center())});
        std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.centre.y() < b.centre.y(); });
        // Rows top to bottom, each left to right.
        for (auto row = placed.begin(); row != placed.end();) {
            auto end = row;
            while (end != placed.end() && end->centre.y() - row->centre.y() <= RowTolerance)
                ++end;
            std::stable_sort(row, end, [](const Placed& a, const Placed& b) { return a.centre.x() < b.centre.x(); });
            for (auto it = row; it != end; ++it)
                ordered.append(it->widget);
            row = end;
        }
    }
    return ordered;
}

bool LumetKeyboardNavigation::Step(bool next)
{
    QList<QWidget*> stops;
    for (QWidget* w : order())
        if (Reachable(w))
            stops.append(w);
    if (stops.isEmpty())
        return false;
    QWidget* current = window->focusWidget();
    QWidget* target = nullptr;
    if (!current || current == window || !Reachable(current)) {
        // The focus is nowhere, or Qt moves it on from a control just
        // disabled or hidden: home rather than whatever follows that control.
        QWidget* start = home();
        target = Reachable(start) ? start : stops.first();
    } else {
        const int at = stops.indexOf(current);
        if (at < 0)
            target = next ? stops.first() : stops.last();
        else
            target = stops.at((at + (next ? 1 : stops.size() - 1)) % stops.size());
    }
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void LumetKeyboardNavigation::FocusHome()
{
    if (QWidget* start = home())
        start->setFocus(Qt::OtherFocusReason);
}

bool LumetKeyboardNavigation::InWindow(const QObject* object) const
{
    const auto* w = qobject_cast<const QWidget*>(object);
    return w && window && (w == window || window->isAncestorOf(w));
}

void LumetKeyboardNavigation::SetKeyboardInUse(bool inUse)
{
    keyboardInUse = inUse;
    frame->SetKeyboardInUse(inUse);
}

bool LumetKeyboardNavigation::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!InWindow(watched))
            break;
        SetKeyboardInUse(true);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        auto* button = qobject_cast<QAbstractButton*>(window->focusWidget());
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && button && watched == button &&
            button->isEnabled()) {
            button->click();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (InWindow(watched))
            SetKeyboardInUse(false);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void LumetKeyboardNavigation::OnFocusChanged(QWidget*, QWidget* now)
{
    frame->SetTarget(InWindow(now) ? now : nullptr);
    // The focused control went away with its view: home, once the deletion
    // is over. (Leaving the window for another leaves its focus widget set.)
    if (!now && window && window->isVisible() && !window->focusWidget())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (window && window->isVisible() && !window->focusWidget())
                    FocusHome();
            },
            Qt::QueuedConnection);
}
