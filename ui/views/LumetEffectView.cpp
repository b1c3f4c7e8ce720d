#include "ui/views/LumetEffectView.h"

#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/NewLedPalette.h"

#include <QCoreApplication>

#include <memory>

namespace {

const EffectSetting& OrZeroed(const EffectSetting* setting)
{
    static const EffectSetting zeroed;
    return setting ? *setting : zeroed;
}

// The controls translate their texts once more; an untranslated text passes
// through both unchanged.
std::string Translated(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text).toStdString();
}

} // namespace

LumetEffectView::LumetEffectView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                 PowerState ps, int effectId)
    : LumetBaseView(parent, deviceMaster, alignment, ps, effectId)
{
}

void LumetEffectView::ShowView(bool defaults)
{
    if (defaults)
        LoadDefaults();
    else
        LoadFromModel();
    show();
}

bool LumetEffectView::IsSynchronizedPage() const
{
    return GetAlignment() == -1 || GetAlignment() == 1;
}

const EffectSetting& LumetEffectView::GroupSetting() const
{
    const DeviceMaster* device = GetDeviceMaster();
    return OrZeroed(device ? device->GetGroupSetting() : nullptr);
}

const EffectSetting& LumetEffectView::LoadedGroupSetting() const
{
    const DeviceMaster* device = GetDeviceMaster();
    return OrZeroed(device ? device->GetGroupSettingLoaded() : nullptr);
}

EffectSetting* LumetEffectView::EditableGroupSetting()
{
    DeviceMaster* device = GetDeviceMaster();
    if (!device)
        return nullptr;
    if (!device->GetGroupSetting())
        device->SetGroupSetting(std::make_unique<EffectSetting>());
    return device->GetGroupSetting();
}

LumetDeviceDotButtonGroup* LumetEffectView::CreateColorGroup(const ColorGroupLook& look)
{
    auto* group = new LumetDeviceDotButtonGroup(this, GetPowerState());
    // x 209, y 135 of the page.
    group->move(28, 38);
    group->SetRadioButtonsVisible(look.radioButtons);
    // The colour-span button only counts while the LED area shows.
    if (look.ledAreaHidden) {
        group->SetLedAreaHidden(true);
        group->SetColorSpanVisible(false);
    } else {
        group->SetColorSpanVisible(true);
        group->SetLedAreaHidden(false);
    }
    group->SetFirstRadioText(Translated("LumetClass", look.firstRadioText));
    group->SetSecondRadioText(Translated("LumetClass", look.secondRadioText));
    if (look.spanToolTip)
        group->SetColorSpanToolTip(Translated("LumetClass", QT_TRANSLATE_NOOP("LumetClass", "Across all devices")));
    return group;
}

NewLedPalette* LumetEffectView::CreatePalette(const QRect& geometry, int mode)
{
    auto* palette = new NewLedPalette(this);
    palette->setGeometry(geometry);
    palette->setMode(mode);
    return palette;
}

LabeledLumetSpeedSlider* LumetEffectView::CreateSpeedSlider(int x, int y, const char* leftContext,
                                                            const char* leftText)
{
    auto* slider = new LabeledLumetSpeedSlider(this, x, y, 1, -2);
    slider->setTitle(Translated("LumetClass", QT_TRANSLATE_NOOP("LumetClass", "SPEED")));
    slider->setEndTexts(Translated(leftContext, leftText),
                        Translated("LumetClass", QT_TRANSLATE_NOOP("LumetClass", "Fast")));
    connect(slider, &LabeledLumetSpeedSlider::valueChanged, this, &LumetEffectView::OnSliderValueChanged);
    return slider;
}

void LumetEffectView::ShowGroupSpeed(LabeledLumetSpeedSlider& slider)
{
    slider.setValue(GroupSetting().effectSpeed);
    const DeviceMaster* device = GetDeviceMaster();
    if (EffectSetting* setting = device ? device->GetGroupSetting() : nullptr)
        setting->effectSpeed = slider.value();
}

void LumetEffectView::StoreCycleRange(const NewLedPalette& palette)
{
    EffectSetting* setting = EditableGroupSetting();
    if (!setting)
        return;
    float start = 0.0f;
    float sweep = 0.0f;
    palette.getRange(start, sweep);
    setting->cycleStart = start;
    setting->cycleEnd = start + sweep;
    setting->cycleRange = sweep;
}

void LumetEffectView::ShowCycleRange(NewLedPalette& palette) const
{
    const EffectSetting& setting = GroupSetting();
    palette.setRange(setting.cycleStart, setting.cycleRange);
}

void LumetEffectView::OnSliderValueChanged(int aValue)
{
    if (EffectSetting* setting = EditableGroupSetting())
        setting->effectSpeed = aValue;
    emit ViewStateChanged();
}
