#pragma once

class RigLayout;
class RigService;
struct RigState;

// The hardware side of the lighting service. A rig says which devices, LEDs
// and effects exist and what DEFAULT restores on them, handing both to
// RigService::SetLayout whenever they change, and shows the state the service
// gives it. Everything else (documents, checks, state, its file) is the
// service's. Every call in either direction is made on the main thread: a rig
// that works on another thread posts its results there.
class Rig
{
public:
    virtual ~Rig() = default;

    // True when the defaults the rig hands over are what its devices showed
    // when the service first met them: the service then keeps the first it gets
    // for each device and LED, in the saved state, and never takes later ones
    // for them. False when the rig works them out anew from each layout.
    virtual bool KeepsDefaults() const = 0;

    // Called once, when the service owns its bus name and settles its saved
    // state: the rig starts finding its devices and hands over each layout, the
    // first within this call where it has one at once. Until then the service
    // knows no devices. It must not block for long (a second or two at most,
    // to find devices that answer at once): a request to end the service
    // waits while it runs.
    virtual void Begin(RigService& service) = 0;

    // Shows state on the devices of layout: at start, after every layout, and
    // after every change a client makes, then only once the change is saved.
    // state also holds devices and LEDs the layout lacks.
    virtual void Show(const RigLayout& layout, const RigState& state) = 0;
};
