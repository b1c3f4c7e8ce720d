#pragma once

#include "simulator/core/Rig.h"

class RigLayout;
struct RigState;

// A rig without hardware, for tests, demonstrations and machines without
// lights: a synchronized group of four memory modules and the board's LEDs,
// the board itself and a keyboard. Its layout never changes, and it shows
// nothing: the state the service keeps is all there is.
class VirtualRig : public Rig
{
public:
    static RigLayout Layout();
    // What DEFAULT restores: every device on and static, the LEDs spread round
    // the colour circle, bright while the system runs and dimmed in the other
    // power states.
    static RigState Defaults(const RigLayout& layout);

    bool KeepsDefaults() const override { return false; }
    void Begin(RigService& service) override;
    void Show(const RigLayout&, const RigState&) override {}
};
