#include "ui/views/LumetTemperatureView.h"

#include "model/EffectSetting.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"

#include <QLabel>

namespace {

const int DefaultSpeed = -2;
const QChar DegreeCelsius(0x2103);

QLabel* CreateCaption(QWidget* parent, const char* name, int x, const QString& text)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->move(x, 154);
    label->setFixedWidth(100);
    label->setStyleSheet(QStringLiteral(
        "QLabel{background-color: transparent;border:none;color:#ececec;font-family: arial;font-size: 12px;}"));
    label->setText(text);
    return label;
}

} // namespace

LumetTemperatureView::LumetTemperatureView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                           PowerState ps, int effectId)
    : LumetEffectView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetTemperatureView::InitUi();
}

void LumetTemperatureView::InitUi()
{
    speedSlider = CreateSpeedSlider(13, 38, "LumetClass_Alt", QT_TRANSLATE_NOOP("LumetClass_Alt", "Static"));

    barLabel = new QLabel(this);
    barLabel->setObjectName(QStringLiteral("barLabel"));
    barLabel->setGeometry(36, 138, 420, 6);
    barLabel->setStyleSheet(
        QStringLiteral("QLabel{background-image: url(:/Lumet/Resources/temperature/color_temperature.png);"
                       "background-color:transparent;border:none;}"));
    barLabel->setText(QString());

    lowLabel = CreateCaption(this, "lowLabel", 159, QStringLiteral("<40") + DegreeCelsius);
    highLabel = CreateCaption(this, "highLabel", 299, QStringLiteral(">60") + DegreeCelsius);
}

void LumetTemperatureView::LoadDefaults()
{
    ShowSpeed(DefaultSpeed);
}

void LumetTemperatureView::LoadFromModel()
{
    ShowSpeed(LoadedGroupSetting().effectSpeed);
}

std::string LumetTemperatureView::BuildXmlProfile()
{
    return BuildEffectProfile(EffectProfile::Parts(EffectProfile::LedValues::None).WithEffectSpeed(speed));
}

void LumetTemperatureView::OnSliderValueChanged(int aValue)
{
    speed = aValue;
    emit ViewStateChanged();
}

void LumetTemperatureView::ShowSpeed(int value)
{
    speed = value;
    // A value other than the one shown moves the handle, and the slider
    // reports it back as a change. A stored speed beyond the slider's ends
    // is taken as the nearer end, so what is sent is what shows.
    speedSlider->setValue(value);
    speed = speedSlider->value();
}
