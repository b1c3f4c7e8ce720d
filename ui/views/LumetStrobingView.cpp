#include "ui/views/LumetStrobingView.h"

#include "model/EffectSetting.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"

LumetStrobingView::LumetStrobingView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                     PowerState ps, int effectId)
    : LumetColorView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetStrobingView::InitUi();
}

LumetStrobingView::~LumetStrobingView()
{
    delete speedSlider;
}

void LumetStrobingView::InitUi()
{
    CreateColorControls(PlainLook, PaletteGeometry, IsSynchronizedPage() ? 2 : 0);
    speedSlider = CreateSpeedSlider(13, 198);
}

void LumetStrobingView::LoadFromModel()
{
    delete speedSlider;
    speedSlider = nullptr;
    DestroyColorControls();
    InitUi();
    LoadColorGroup();
    // A speed other than the new slider's middle moves it, and the slider
    // reports the value back as a change.
    if (IsSynchronizedPage())
        ShowGroupSpeed(*speedSlider);
}

std::string LumetStrobingView::BuildXmlProfile()
{
    return BuildEffectProfile(
        EffectProfile::Parts(EffectProfile::LedValues::Colour, EffectProfile::GroupBlock::Strobing()));
}
