#pragma once

#include "profile/EffectProfile.h"

#include <QGroupBox>

#include <string>

class DeviceMaster;

// -1 is the synchronized page; -1 and 1 are treated alike.
using DeviceAlignment = int;
// 1 = system running (POWER ON), 2 = any other state.
using PowerState = int;

// Abstract base of the effect views: the area right of the effect buttons that
// shows one effect's controls and turns their state into a profile document.
class LumetBaseView : public QGroupBox
{
    Q_OBJECT

public:
    LumetBaseView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                  int effectId);
    ~LumetBaseView() override;

    QWidget* GetParent() const { return parentWidget_; }
    DeviceMaster* GetDeviceMaster() const { return deviceMaster; }
    DeviceAlignment GetAlignment() const { return alignment; }
    PowerState GetPowerState() const { return powerState; }
    int GetEffectId() const { return effectId; }
    std::string GetDeviceKey() const { return deviceKey; }
    int GetOriginX() const { return originX; }
    int GetOriginY() const { return originY; }

    // Makes the view current: false loads the controls from the model, true
    // loads the defaults; then shows the widget.
    virtual void ShowView(bool defaults = false) = 0;
    // The profile document of the view in its current state (empty: nothing to send).
    virtual std::string GetXmlProfile();
    // Views with a message label translate the text ("LumetClass") and show it.
    virtual void SetMessage(const std::string& message);
    virtual void SetDeviceMaster(DeviceMaster* master);

signals:
    void ViewStateChanged();

protected:
    virtual void InitUi() = 0;
    virtual void LoadDefaults() = 0;
    virtual void LoadFromModel() = 0;
    virtual std::string BuildXmlProfile() = 0;

    // The effect profile of this view's device and effect id with the parts
    // the view carries (see EffectProfile); what BuildXmlProfile returns.
    std::string BuildEffectProfile(const EffectProfile::Parts& parts) const;

private:
    QWidget* parentWidget_;
    DeviceMaster* deviceMaster;
    DeviceAlignment alignment;
    PowerState powerState;
    int effectId;
    int originX = 181;
    int originY = 97;
    std::string deviceKey;
};
