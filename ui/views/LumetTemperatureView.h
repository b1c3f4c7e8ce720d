#pragma once

#include "ui/views/LumetEffectView.h"

class QLabel;

// The view of effect 18, in which the lighting service colours the LEDs after
// a temperature. It shows the colour-temperature bar for orientation and one
// speed slider, from "Static" at the left to "Fast" at the right; the speed
// is its only setting and goes out as effect_speed.
class LumetTemperatureView : public LumetEffectView
{
    Q_OBJECT

public:
    LumetTemperatureView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                         int effectId);

    int GetSpeed() const { return speed; }
    LabeledLumetSpeedSlider* GetSpeedSlider() const { return speedSlider; }

protected:
    void InitUi() override;
    // Speed -2, fastest.
    void LoadDefaults() override;
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private slots:
    // The view keeps the speed itself; the group setting stays as loaded.
    void OnSliderValueChanged(int aValue) override;

private:
    void ShowSpeed(int value);

    LabeledLumetSpeedSlider* speedSlider = nullptr;
    QLabel* barLabel = nullptr;
    QLabel* lowLabel = nullptr;
    QLabel* highLabel = nullptr;
    int speed = 0;
};
