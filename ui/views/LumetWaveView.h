#pragma once

#include "ui/views/LumetColorView.h"

// The view of effects 11, 12 and 13: a wave of colour moves along the LEDs.
// The colours are chosen as in the static view, on the hue-only palette, and
// each LED also sends its own speed. The slider sets the group's effect
// speed; for effect 13 the factory hides it and the profile then carries no
// effect speed.
class LumetWaveView : public LumetColorView
{
    Q_OBJECT

public:
    LumetWaveView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                  int effectId);
    ~LumetWaveView() override;

    LabeledLumetSpeedSlider* GetSpeedSlider() const { return speedSlider; }

protected:
    void InitUi() override;
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private:
    LabeledLumetSpeedSlider* speedSlider = nullptr;
};
