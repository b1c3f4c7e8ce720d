#pragma once

#include "ui/views/LumetColorView.h"
#include "ui/controls/LumetColorChoice.h"

// The view of effects 8 and 10: a light runs along the LEDs. A plain comet
// takes each LED's colour as in the static view (hue-only palette); a
// gradient comet runs through a part of the colour circle chosen on the
// palette in range mode. The choice, the range and the speed are the group's.
class LumetCometView : public LumetColorView
{
    Q_OBJECT

public:
    LumetCometView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                   int effectId);
    ~LumetCometView() override;

    LabeledLumetSpeedSlider* GetSpeedSlider() const { return speedSlider; }

public slots:
    // With "Gradient" chosen the palette's range becomes the group's colour
    // cycle; otherwise the picked LED takes the colour.
    void OnPaletteColorChanged() override;
    // 0 plain, 1 gradient.
    void OnRadioButtonChecked(ColorGradient cg);

protected:
    void InitUi() override;
    // Rebuilds the controls from scratch, then loads them.
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private:
    LabeledLumetSpeedSlider* speedSlider = nullptr;
};
