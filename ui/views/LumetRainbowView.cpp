#include "ui/views/LumetRainbowView.h"

#include "model/EffectSetting.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/NewLedPalette.h"

#include <QCoreApplication>

namespace {

// The group shows only its two radio buttons.
LumetEffectView::ColorGroupLook CycleOrGradient()
{
    LumetEffectView::ColorGroupLook look;
    look.radioButtons = true;
    look.ledAreaHidden = true;
    look.firstRadioText = QT_TRANSLATE_NOOP("LumetClass", "Cycle");
    look.secondRadioText = QT_TRANSLATE_NOOP("LumetClass", "Gradient");
    look.spanToolTip = false;
    return look;
}

} // namespace

LumetRainbowView::LumetRainbowView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                   PowerState ps, int effectId)
    : LumetEffectView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetRainbowView::InitUi();
}

LumetRainbowView::~LumetRainbowView()
{
    DestroyControls();
}

void LumetRainbowView::InitUi()
{
    colourGroup = CreateColorGroup(CycleOrGradient());
    palette = CreatePalette(QRect(476, 44, 170, 387), 1);
    speedSlider = CreateSpeedSlider(13, 134);
    connect(palette, &NewLedPalette::onColorChanged, this, &LumetRainbowView::OnPaletteColorChanged);
    connect(colourGroup, &LumetDeviceDotButtonGroup::RadioButtonChecked, this,
            &LumetRainbowView::OnRadioButtonChecked);
    connect(colourGroup, &LumetDeviceDotButtonGroup::ReverseCheckBoxChecked, this,
            &LumetRainbowView::OnReverseCheckBoxChecked);
}

void LumetRainbowView::DestroyControls()
{
    delete speedSlider;
    speedSlider = nullptr;
    delete palette;
    palette = nullptr;
    delete colourGroup;
    colourGroup = nullptr;
}

void LumetRainbowView::LoadDefaults() {}

void LumetRainbowView::LoadFromModel()
{
    DestroyControls();
    InitUi();
    DeviceMaster* device = GetDeviceMaster();
    colourGroup->SetGradientFromSetting(device);
    colourGroup->SetReverseFromSetting(device);
    // A loaded "Plain" is no choice of this view: it shows as a colour cycle.
    OnRadioButtonChecked(colourGroup->IsSecondRadioChecked() ? 1 : 0);
    if (LoadedGroupSetting().colorType == 1)
        ShowCycleRange(*palette);
    ShowGroupSpeed(*speedSlider);
}

std::string LumetRainbowView::BuildXmlProfile()
{
    return BuildEffectProfile(
        EffectProfile::Parts(EffectProfile::LedValues::Colour, EffectProfile::GroupBlock::Rainbow()));
}

void LumetRainbowView::OnPaletteColorChanged()
{
    StoreCycleRange(*palette);
    emit ViewStateChanged();
}

void LumetRainbowView::OnRadioButtonChecked(ColorGradient cg)
{
    EffectSetting* setting = EditableGroupSetting();
    if (cg != 0) {
        palette->setMode(1);
        palette->show();
        if (setting)
            setting->colorType = 1;
        ShowCycleRange(*palette);
    } else {
        palette->setMode(3);
        palette->hide();
        if (setting)
            setting->colorType = 2;
    }
    emit ViewStateChanged();
}

void LumetRainbowView::OnReverseCheckBoxChecked(ColorSequence cs)
{
    if (EffectSetting* setting = EditableGroupSetting())
        setting->endToStart = cs == 1;
    emit ViewStateChanged();
}

void LumetRainbowView::OnViewStateChanged()
{
    emit ViewStateChanged();
}
