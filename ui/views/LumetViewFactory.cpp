#include "ui/views/LumetViewFactory.h"

#include "profile/LumetXmlProfileHelper.h"
#include "ui/views/LumetColorCycleView.h"
#include "ui/views/LumetNullView.h"
#include "ui/views/LumetSleepView.h"

#include <atomic>
#include <mutex>

namespace {

const char* const ColorCycleMessage =
    "This effect does not require user input. Select APPLY to activate the effect.";
const char* const SleepMessage =
    "If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states.";
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
    // The colour effects (static 1, breathing 2, strobing 3 and 17, rainbow 5,
    // comet 8 and 10, wave 11 to 13, temperature 18, music 19) show the
    // unknown-effect view until their own views take these rows over.
    case 1:
    case 2:
    case 3:
    case 17:
    case 5:
    case 8:
    case 10:
    case 11:
    case 12:
    case 13:
    case 18:
    case 19:
        return CreateUnknownEffectView(parent);
    default:
        return CreateUnknownEffectView(parent);
    }
}

void LumetViewFactory::SetKeepProfileFile(bool keep)
{
    LumetXmlProfileHelper::SetKeepProfileFile(keep);
}
