#include "ui/controls/LumetDeviceDotPushButton.h"

#include "model/EffectSetting.h"
#include "ui/controls/LedColor.h"
#include "ui/controls/LedLocationIcons.h"
#include "ui/controls/LumetColorDotLabel.h"

#include <QCoreApplication>

LumetDeviceDotPushButton::LumetDeviceDotPushButton(QWidget* parent, LedInfo* led) : QPushButton(parent), led(led)
{
    resize(48, 90);
    setCheckable(true);
    setAutoExclusive(true);
    // Of the LEDs Tab stops on the picked one; Left and Right pick its
    // neighbours (the group handles them).
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(
        QCoreApplication::translate("LumetClass", "LED. The color palette colors the picked LED; Left and Right pick the next one."));
    // Names are byte strings; a line feed gives the two-line module name.
    setText(QString::fromLatin1(led->GetName().c_str()));
    setStyleSheet(StyleSheetFor(led->GetLocation()));
    dot = new LumetColorDotLabel(this);
    dot->setGeometry(21, 54, 6, 6);
    // No style sheet of its own: the dot paints its picture on a translucent
    // background, and a sheet per dot would be parsed again for every LED of
    // every new view.
    dot->setAttribute(Qt::WA_TranslucentBackground);
}

QString LumetDeviceDotPushButton::StyleSheetFor(const std::string& location)
{
    const std::string_view icon = LedLocationIcons::IconFor(location);
    const QString base = QStringLiteral(":/Lumet/Resources/color_area/icon/") +
                         QString::fromLatin1(icon.data(), static_cast<int>(icon.size()));
    return QStringLiteral("QPushButton{border:none;background-color:transparent;background-image:url(%1_n.png);"
                          "background-repeat:no-repeat;font-family:arial;font-size:10px;color:#8c8c8c;"
                          "padding-top:55px;text-align:center;}"
                          "QPushButton:hover{background-image:url(%1_o.png);}"
                          "QPushButton:checked{background-image:url(%1_d.png);color:#ffffff;}"
                          "QPushButton:disabled{background-image:url(%1_un.png);color:#4d4d4d;}")
        .arg(base);
}

float LumetDeviceDotPushButton::GetDotHue() const
{
    return dot->hue();
}

void LumetDeviceDotPushButton::SetDotHue(float hue)
{
    dot->setHue(hue);
    dot->repaint();
}

bool LumetDeviceDotPushButton::WriteColor(int scene, float hue, float saturation, float lightness)
{
    SetDotHue(hue);
    EffectSetting* setting = led->GetSetting(scene);
    if (!setting)
        return false;
    // The values it holds already (an LED shown on the palette reports them
    // back with its position): the colour stays as the status gave it, not
    // as this side would round it.
    if (setting->hue == hue && setting->saturation == saturation && setting->lightness == lightness)
        return true;
    setting->hue = hue;
    setting->saturation = saturation;
    setting->lightness = lightness;
    // The profile sends the packed colour beside the three values: keep them
    // telling the same colour.
    setting->color = LedColor::PackedFromHsl(hue, saturation, lightness);
    return true;
}

bool LumetDeviceDotPushButton::ReadColor(int scene, float& hue, float& saturation, float& lightness) const
{
    const EffectSetting* setting = led->GetSetting(scene);
    if (!setting)
        return false;
    hue = setting->hue;
    saturation = setting->saturation;
    lightness = setting->lightness;
    return true;
}

void LumetDeviceDotPushButton::WritePosition(int x, int y)
{
    cachedPosition = LedInfo::Point{x, y};
    led->SetPosition(x, y);
}

LedInfo::Point LumetDeviceDotPushButton::ReadPosition()
{
    const LedInfo::Point p = led->GetPosition();
    if (p.x != -1 && p.y != -1) {
        cachedPosition = p;
        return p;
    }
    led->SetPosition(cachedPosition.x, cachedPosition.y);
    return cachedPosition;
}

void LumetDeviceDotPushButton::setVisible(bool visible)
{
    QPushButton::setVisible(visible);
    dot->setVisible(visible);
}
