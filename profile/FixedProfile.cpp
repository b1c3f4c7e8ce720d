#include "profile/FixedProfile.h"

namespace FixedProfile {

std::string LedSwitch(bool on)
{
    return std::string("<root><header>ORVEL_LUMET</header><version>1.0</version><funcid>1</funcid>"
                       "<device key=\"Group\"><isenabled>")
        + (on ? "1" : "0") + "</isenabled></device></root>";
}

std::string ResetAll()
{
    // The service expects this exact text, separators included: one space,
    // seven tabs, one space.
    const std::string gap = " \t\t\t\t\t\t\t ";
    return "<root>" + gap + "<header>ORVEL_LUMET</header><version>1.0</version>" + gap + "<funcid>5</funcid>" + gap
        + "<device key=\"Mainboard\">" + gap + "<resetall /></device></root>";
}

} // namespace FixedProfile
