#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include "app/NumberText.h"
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "ui/mainwindow/LumetEffectButton.h"

#include <QCoreApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <optional>

namespace {

// The effect names the lighting service reports for the rig, so that the
// translation tools collect them; the buttons translate whatever name arrives.
[[maybe_unused]] const char* const knownEffectNames[] = {
    QT_TRANSLATE_NOOP("LumetClass", "Static"),
    QT_TRANSLATE_NOOP("LumetClass", "Breathing"),
    QT_TRANSLATE_NOOP("LumetClass", "Strobing"),
    QT_TRANSLATE_NOOP("LumetClass", "Color Cycle"),
    QT_TRANSLATE_NOOP("LumetClass", "Rainbow"),
    QT_TRANSLATE_NOOP("LumetClass", "Comet"),
    QT_TRANSLATE_NOOP("LumetClass", "Flash and Dash"),
    QT_TRANSLATE_NOOP("LumetClass", "Wave"),
    QT_TRANSLATE_NOOP("LumetClass", "Color Wave"),
    QT_TRANSLATE_NOOP("LumetClass", "Smooth Wave"),
    QT_TRANSLATE_NOOP("LumetClass", "Random Strobing"),
    QT_TRANSLATE_NOOP("LumetClass", "Temperature"),
    QT_TRANSLATE_NOOP("LumetClass", "Music"),
    QT_TRANSLATE_NOOP("LumetClass", "Sleep"),
};

const int columnX = 0;
const int columnY = 97;
const int columnWidth = 181;
const int columnHeight = 603;

// A slim bar that only appears when the list is longer than the column. It
// overlaps the buttons' right edge rather than narrowing them.
const char* const scrollStyle =
    "QScrollArea{background:transparent;border:none;}"
    "QScrollArea>QWidget>QWidget{background:transparent;}"
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
    setStyleSheet(QStringLiteral("QGroupBox{border:0px;}"));
    setFlat(true);

    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("effectScrollArea"));
    scrollArea->setGeometry(0, 0, columnWidth, columnHeight);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollArea->setWidgetResizable(true);
    scrollArea->setStyleSheet(QLatin1String(scrollStyle));

    list = new QWidget;
    list->setObjectName(QStringLiteral("effectButtonList"));
    layout = new QVBoxLayout(list);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop);
    scrollArea->setWidget(list);
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
    scrollArea->verticalScrollBar()->setValue(0);
}

void LumetEffectButtonGroup::AddButton(const std::string& effectId, const std::string& effectName)
{
    auto* button = new LumetEffectButton(list, effectId, effectName);
    buttons.push_back(button);
    layout->addWidget(button);
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
        if (!button->isChecked()) {
            button->setChecked(true);
            selected = button;
        }
        scrollArea->ensureWidgetVisible(button, 0, 0);
        Announce(button);
        return;
    }
}

void LumetEffectButtonGroup::Announce(LumetEffectButton* button)
{
    emit EffectSelected(alignment, powerState, button->GetEffectId(), button->GetEffectName());
}
