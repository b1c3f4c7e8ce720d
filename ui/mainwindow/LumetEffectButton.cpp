#include "ui/mainwindow/LumetEffectButton.h"

#include <QCoreApplication>

namespace {

const char* const buttonStyle =
    "LumetEffectButton{border:none;text-align:left;padding-left:22px;"
    "font-family:arial;font-size:12px;color:#8c8c8c;"
    "background-image:url(:/Lumet/Resources/Window/effect_normal.png);}"
    "LumetEffectButton:hover{color:#8c8c8c;background-image:url(:/Lumet/Resources/Window/effect_hover.png);}"
    "LumetEffectButton:checked{color:#ffffff;background-image:url(:/Lumet/Resources/Window/effect_checked.png);}";

} // namespace

LumetEffectButton::LumetEffectButton(QWidget* parent, const std::string& effectId, const std::string& effectName)
    : QPushButton(parent), effectId(effectId), effectName(effectName)
{
    setObjectName(QStringLiteral("effectButton_") + QString::fromStdString(effectId));
    setFixedSize(Width, Height);
    setCheckable(true);
    setAutoExclusive(true);
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setText(QCoreApplication::translate("LumetClass", effectName.c_str()));
}

QString LumetEffectButton::StyleSheet()
{
    return QLatin1String(buttonStyle);
}
