#pragma once

#include "ui/views/LumetBaseView.h"

#include <QCoreApplication>
#include <QRect>

class LabeledLumetSpeedSlider;
class LumetDeviceDotButtonGroup;
class NewLedPalette;
struct EffectSetting;

// What the effect views with controls share: showing a view loads it first,
// the group-wide setting they edit, and the way they build their palette,
// colour group and speed slider.
class LumetEffectView : public LumetBaseView
{
    Q_OBJECT

public:
    // How a view shows the colour group.
    struct ColorGroupLook
    {
        bool radioButtons = false;
        bool ledAreaHidden = false;
        const char* firstRadioText = "";
        const char* secondRadioText = "";
        bool spanToolTip = true; // "Across all devices" on the colour-span button
    };

    // false loads the controls from the model, true the defaults; then shows.
    void ShowView(bool defaults = false) override;

protected:
    LumetEffectView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                    int effectId);

    // The page of the synchronized group (-1, and 1 alike): the only one the
    // main window creates.
    bool IsSynchronizedPage() const;

    // The group's effect-wide values as edited and as loaded; a zeroed setting
    // while the device has none, so a view of such a device still shows and
    // builds something sound.
    const EffectSetting& GroupSetting() const;
    const EffectSetting& LoadedGroupSetting() const;
    // The setting to store an edit into. A device without one gets a zeroed
    // setting on the first edit, so the choice is kept and sent; null without
    // a device.
    EffectSetting* EditableGroupSetting();

    LumetDeviceDotButtonGroup* CreateColorGroup(const ColorGroupLook& look);
    NewLedPalette* CreatePalette(const QRect& geometry, int mode);
    // A five-notch slider from 2 ("Slow" or leftText) at the left to -2
    // ("Fast") at the right, reporting to OnSliderValueChanged.
    LabeledLumetSpeedSlider* CreateSpeedSlider(int x, int y, const char* leftContext = "LumetClass",
                                               const char* leftText = QT_TRANSLATE_NOOP("LumetClass", "Slow"));

    // Sets the slider to the group's effect speed. A stored speed beyond the
    // slider's ends is taken as the nearer end, so what is sent is what shows.
    void ShowGroupSpeed(LabeledLumetSpeedSlider& slider);

    // Stores the palette's range as the group's colour cycle: start, end =
    // start + sweep (may pass 1), range = sweep.
    void StoreCycleRange(const NewLedPalette& palette);
    // Shows the group's stored range on a palette in range mode.
    void ShowCycleRange(NewLedPalette& palette) const;

protected slots:
    // The group's effect speed follows the slider.
    virtual void OnSliderValueChanged(int aValue);
};
