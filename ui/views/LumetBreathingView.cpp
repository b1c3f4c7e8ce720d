#include "ui/views/LumetBreathingView.h"

LumetBreathingView::LumetBreathingView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                       PowerState ps, int effectId)
    : LumetColorView(parent, deviceMaster, alignment, ps, effectId)
{
    InitUi();
}
