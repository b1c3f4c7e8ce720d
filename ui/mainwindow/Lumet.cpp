#include "ui/mainwindow/Lumet.h"

#include "app/NumberText.h"
#include "app/TranslatorHolder.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/ModeInfo.h"
#include "profile/FixedProfile.h"
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "ui/mainwindow/LumetApartment.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"
#include "ui/mainwindow/LumetInstallInfo.h"
#include "ui/mainwindow/LumetKeyboardNavigation.h"
#include "ui/mainwindow/LumetResetClock.h"
#include "ui/views/LumetViewFactory.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

const int windowWidth = 860;
const int windowHeight = 700;
// The main window always shows the synchronized page with the running system.
const PowerState powerOn = 1;

int applySettleMilliseconds = 1000;

// Time of the last accepted DEFAULT on the process clock; 0 at start.
qint64 lastResetClock = 0;

// Texts that reach QCoreApplication::translate through variables, where the
// translation tools cannot see them: the error the capability load raises,
// the views' messages and the captions of the per-LED colour group.
// clang-format off
[[maybe_unused]] const char* const textsFromElsewhere[] = {
    QT_TRANSLATE_NOOP("LumetClass", "No ARDEX RGB DRAM module(s) found on your computer system!\n\nProgram will be terminated."),
    QT_TRANSLATE_NOOP("LumetClass", "This effect does not require user input. Select APPLY to activate the effect."),
    QT_TRANSLATE_NOOP("LumetClass", "If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states."),
    QT_TRANSLATE_NOOP("LumetClass", "[Unknown effect]"),
    QT_TRANSLATE_NOOP("LumetClass", "COLOR"),
    QT_TRANSLATE_NOOP("LumetClass", "Reverse"),
};
// clang-format on

const char* const windowStyle =
    "QWidget#centralWidget{background-image:url(:/Lumet/Resources/Window/bg.png);}"
    "QPushButton#applyButton,QPushButton#defaultButton,QPushButton#undoButton{"
    "border:none;font-family:arial;font-size:13px;color:#c8c8c8;"
    "background-image:url(:/Lumet/Resources/Window/button_normal.png);}"
    "QPushButton#applyButton:hover,QPushButton#defaultButton:hover,QPushButton#undoButton:hover{"
    "background-image:url(:/Lumet/Resources/Window/button_hover.png);}"
    "QPushButton#applyButton:pressed,QPushButton#defaultButton:pressed,QPushButton#undoButton:pressed{"
    "color:#ffffff;background-image:url(:/Lumet/Resources/Window/button_pressed.png);}"
    "QPushButton#applyButton:disabled,QPushButton#defaultButton:disabled,QPushButton#undoButton:disabled{"
    "color:#4d4d4d;background-image:url(:/Lumet/Resources/Window/button_disabled.png);}"
    "QPushButton#closeButton{border:none;background-image:url(:/Lumet/Resources/Window/close_normal.png);}"
    "QPushButton#closeButton:hover{background-image:url(:/Lumet/Resources/Window/close_hover.png);}"
    "QPushButton#ledSwitch{border:none;background-image:url(:/Lumet/Resources/Window/switch_off.png);}"
    "QPushButton#ledSwitch:checked{background-image:url(:/Lumet/Resources/Window/switch_on.png);}"
    "QLabel#lblStraight_Line_Mix{background-image:url(:/Lumet/Resources/Window/line_vertical.png);}"
    "QLabel#lblLink_Line01{background-image:url(:/Lumet/Resources/Window/line_horizontal.png);}"
    "QLabel#lblLink_Bg01{background-image:url(:/Lumet/Resources/Window/band.png);}"
    "QLabel#lblVersion{font-family:arial;font-size:11px;color:#c8c8c8;background:transparent;}";

// Given to the mask the first time it shows: its full-window picture costs
// 2.4 MB and a few milliseconds of start-up to decode, and most sessions
// never switch the LEDs off.
const char* const maskStyle = "QLabel#bg_mask{background-image:url(:/Lumet/Resources/Window/bg_mask.png);}";

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setDefault(false);
    // Reached by Tab; a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void SendToService(const std::string& target, const std::string& document)
{
    ServiceClient::Instance().SetProfile(ServiceText::Widen(target), ServiceText::Widen(document));
}

} // namespace

Lumet::Lumet(QWidget* parent, bool dumpCapabilityXml, bool dumpStatusXml, bool dumpProfileXml)
    : QMainWindow(parent),
      dumpCapabilityXml(dumpCapabilityXml),
      dumpStatusXml(dumpStatusXml),
      dumpProfileXml(dumpProfileXml)
{
    if (LumetInstallInfo::IsRebootPending())
        ExitWithMessage(QStringLiteral("WARNING"),
                        QStringLiteral("Please reboot your computer to complete the installation."),
                        QMessageBox::Warning, 0);

    apartment = std::make_unique<LumetApartment>();
    SetupUi();
    setWindowFlags(Qt::FramelessWindowHint);
    lblVersion->setText(QString::fromLocal8Bit(LumetInstallInfo::ReadVersion().c_str()));
    setWindowTitle(QStringLiteral("Vornlight Beta"));
    Retranslate();

    DeviceAggregator::SetDumpCapability(dumpCapabilityXml);
    DeviceAggregator::SetDumpStatus(dumpStatusXml);
    LumetViewFactory::SetKeepProfileFile(dumpProfileXml);

    connect(closeButton, &QPushButton::clicked, this, &Lumet::OnClickClicked);

    bgMask->setGeometry(0, 0, windowWidth, windowHeight);
    bgMask->hide();
    RaiseOverlays();
    ledSwitch->setFixedSize(102, 20);

    effectButtonGroup = new LumetEffectButtonGroup(pageSyn, -1);
    connect(effectButtonGroup, &LumetEffectButtonGroup::EffectSelected, this, &Lumet::OnEffectSelected);
    navigation = new LumetKeyboardNavigation(this, [this] { return FocusOrder(); },
                                             [this]() -> QWidget* { return effectButtonGroup->GetCheckedButton(); });

    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    connect(aggregator, &DeviceAggregator::CapabilityModelChanged, this, &Lumet::OnCapabilityModelChanged);
    connect(aggregator, &DeviceAggregator::StatusModelChanged, this, &Lumet::OnStatusModelChanged);

    connect(applyButton, &QPushButton::clicked, this, &Lumet::OnApplyClicked);
    connect(defaultButton, &QPushButton::clicked, this, &Lumet::OnDefaultClicked);
    connect(undoButton, &QPushButton::clicked, this, &Lumet::OnUndoClicked);

    reselectEffectOnStatusChange = true;
    rebuildEffectsOnCapabilityChange = true;

    LoadCapabilityOrExit();
    aggregator->LoadStatusModel();

    connect(ledSwitch, &QPushButton::toggled, this, &Lumet::OnLedSwitchClicked);
    // The switch starts checked: LEDs reported off toggle it here, which shows
    // the mask and sends the off document once more.
    ledSwitch->setChecked(aggregator->IsGroupEnabled());
    // The keyboard starts on the effect in force.
    navigation->FocusHome();
}

// The aggregator outlives the window; it must not call back into it. The
// apartment is left once the window's own members go.
Lumet::~Lumet()
{
    disconnect(DeviceAggregator::Instance(), nullptr, this, nullptr);
}

void Lumet::SetApplySettleTime(int milliseconds)
{
    applySettleMilliseconds = milliseconds < 0 ? 0 : milliseconds;
}

void Lumet::SetupUi()
{
    setObjectName(QStringLiteral("LumetClass"));
    resize(windowWidth, windowHeight);
    setFixedSize(windowWidth, windowHeight);
    setStyleSheet(QLatin1String(windowStyle));

    central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    central->setAttribute(Qt::WA_StyledBackground, true);

    // Created bottom to top: the pages, the three action buttons, the mask,
    // the switch and the close button.
    alignmentPages = new QStackedWidget(central);
    alignmentPages->setObjectName(QStringLiteral("alignmentPages"));
    alignmentPages->setGeometry(0, 0, windowWidth, windowHeight);
    pageSyn = new QWidget;
    pageSyn->setObjectName(QStringLiteral("pageSyn"));
    lblStraightLineMix = MakeLabel(pageSyn, "lblStraight_Line_Mix", QRect(181, 97, 2, 595));
    lblLinkLine01 = MakeLabel(pageSyn, "lblLink_Line01", QRect(181, 203, 678, 1));
    lblLinkBg01 = MakeLabel(pageSyn, "lblLink_Bg01", QRect(183, 99, 674, 103));
    lblVersion = MakeLabel(pageSyn, "lblVersion", QRect(724, 680, 112, 12));
    lblVersion->setAlignment(Qt::AlignCenter);
    alignmentPages->addWidget(pageSyn);
    alignmentPages->setCurrentWidget(pageSyn);

    applyButton = MakeButton(central, "applyButton", QRect(724, 642, 112, 26));
    defaultButton = MakeButton(central, "defaultButton", QRect(476, 642, 112, 26));
    undoButton = MakeButton(central, "undoButton", QRect(600, 642, 112, 26));

    bgMask = MakeLabel(central, "bg_mask", QRect(0, 0, windowWidth, windowHeight));

    ledSwitch = MakeButton(central, "ledSwitch", QRect(750, 70, 102, 20));
    ledSwitch->setCheckable(true);
    ledSwitch->setChecked(true);
    ledSwitch->setFlat(true);
    ledSwitch->setCursor(Qt::PointingHandCursor);

    closeButton = MakeButton(central, "closeButton", QRect(828, 8, 22, 22));
    closeButton->setCursor(Qt::PointingHandCursor);

    setCentralWidget(central);
}

void Lumet::Retranslate()
{
    translator = std::make_unique<TranslatorHolder>();
    applyButton->setText(QCoreApplication::translate("LumetClass", "APPLY"));
    undoButton->setText(QCoreApplication::translate("LumetClass", "UNDO"));
    defaultButton->setText(QCoreApplication::translate("LumetClass", "DEFAULT"));
    closeButton->setToolTip(QCoreApplication::translate("LumetClass", "Close"));
    ledSwitch->setToolTip(QCoreApplication::translate("LumetClass", "Switch all LEDs on or off"));
    // What a screen reader says of the controls without a text of their own,
    // and of the actions whose text says little by itself.
    closeButton->setAccessibleName(QCoreApplication::translate("LumetClass", "Close"));
    closeButton->setAccessibleDescription(QCoreApplication::translate("LumetClass", "Closes the panel."));
    ledSwitch->setAccessibleName(QCoreApplication::translate("LumetClass", "All LEDs"));
    ledSwitch->setAccessibleDescription(QCoreApplication::translate("LumetClass", "Switch all LEDs on or off"));
    applyButton->setAccessibleDescription(
        QCoreApplication::translate("LumetClass", "Sends the chosen effect and its colors to the lighting."));
    defaultButton->setAccessibleDescription(
        QCoreApplication::translate("LumetClass", "Returns the lighting to its defaults."));
    undoButton->setAccessibleDescription(
        QCoreApplication::translate("LumetClass", "Drops the changes not yet applied."));
}

QList<QWidget*> Lumet::FocusOrder() const
{
    QList<QWidget*> order{closeButton, ledSwitch};
    for (QWidget* button : effectButtonGroup->GetButtons())
        order.append(button);
    if (currentView)
        order.append(LumetKeyboardNavigation::InReadingOrder(currentView));
    order << defaultButton << undoButton << applyButton;
    return order;
}

bool Lumet::focusNextPrevChild(bool next)
{
    return navigation ? navigation->Step(next) : QMainWindow::focusNextPrevChild(next);
}

void Lumet::RaiseOverlays()
{
    bgMask->raise();
    ledSwitch->raise();
    closeButton->raise();
}

void Lumet::SetActionsEnabled(bool enabled)
{
    applyButton->setEnabled(enabled);
    undoButton->setEnabled(enabled);
}

void Lumet::ExitWithMessage(const QString& title, const QString& text, int icon, int exitCode)
{
    {
        QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text, QMessageBox::Ok);
        box.exec();
    }
    // Ends at once, like the window system's own process exit: the
    // application object is still alive further up the stack, and running
    // the static destructors under it would tear Qt down in the wrong order.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void Lumet::LoadCapabilityOrExit()
{
    try {
        DeviceAggregator::Instance()->LoadCapabilityModel();
    } catch (const std::string& error) {
        // The load has already destroyed the model the view was showing; the
        // message box runs events, so the view must not paint from it.
        DiscardCurrentView();
        ExitWithMessage(QCoreApplication::translate("LumetClass", "Error"),
                        QCoreApplication::translate("LumetClass", error.c_str()), QMessageBox::Critical, -1);
    }
}

void Lumet::DiscardCurrentView()
{
    if (!currentView)
        return;
    disconnect(currentView, &LumetBaseView::ViewStateChanged, this, &Lumet::OnViewStateChanged);
    delete currentView;
    currentView = nullptr;
}

void Lumet::OnClickClicked()
{
    QCoreApplication::quit();
}

void Lumet::OnApplyClicked()
{
    const std::string document = currentView ? currentView->GetXmlProfile() : std::string();
    if (!document.empty()) {
        const DeviceMaster* device = currentView->GetDeviceMaster();
        SendToService(device ? device->GetName() : currentView->GetDeviceKey(), document);
        // The service needs a moment before it reports the new status.
        QThread::msleep(static_cast<unsigned long>(applySettleMilliseconds));
    }
    reselectEffectOnStatusChange = true;
    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    if (DeviceMaster* group = aggregator->GetGroup())
        group->CommitPositions();
    aggregator->LoadStatusModel();
}

void Lumet::OnDefaultClicked()
{
    const qint64 now = LumetResetClock::Now();
    if (!LumetResetClock::Accepts(now, lastResetClock))
        return;
    reselectEffectOnStatusChange = true;
    SendToService(FixedProfile::TargetKey, FixedProfile::ResetAll());
    rebuildEffectsOnCapabilityChange = false;
    LoadCapabilityOrExit();
    DeviceAggregator::Instance()->LoadStatusModel();
    lastResetClock = LumetResetClock::Now();
}

void Lumet::OnUndoClicked()
{
    reselectEffectOnStatusChange = true;
    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    if (DeviceMaster* group = aggregator->GetGroup())
        group->RestorePositions();
    for (DeviceMaster* device : aggregator->GetDevices())
        device->RestorePositions();
    aggregator->LoadStatusModel();
}

void Lumet::OnLedSwitchClicked(bool checked)
{
    if (!checked && bgMask->styleSheet().isEmpty())
        bgMask->setStyleSheet(QLatin1String(maskStyle));
    bgMask->setVisible(!checked);
    RaiseOverlays();
    SendToService(FixedProfile::TargetKey, FixedProfile::LedSwitch(checked));
}

void Lumet::OnCapabilityModelChanged()
{
    // Every record the view pointed into is gone with the old model.
    DiscardCurrentView();
    effectButtonGroup->ForgetSelection();
    effectButtonGroup->Update(DeviceAggregator::Instance()->GetGroup(), powerOn, rebuildEffectsOnCapabilityChange);
    SetActionsEnabled(false);
}

void Lumet::OnStatusModelChanged()
{
    if (reselectEffectOnStatusChange) {
        // A group without an as-loaded setting, or one without a mode, names
        // no effect: nothing is selected and the current view stays.
        const DeviceMaster* group = DeviceAggregator::Instance()->GetGroup();
        const EffectSetting* loaded = group ? group->GetGroupSettingLoaded() : nullptr;
        if (loaded && loaded->mode)
            effectButtonGroup->Select(loaded->mode->GetKey());
        reselectEffectOnStatusChange = false;
    }
    SetActionsEnabled(false);
}

void Lumet::OnEffectSelected(DeviceAlignment alignment, PowerState ps, std::string effectId, std::string)
{
    if (alignment == -1 || alignment == 1) {
        // A replaced view is released at once, so it can neither reach this
        // window again nor outlive the model it reads.
        DiscardCurrentView();
        const int number = NumberText::ParseInt(effectId).value_or(0);
        currentView = LumetViewFactory::GetInstance()->CreateView(pageSyn, DeviceAggregator::Instance()->GetGroup(),
                                                                  alignment, ps, number);
        connect(currentView, &LumetBaseView::ViewStateChanged, this, &Lumet::OnViewStateChanged);
        currentView->ShowView(false);
    }
    SetActionsEnabled(true);
}

void Lumet::OnViewStateChanged()
{
    SetActionsEnabled(true);
}

void Lumet::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QMainWindow::mousePressEvent(event);
        return;
    }
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    // Without a window manager the window system cannot move the window;
    // follow the pointer by hand while the button is held.
    QWindow* handle = windowHandle();
    manualDrag = !(handle && handle->startSystemMove());
    dragOffset = event->globalPos() - frameGeometry().topLeft();
    event->accept();
}

void Lumet::mouseMoveEvent(QMouseEvent* event)
{
    if (manualDrag && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - dragOffset);
        event->accept();
        return;
    }
    QMainWindow::mouseMoveEvent(event);
}

void Lumet::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        manualDrag = false;
    QMainWindow::mouseReleaseEvent(event);
}
