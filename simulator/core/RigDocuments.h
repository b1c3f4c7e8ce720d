#pragma once

#include <string>

class RigLayout;
struct RigState;

// The rig's two documents in the formats the panel parses, and its saved
// state: a status document that also holds what the rig lacks at the moment
// (devices, LEDs and path entries it may find again), and, for a rig that
// keeps them, the defaults under an element `defaults` in the same form, with
// the rig's notes on its hardware as `note` elements after them. Such
// a document without absent parts or defaults is the status document itself.
class RigDocuments
{
public:
    static std::string Capability(const RigLayout& layout);
    static std::string Status(const RigLayout& layout, const RigState& state);
    // defaults may be null: none are kept.
    static std::string SavedState(const RigLayout& layout, const RigState& state, const RigState* defaults);

    // Reads a saved state (or the status document older versions saved). False
    // with a fault when the text is damaged; state and defaults are then left
    // as they were.
    static bool ReadSavedState(const std::string& text, RigState& state, RigState& defaults, std::string& fault);
};
