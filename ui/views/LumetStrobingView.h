#pragma once

#include "ui/views/LumetColorView.h"

// The view of effects 3 and 17: the LEDs flash in their colours at a chosen
// speed. The colours are chosen as in the static view, on the hue-only
// palette; the speed is the group's effect speed, sent with the group's path
// order in the profile.
class LumetStrobingView : public LumetColorView
{
    Q_OBJECT

public:
    LumetStrobingView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                      int effectId);
    ~LumetStrobingView() override;

    LabeledLumetSpeedSlider* GetSpeedSlider() const { return speedSlider; }

protected:
    void InitUi() override;
    // Rebuilds the controls from scratch, then loads them.
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private:
    LabeledLumetSpeedSlider* speedSlider = nullptr;
};
