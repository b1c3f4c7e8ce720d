#pragma once

#include "ui/views/LumetBaseView.h"

#include <QGroupBox>

#include <string>
#include <vector>

class DeviceMaster;
class LumetEffectButton;
class QScrollBar;
class QVBoxLayout;

// The column of effect buttons at the left of the synchronized page: one
// checkable button per effect the device offers, in ascending effect number.
// Eighteen buttons fill the column; a longer list scrolls under a slim bar
// that appears over the buttons' right edge, by wheel or by dragging the bar,
// and a selected effect is always scrolled into view. From the keyboard the
// column is one stop for Tab, on the chosen effect, and Up and Down choose
// the effect above or below it.
class LumetEffectButtonGroup : public QGroupBox
{
    Q_OBJECT

public:
    LumetEffectButtonGroup(QWidget* parent, DeviceAlignment alignment);

    // Called on every capability change. With rebuild false only the device
    // and power state are taken and the buttons (and their check mark) stay.
    void Update(DeviceMaster* device, PowerState ps, bool rebuild);
    // Checks the button whose identifier equals effectId byte for byte and
    // announces it, even when it was checked already; no match changes nothing.
    void Select(const std::string& effectId);
    // The next click announces its effect even on the checked button: used
    // when the view of the chosen effect is gone.
    void ForgetSelection();

    const std::vector<LumetEffectButton*>& GetButtons() const { return buttons; }
    LumetEffectButton* GetSelected() const { return selected; }
    // The button that shows as chosen; null when none does.
    LumetEffectButton* GetCheckedButton() const;
    DeviceMaster* GetDevice() const { return device; }
    DeviceAlignment GetAlignment() const { return alignment; }
    PowerState GetPowerState() const { return powerState; }
    QScrollBar* GetScrollBar() const { return scrollBar; }

    // The scroll offset that shows a whole item at itemTop (height itemHeight)
    // in a view of viewHeight now scrolled to current: unchanged when it is
    // already in view, else the least change that brings it in.
    static int ScrollToShow(int current, int itemTop, int itemHeight, int viewHeight);

signals:
    void EffectSelected(DeviceAlignment alignment, PowerState ps, std::string effectId, std::string effectName);

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnEffectButtonClicked();

private:
    void Rebuild(DeviceMaster* newDevice, PowerState ps);
    void AddButton(const std::string& effectId, const std::string& effectName);
    void Announce(LumetEffectButton* button);
    void UpdateScrolling();
    bool ScrollByWheel(QWheelEvent* event);

    std::vector<LumetEffectButton*> buttons;
    DeviceAlignment alignment;
    PowerState powerState = 0;
    DeviceMaster* device = nullptr;
    QWidget* list;
    QScrollBar* scrollBar;
    QVBoxLayout* layout;
    LumetEffectButton* selected = nullptr;
};
