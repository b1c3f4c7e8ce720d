#include "ui/views/LumetMusicView.h"

#include "model/EffectSetting.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace {

struct MusicButton
{
    const char* text;
    int index;
    int x; // in the page; the view subtracts its origin
    int y;
    const char* imageName;
};

// In the order the buttons are created.
const MusicButton MusicButtons[] = {
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Rock"), 3, 385, 180, "rock"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Hip Hop"), 6, 385, 340, "hiphop"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Party"), 5, 525, 180, "party"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Sleep"), 1, 665, 340, "sleep"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Funk"), 7, 245, 340, "funk"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Romance"), 4, 525, 340, "romance"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Jazz"), 2, 665, 180, "jazz"},
    {QT_TRANSLATE_NOOP("LumetClass_Alt", "Normal"), 0, 245, 180, "normal"},
};

const int ButtonWidth = 90;
const int ButtonHeight = 110;
const int DefaultMusicIndex = 0;

} // namespace

LumetMusicView::LumetMusicView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                               PowerState ps, int effectId)
    : LumetEffectView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetMusicView::InitUi();
}

void LumetMusicView::SetMessage(const std::string& message)
{
    headingLabel->setText(QCoreApplication::translate("LumetClass", message.c_str()));
}

QString LumetMusicView::ButtonStyleSheet(const char* imageName)
{
    // The picture fills the top 90 pixels, the caption sits below it and
    // turns white on the chosen button.
    return QStringLiteral("QPushButton{background-color:transparent;border:none;"
                          "background-image:url(:/Lumet/Resources/music_effect_icon/%1_n.png);"
                          "font-family:arial;font:12px;color:#8c8c8c;background-repeat:no-repeat;"
                          "padding-top:90px;padding-bottom:0px;border-bottom-width:0px;text-align:center;}"
                          " \t\t\t\t\t  "
                          "QPushButton:hover{background-image:url(:/Lumet/Resources/music_effect_icon/%1_o.png);"
                          "color:#8c8c8c;}"
                          " \t\t\t\t\t  "
                          "QPushButton:checked{background-image: url(:/Lumet/Resources/music_effect_icon/%1_d.png);"
                          "color:#ffffff;}")
        .arg(QLatin1String(imageName));
}

void LumetMusicView::InitUi()
{
    headingLabel = new QLabel(this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    // x 209, y 135 of the page.
    headingLabel->move(209 - GetOriginX(), 135 - GetOriginY());
    headingLabel->setFixedWidth(300);
    headingLabel->setStyleSheet(QStringLiteral(
        "QLabel{background-color:transparent;border:none;color:#c8c8c8;font-family:arial;font-size:12px;}"));

    for (const MusicButton& music : MusicButtons) {
        auto* button = new QPushButton(this);
        button->setObjectName(QLatin1String(music.imageName));
        button->setGeometry(music.x - GetOriginX(), music.y - GetOriginY(), ButtonWidth, ButtonHeight);
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setText(QCoreApplication::translate("LumetClass_Alt", music.text));
        button->setStyleSheet(ButtonStyleSheet(music.imageName));
        connect(button, &QPushButton::clicked, this, &LumetMusicView::OnButtonClicked);
        buttonMap[button] = music.index;
    }
}

void LumetMusicView::LoadDefaults()
{
    ChooseMusicIndex(DefaultMusicIndex);
}

void LumetMusicView::LoadFromModel()
{
    ChooseMusicIndex(LoadedGroupSetting().musicIndex);
}

std::string LumetMusicView::BuildXmlProfile()
{
    return BuildEffectProfile(EffectProfile::Parts(EffectProfile::LedValues::None).WithMusicIndex(GetMusicIndex()));
}

int LumetMusicView::GetMusicIndex() const
{
    const auto found = buttonMap.find(currentButton);
    return found != buttonMap.end() ? found->second : -1;
}

QPushButton* LumetMusicView::GetButton(int musicIndex) const
{
    for (const auto& [button, index] : buttonMap) {
        if (index == musicIndex)
            return button;
    }
    return nullptr;
}

void LumetMusicView::ChooseMusicIndex(int n)
{
    QPushButton* button = GetButton(n);
    if (!button)
        button = GetButton(DefaultMusicIndex);
    button->setChecked(true);
    currentButton = button;
}

void LumetMusicView::OnButtonClicked()
{
    auto* button = qobject_cast<QPushButton*>(sender());
    if (!button)
        return;
    if (button == currentButton) {
        // Already chosen: it stays chosen, and nothing changed.
        button->setChecked(true);
        return;
    }
    currentButton = button;
    emit ViewStateChanged();
}
