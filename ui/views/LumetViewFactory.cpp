#include "ui/views/LumetViewFactory.h"

#include "profile/LumetXmlProfileHelper.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/views/LumetBreathingView.h"
#include "ui/views/LumetColorCycleView.h"
#include "ui/views/LumetCometView.h"
#include "ui/views/LumetMusicView.h"
#include "ui/views/LumetNullView.h"
#include "ui/views/LumetRainbowView.h"
#include "ui/views/LumetSleepView.h"
#include "ui/views/LumetStaticView.h"
#include "ui/views/LumetStrobingView.h"
#include "ui/views/LumetTemperatureView.h"
#include "ui/views/LumetWaveView.h"

#include <atomic>
#include <mutex>

namespace {

const char* const ColorCycleMessage =
    "This effect does not require user input. Select APPLY to activate the effect.";
const char* const SleepMessage =
    "If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states.";
const char* const MusicMessage = QT_TRANSLATE_NOOP("LumetClass", "MODE");
const char* const UnknownEffectMessage = "[Unknown effect]";

// An effect without a view: no device, so nothing can be built or sent.
LumetBaseView* CreateUnknownEffectView(QWidget* parent)
{
    auto* view = new LumetNullView(parent, nullptr, -1, 0, -1);
    view->SetMessage(UnknownEffectMessage);
    return view;
}

} // namespace

LumetViewFactory* LumetViewFactory::GetInstance()
{
    static std::atomic<LumetViewFactory*> instance{nullptr};
    static std::mutex creation;
    LumetViewFactory* factory = instance.load(std::memory_order_acquire);
    if (!factory) {
        std::lock_guard<std::mutex> lock(creation);
        factory = instance.load(std::memory_order_relaxed);
        if (!factory) {
            factory = new LumetViewFactory;
            instance.store(factory, std::memory_order_release);
        }
    }
    return factory;
}

LumetBaseView* LumetViewFactory::CreateView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                            PowerState ps, int effectId)
{
    switch (effectId) {
    case 4: {
        auto* view = new LumetColorCycleView(parent, deviceMaster, alignment, ps, effectId);
        view->SetMessage(ColorCycleMessage);
        return view;
    }
    case 101: {
        auto* view = new LumetSleepView(parent, deviceMaster, alignment, ps, effectId);
        view->SetMessage(SleepMessage);
        return view;
    }
    case 1:
        return new LumetStaticView(parent, deviceMaster, alignment, ps, effectId);
    case 2:
        return new LumetBreathingView(parent, deviceMaster, alignment, ps, effectId);
    case 3:
    case 17:
        return new LumetStrobingView(parent, deviceMaster, alignment, ps, effectId);
    case 5:
        return new LumetRainbowView(parent, deviceMaster, alignment, ps, effectId);
    case 8:
    case 10:
        return new LumetCometView(parent, deviceMaster, alignment, ps, effectId);
    case 11:
    case 12:
    case 13: {
        auto* view = new LumetWaveView(parent, deviceMaster, alignment, ps, effectId);
        // Effect 13 on the synchronized page runs at the service's own pace:
        // no speed to choose, none sent.
        if (effectId == 13 && (alignment == -1 || alignment == 1))
            view->GetSpeedSlider()->hide();
        return view;
    }
    case 18:
        return new LumetTemperatureView(parent, deviceMaster, alignment, ps, effectId);
    case 19: {
        auto* view = new LumetMusicView(parent, deviceMaster, alignment, ps, effectId);
        view->SetMessage(MusicMessage);
        return view;
    }
    default:
        return CreateUnknownEffectView(parent);
    }
}

void LumetViewFactory::SetKeepProfileFile(bool keep)
{
    LumetXmlProfileHelper::SetKeepProfileFile(keep);
}
