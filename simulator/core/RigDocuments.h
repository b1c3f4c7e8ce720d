#pragma once

#include <string>

class RigLayout;
struct RigState;

// The rig's two documents in the formats the panel parses. The status
// document also serves as the rig's saved state, so reading it back is here
// too.
class RigDocuments
{
public:
    static std::string Capability(const RigLayout& layout);
    static std::string Status(const RigLayout& layout, const RigState& state);

    // Reads a status document written by Status over the state the rig had
    // (its defaults, on start). False with a fault when the text is damaged or
    // names what the rig lacks; the state is then left as it was.
    static bool ReadStatus(const std::string& text, const RigLayout& layout, RigState& state, std::string& fault);
};
