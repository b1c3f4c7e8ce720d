#include "ui/controls/LumetFocusFrame.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOption>

namespace {

// The theme's accent, as the drawn images use it for checked and pressed looks.
const char* const frameStyle = "LumetFocusFrame{border:2px solid #3da5f4;border-radius:5px;background:transparent;}";

} // namespace

LumetFocusFrame::LumetFocusFrame(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("focusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QLatin1String(frameStyle));
    hide();
}

QRect LumetFocusFrame::FrameRect(const QWidget* target, const QWidget* window)
{
    const QVariant area = target->property(AreaProperty);
    const QRect own = area.isValid() ? area.toRect() : target->rect();
    const QRect framed(target->mapTo(window, own.topLeft()), own.size());
    return framed.adjusted(-Margin, -Margin, Margin, Margin) & window->rect();
}

void LumetFocusFrame::SetTarget(QWidget* newTarget)
{
    if (newTarget == target)
        return;
    Watch(false);
    target = newTarget;
    Watch(true);
    Follow();
}

void LumetFocusFrame::SetKeyboardInUse(bool inUse)
{
    if (inUse == keyboardInUse)
        return;
    keyboardInUse = inUse;
    Follow();
}

// The control and every widget it sits in: a move of any of them (the effect
// list scrolling, say) moves the control on the window.
void LumetFocusFrame::Watch(bool on)
{
    for (const QPointer<QWidget>& w : watched) {
        if (w)
            w->removeEventFilter(this);
    }
    watched.clear();
    if (!on || !target)
        return;
    for (QWidget* w = target; w && w != parentWidget(); w = w->parentWidget()) {
        w->installEventFilter(this);
        watched.append(w);
    }
    connect(target, &QObject::destroyed, this, &LumetFocusFrame::Follow, Qt::UniqueConnection);
}

bool LumetFocusFrame::eventFilter(QObject* object, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ParentChange:
        Follow();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(object, event);
}

void LumetFocusFrame::Follow()
{
    QWidget* window = parentWidget();
    if (!keyboardInUse || !target || !window || !target->isVisible() || !window->isAncestorOf(target)) {
        hide();
        return;
    }
    setGeometry(FrameRect(target, window));
    raise();
    show();
    update();
}

void LumetFocusFrame::paintEvent(QPaintEvent*)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
