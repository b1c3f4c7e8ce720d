#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include "app/NumberText.h"
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "ui/controls/LumetArrowKeys.h"
#include "ui/mainwindow/LumetEffectButton.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <optional>

namespace {

// The effect and LED names the lighting service reports for its rig, so that
// the translation tools collect them; the panel translates whatever name
// arrives and shows an unknown one as it is.
[[maybe_unused]] const char* const serviceNames[] = {
    QT_TRANSLATE_NOOP("LumetClass", "Static"),
    QT_TRANSLATE_NOOP("LumetClass", "Breathing"),
    QT_TRANSLATE_NOOP("LumetClass", "Strobing"),
    QT_TRANSLATE_NOOP("LumetClass", "Color Cycle"),
    QT_TRANSLATE_NOOP("LumetClass", "Rainbow"),
    QT_TRANSLATE_NOOP("LumetClass", "Comet"),
    QT_TRANSLATE_NOOP("LumetClass", "Double Comet"),
    QT_TRANSLATE_NOOP("LumetClass", "Wave"),
    QT_TRANSLATE_NOOP("LumetClass", "Color Wave"),
    QT_TRANSLATE_NOOP("LumetClass", "Ripple"),
    QT_TRANSLATE_NOOP("LumetClass", "Random Strobe"),
    QT_TRANSLATE_NOOP("LumetClass", "Temperature"),
    QT_TRANSLATE_NOOP("LumetClass", "Music"),
    QT_TRANSLATE_NOOP("LumetClass", "Sleep"),
};

const int columnX = 0;
const int columnY = 97;
const int columnWidth = 181;
const int columnHeight = 603;

const int scrollBarWidth = 6;

// A slim bar that only appears when the list is longer than the column. It
// overlaps the buttons' right edge rather than narrowing them.
const char* const scrollStyle =
    "QScrollBar:vertical{background:#1f2125;width:6px;margin:0px;border:none;}"
    "QScrollBar::handle:vertical{background:#3a3d44;min-height:24px;border-radius:3px;}"
    "QScrollBar::handle:vertical:hover{background:#3da5f4;}"
    "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:0px;border:none;}"
    "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:none;}";

} // namespace

LumetEffectButtonGroup::LumetEffectButtonGroup(QWidget* parent, DeviceAlignment alignment)
    : QGroupBox(parent), alignment(alignment)
{
    setObjectName(QStringLiteral("effectButtonGroup"));
    setGeometry(columnX, columnY, columnWidth, columnHeight);
    setStyleSheet(QStringLiteral("QGroupBox{border:0px;}") + LumetEffectButton::StyleSheet());
    setFlat(true);

    // The buttons sit on a list as tall as they are, which scrolls by moving
    // up inside the group.
    list = new QWidget(this);
    list->setObjectName(QStringLiteral("effectButtonList"));
    list->setGeometry(0, 0, columnWidth, columnHeight);
    layout = new QVBoxLayout(list);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop);
    list->installEventFilter(this);

    scrollBar = new QScrollBar(Qt::Vertical, this);
    scrollBar->setObjectName(QStringLiteral("effectScrollBar"));
    scrollBar->setGeometry(columnWidth - scrollBarWidth, 0, scrollBarWidth, columnHeight);
    scrollBar->setStyleSheet(QLatin1String(scrollStyle));
    scrollBar->setSingleStep(LumetEffectButton::Height);
    scrollBar->setPageStep(columnHeight);
    scrollBar->hide();
    connect(scrollBar, &QScrollBar::valueChanged, list, [this](int value) { list->move(0, -value); });
}

void LumetEffectButtonGroup::Update(DeviceMaster* newDevice, PowerState ps, bool rebuild)
{
    if (rebuild) {
        Rebuild(newDevice, ps);
        return;
    }
    powerState = ps;
    device = newDevice;
}

void LumetEffectButtonGroup::Rebuild(DeviceMaster* newDevice, PowerState ps)
{
    powerState = ps;
    for (LumetEffectButton* button : buttons) {
        layout->removeWidget(button);
        delete button;
    }
    buttons.clear();
    selected = nullptr;
    device = newDevice;

    if (device && device->GetModes()) {
        // Modes come in ascending number; the identifier is that number written
        // plainly, so a key written "07" is listed as "7".
        for (ModeInfo* mode : device->GetModes()->GetModes()) {
            const std::optional<int> number = NumberText::ParseInt(mode->GetKey());
            if (number)
                AddButton(NumberText::FormatInt(*number), mode->GetName());
        }
    }
    UpdateScrolling();
}

void LumetEffectButtonGroup::UpdateScrolling()
{
    const int listHeight = std::max(columnHeight, static_cast<int>(buttons.size()) * LumetEffectButton::Height);
    list->resize(columnWidth, listHeight);
    layout->activate();
    scrollBar->setRange(0, listHeight - columnHeight);
    scrollBar->setValue(0);
    scrollBar->setVisible(listHeight > columnHeight);
    scrollBar->raise();
}

int LumetEffectButtonGroup::ScrollToShow(int current, int itemTop, int itemHeight, int viewHeight)
{
    if (itemTop < current)
        return itemTop;
    if (itemTop + itemHeight > current + viewHeight)
        return itemTop + itemHeight - viewHeight;
    return current;
}

bool LumetEffectButtonGroup::ScrollByWheel(QWheelEvent* event)
{
    if (!scrollBar->isVisible())
        return false;
    // One notch (120 eighths of a degree) moves one button; fine-grained
    // wheels and touch pads move proportionally.
    scrollBar->setValue(scrollBar->value() - event->angleDelta().y() * LumetEffectButton::Height / 120);
    event->accept();
    return true;
}

void LumetEffectButtonGroup::wheelEvent(QWheelEvent* event)
{
    if (!ScrollByWheel(event))
        QGroupBox::wheelEvent(event);
}

// The buttons would swallow the wheel; the list scrolls wherever it turns.
bool LumetEffectButtonGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && ScrollByWheel(static_cast<QWheelEvent*>(event)))
        return true;
    // Up and Down choose the effect above or below; at either end nothing moves.
    const int step = LumetArrowKeys::Step(event, Qt::Key_Up, Qt::Key_Down);
    if (step && LumetArrowKeys::IsAmong(buttons, watched)) {
        if (LumetEffectButton* next = LumetArrowKeys::Neighbour(buttons, watched, step)) {
            scrollBar->setValue(ScrollToShow(scrollBar->value(), next->y(), next->height(), columnHeight));
            LumetArrowKeys::Press(next, step);
        }
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

LumetEffectButton* LumetEffectButtonGroup::GetCheckedButton() const
{
    const auto checked = std::find_if(buttons.begin(), buttons.end(), [](const LumetEffectButton* b) { return b->isChecked(); });
    return checked != buttons.end() ? *checked : nullptr;
}

void LumetEffectButtonGroup::AddButton(const std::string& effectId, const std::string& effectName)
{
    auto* button = new LumetEffectButton(list, effectId, effectName);
    buttons.push_back(button);
    layout->addWidget(button);
    // Shown now rather than on the next pass of the event loop, so that the
    // list is laid out when Select scrolls to a button.
    button->show();
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, &LumetEffectButtonGroup::OnEffectButtonClicked);
}

void LumetEffectButtonGroup::OnEffectButtonClicked()
{
    auto* button = qobject_cast<LumetEffectButton*>(sender());
    // A second click on the chosen effect keeps the view and its unsent changes.
    if (!button || button == selected)
        return;
    selected = button;
    Announce(button);
}

void LumetEffectButtonGroup::Select(const std::string& effectId)
{
    for (LumetEffectButton* button : buttons) {
        if (button->GetEffectId() != effectId)
            continue;
        // Checking from code emits no clicked(), so this does not come back
        // through OnEffectButtonClicked.
        if (!button->isChecked())
            button->setChecked(true);
        selected = button;
        scrollBar->setValue(ScrollToShow(scrollBar->value(), button->y(), button->height(), columnHeight));
        Announce(button);
        return;
    }
}

void LumetEffectButtonGroup::ForgetSelection()
{
    selected = nullptr;
}

void LumetEffectButtonGroup::Announce(LumetEffectButton* button)
{
    emit EffectSelected(alignment, powerState, button->GetEffectId(), button->GetEffectName());
}
