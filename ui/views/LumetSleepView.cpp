#include "ui/views/LumetSleepView.h"

#include "ui/controls/LumetImage.h"

#include <QLabel>

LumetSleepView::LumetSleepView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                               PowerState ps, int effectId)
    : LumetNullView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetSleepView::InitUi();
}

LumetSleepView::~LumetSleepView()
{
    delete pictureLabel;
}

void LumetSleepView::InitUi()
{
    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    // x 318, y 248 of the page.
    pictureLabel->setGeometry(137, 151, 390, 250);
    pictureLabel->setPixmap(LumetImage::LoadPixmap(QStringLiteral(":/Lumet/Resources/s5_stop.png")));
}

std::string LumetSleepView::BuildXmlProfile()
{
    return BuildEffectProfile(EffectProfile::Parts(EffectProfile::LedValues::Dark));
}
