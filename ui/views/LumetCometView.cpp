#include "ui/views/LumetCometView.h"

#include "model/EffectSetting.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/NewLedPalette.h"

#include <QCoreApplication>

namespace {

const QRect CometPaletteGeometry(477, 54, 170, 387);

LumetEffectView::ColorGroupLook PlainOrGradient()
{
    LumetEffectView::ColorGroupLook look;
    look.radioButtons = true;
    look.firstRadioText = QT_TRANSLATE_NOOP("LumetClass", "Plain");
    look.secondRadioText = QT_TRANSLATE_NOOP("LumetClass", "Gradient");
    return look;
}

} // namespace

LumetCometView::LumetCometView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                               PowerState ps, int effectId)
    : LumetColorView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetCometView::InitUi();
}

LumetCometView::~LumetCometView()
{
    delete speedSlider;
}

void LumetCometView::InitUi()
{
    CreateColorControls(PlainOrGradient(), CometPaletteGeometry, 1);
    speedSlider = CreateSpeedSlider(13, 228);
    connect(GetColorGroup(), &LumetDeviceDotButtonGroup::RadioButtonChecked, this,
            &LumetCometView::OnRadioButtonChecked);
}

void LumetCometView::LoadFromModel()
{
    delete speedSlider;
    speedSlider = nullptr;
    DestroyColorControls();
    InitUi();
    LoadColorGroup();
    LumetDeviceDotButtonGroup* group = GetColorGroup();
    // A loaded "Cycle" is no choice of this view: it shows as plain.
    group->SetGradientFromSetting(GetDeviceMaster());
    OnRadioButtonChecked(group->IsSecondRadioChecked() ? 1 : 0);
    if (LoadedGroupSetting().colorType == 1)
        ShowCycleRange(*GetPalette());
    ShowGroupSpeed(*speedSlider);
}

std::string LumetCometView::BuildXmlProfile()
{
    return BuildEffectProfile(
        EffectProfile::Parts(EffectProfile::LedValues::Colour, EffectProfile::GroupBlock::Comet()));
}

void LumetCometView::OnPaletteColorChanged()
{
    if (!GetColorGroup()->IsSecondRadioChecked()) {
        LumetColorView::OnPaletteColorChanged();
        return;
    }
    StoreCycleRange(*GetPalette());
    emit ViewStateChanged();
}

void LumetCometView::OnRadioButtonChecked(ColorGradient cg)
{
    LumetDeviceDotButtonGroup* group = GetColorGroup();
    NewLedPalette* palette = GetPalette();
    EffectSetting* setting = EditableGroupSetting();
    if (cg != 0) {
        palette->setMode(1);
        if (setting)
            setting->colorType = 1;
        ShowCycleRange(*palette);
        // The LEDs take no colour of their own: the mask covers them.
        group->SetColorSpanVisible(false);
        group->SetDotsEnabled(false);
    } else {
        palette->setMode(2);
        if (setting)
            setting->colorType = 0;
        group->SetColorSpanVisible(true);
        group->SetDotsEnabled(true);
        OnDeviceButtonChanged();
    }
    emit ViewStateChanged();
}
