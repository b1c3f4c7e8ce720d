#pragma once

#include "ui/views/LumetColorView.h"

// The view of effect 1, one steady colour per LED: the user picks LEDs in the
// colour group and gives them a colour on the full-colour palette; the
// profile carries every LED's colour.
class LumetStaticView : public LumetColorView
{
    Q_OBJECT

public:
    LumetStaticView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                    int effectId);
};
