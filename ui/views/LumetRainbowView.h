#pragma once

#include "ui/controls/LumetColorChoice.h"
#include "ui/views/LumetEffectView.h"

// The view of effect 5: the LEDs run through a band of hues. The user
// chooses a full colour cycle or a gradient over a part of the colour circle
// (the palette in range mode) and the speed; the running direction comes
// from the model through the colour group's hidden reverse check box. All of
// it is the group's setting; the LEDs keep their colours.
class LumetRainbowView : public LumetEffectView
{
    Q_OBJECT

public:
    LumetRainbowView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                     int effectId);
    ~LumetRainbowView() override;

    LumetDeviceDotButtonGroup* GetColorGroup() const { return colourGroup; }
    NewLedPalette* GetPalette() const { return palette; }
    LabeledLumetSpeedSlider* GetSpeedSlider() const { return speedSlider; }

public slots:
    // The palette's range becomes the group's colour cycle.
    void OnPaletteColorChanged();

private slots:
    // 0 colour cycle (palette hidden), 1 gradient.
    void OnRadioButtonChecked(ColorGradient cg);
    // 1 runs from end to start.
    void OnReverseCheckBoxChecked(ColorSequence cs);
    void OnViewStateChanged();

protected:
    void InitUi() override;
    void LoadDefaults() override;
    // Rebuilds the controls from scratch, then loads them.
    void LoadFromModel() override;
    std::string BuildXmlProfile() override;

private:
    void DestroyControls();

    LumetDeviceDotButtonGroup* colourGroup = nullptr;
    NewLedPalette* palette = nullptr;
    LabeledLumetSpeedSlider* speedSlider = nullptr;
};
