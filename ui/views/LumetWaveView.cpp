#include "ui/views/LumetWaveView.h"

#include "model/EffectSetting.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"

LumetWaveView::LumetWaveView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                             int effectId)
    : LumetColorView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetWaveView::InitUi();
}

LumetWaveView::~LumetWaveView()
{
    delete speedSlider;
}

void LumetWaveView::InitUi()
{
    CreateColorControls(PlainLook, PaletteGeometry, 2);
    speedSlider = CreateSpeedSlider(13, 198);
}

void LumetWaveView::LoadFromModel()
{
    LoadColorGroup();
    ShowGroupSpeed(*speedSlider);
}

std::string LumetWaveView::BuildXmlProfile()
{
    // Whether the slider was hidden, not whether it shows: a view that is
    // itself hidden still sends its speed.
    const bool withSpeed = !speedSlider->isHidden();
    return BuildEffectProfile(
        EffectProfile::Parts(EffectProfile::LedValues::ColourAndSpeed, EffectProfile::GroupBlock::Wave(withSpeed)));
}
