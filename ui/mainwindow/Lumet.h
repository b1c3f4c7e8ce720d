#pragma once

#include "ui/views/LumetBaseView.h"

#include <QMainWindow>
#include <QPoint>

#include <memory>
#include <string>

class LumetApartment;
class LumetEffectButtonGroup;
class LumetKeyboardNavigation;
class QLabel;
class QPushButton;
class QStackedWidget;
class TranslatorHolder;

// The panel's one window: a frameless 860 x 700 surface with the effect list,
// the view of the chosen effect, APPLY, DEFAULT and UNDO, the LED switch, the
// close button and the version label. It is the only place that sends a
// profile to the lighting service. Construction loads the capability and the
// status and may end the process (a pending reboot, no module group).
class Lumet : public QMainWindow
{
    Q_OBJECT

public:
    Lumet(QWidget* parent, bool dumpCapabilityXml, bool dumpStatusXml, bool dumpProfileXml);
    ~Lumet() override;

    // How long APPLY gives the service to take a profile before reading the
    // status back: 1000 ms. Tests shorten it.
    static void SetApplySettleTime(int milliseconds);

    LumetEffectButtonGroup* GetEffectButtonGroup() const { return effectButtonGroup; }
    LumetKeyboardNavigation* GetKeyboardNavigation() const { return navigation; }
    LumetBaseView* GetCurrentView() const { return currentView; }
    bool GetRebuildEffectsOnCapabilityChange() const { return rebuildEffectsOnCapabilityChange; }
    bool GetReselectEffectOnStatusChange() const { return reselectEffectOnStatusChange; }

public slots:
    void OnClickClicked();
    void OnApplyClicked();
    void OnDefaultClicked();
    void OnUndoClicked();
    void OnLedSwitchClicked(bool checked);
    void OnCapabilityModelChanged();
    void OnStatusModelChanged();
    void OnEffectSelected(DeviceAlignment alignment, PowerState ps, std::string effectId, std::string effectName);
    void OnViewStateChanged();

protected:
    // Tab and Shift+Tab in reading order: the close button and the LED switch,
    // the effect list, the view's controls, then DEFAULT, UNDO and APPLY.
    bool focusNextPrevChild(bool next) override;
    // Dragging the free surface moves the frameless window.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetupUi();
    void Retranslate();
    void RaiseOverlays();
    // The controls Tab walks through, in reading order.
    QList<QWidget*> FocusOrder() const;
    void SetActionsEnabled(bool enabled);
    void DiscardCurrentView();
    void LoadCapabilityOrExit();
    [[noreturn]] static void ExitWithMessage(const QString& title, const QString& text, int icon, int exitCode);

    bool dumpCapabilityXml;
    bool dumpStatusXml;
    bool dumpProfileXml;
    LumetEffectButtonGroup* effectButtonGroup = nullptr;
    LumetBaseView* currentView = nullptr;
    bool rebuildEffectsOnCapabilityChange = true;
    bool reselectEffectOnStatusChange = true;
    std::unique_ptr<TranslatorHolder> translator;
    std::unique_ptr<LumetApartment> apartment;
    LumetKeyboardNavigation* navigation = nullptr;

    QWidget* central = nullptr;
    QStackedWidget* alignmentPages = nullptr;
    QWidget* pageSyn = nullptr;
    QLabel* lblStraightLineMix = nullptr;
    QLabel* lblLinkLine01 = nullptr;
    QLabel* lblLinkBg01 = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* undoButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* ledSwitch = nullptr;
    QLabel* bgMask = nullptr;

    // Moving by hand where the window system cannot take over the drag.
    bool manualDrag = false;
    QPoint dragOffset;
};
