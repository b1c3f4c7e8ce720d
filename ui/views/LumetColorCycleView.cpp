#include "ui/views/LumetColorCycleView.h"

#include "ui/controls/LumetImage.h"

#include <QLabel>
#include <QTimer>

namespace {

// Shared by every colour cycle view of the process.
int frameCounter = 1;

} // namespace

LumetColorCycleView::LumetColorCycleView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                         PowerState ps, int effectId)
    : LumetNullView(parent, deviceMaster, alignment, ps, effectId)
{
    LumetColorCycleView::InitUi();
    connect(animationTimer.get(), &QTimer::timeout, this, &LumetColorCycleView::StepFrame);
    animationTimer->start(FramePeriodMs);
}

LumetColorCycleView::~LumetColorCycleView() = default;

void LumetColorCycleView::ShowView(bool)
{
    animationTimer->start(FramePeriodMs);
    show();
}

void LumetColorCycleView::StepFrame()
{
    animationLabel->setPixmap(LumetImage::LoadPixmap(FramePath(frameCounter)));
    frameCounter = NextFrame(frameCounter);
}

bool LumetColorCycleView::IsAnimating() const
{
    return animationTimer->isActive();
}

QString LumetColorCycleView::FramePath(int frame)
{
    return QStringLiteral(":/Lumet/Resources/ani/00100%1.png").arg(frame, 2, 10, QLatin1Char('0'));
}

int LumetColorCycleView::NextFrame(int frame)
{
    return frame >= FrameCount ? 1 : frame + 1;
}

int LumetColorCycleView::CurrentFrame()
{
    return frameCounter;
}

void LumetColorCycleView::InitUi()
{
    animationLabel = new QLabel(this);
    animationLabel->setObjectName(QStringLiteral("animationLabel"));
    // x 318, y 201 of the page.
    animationLabel->setGeometry(137, 104, 390, 250);
    animationTimer = std::make_unique<QTimer>();
}

std::string LumetColorCycleView::BuildXmlProfile()
{
    return BuildEffectProfile(EffectProfile::Parts(EffectProfile::LedValues::Colour));
}

void LumetColorCycleView::hideEvent(QHideEvent* event)
{
    animationTimer->stop();
    LumetNullView::hideEvent(event);
}
