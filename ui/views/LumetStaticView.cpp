#include "ui/views/LumetStaticView.h"

LumetStaticView::LumetStaticView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment,
                                 PowerState ps, int effectId)
    : LumetColorView(parent, deviceMaster, alignment, ps, effectId)
{
    InitUi();
}
