#pragma once

#include "ui/views/LumetBaseView.h"

#include <QGroupBox>

#include <string>
#include <vector>

class DeviceMaster;
class LumetEffectButton;
class QScrollArea;
class QVBoxLayout;

// The column of effect buttons at the left of the synchronized page: one
// checkable button per effect the device offers, in ascending effect number.
// Eighteen buttons fill the column; a longer list scrolls.
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

    const std::vector<LumetEffectButton*>& GetButtons() const { return buttons; }
    LumetEffectButton* GetSelected() const { return selected; }
    DeviceMaster* GetDevice() const { return device; }
    DeviceAlignment GetAlignment() const { return alignment; }
    PowerState GetPowerState() const { return powerState; }

signals:
    void EffectSelected(DeviceAlignment alignment, PowerState ps, std::string effectId, std::string effectName);

private slots:
    void OnEffectButtonClicked();

private:
    void Rebuild(DeviceMaster* newDevice, PowerState ps);
    void AddButton(const std::string& effectId, const std::string& effectName);
    void Announce(LumetEffectButton* button);

    std::vector<LumetEffectButton*> buttons;
    DeviceAlignment alignment;
    PowerState powerState = 0;
    DeviceMaster* device = nullptr;
    QScrollArea* scrollArea;
    QWidget* list;
    QVBoxLayout* layout;
    LumetEffectButton* selected = nullptr;
};
