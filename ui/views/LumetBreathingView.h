#pragma once

#include "ui/views/LumetColorView.h"

// The view of effect 2, in which each LED pulses in its own colour. The
// colours are chosen as in the static view; the pulsing is the lighting
// service's business, so the profile carries no timing.
class LumetBreathingView : public LumetColorView
{
    Q_OBJECT

public:
    LumetBreathingView(QWidget* parent, DeviceMaster* deviceMaster, DeviceAlignment alignment, PowerState ps,
                       int effectId);
};
