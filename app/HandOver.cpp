#include "app/HandOver.h"

namespace HandOver {

bool Run(const std::string& program)
{
    if (ProgramLength(program) > MaxProgramLength)
        return false;
    // An open window means the program runs already, whatever the name says.
    return IsWindowOpen() || StartAndWait(program);
}

} // namespace HandOver
