#include "app/HandOver.h"

namespace HandOver {

bool Run(const std::string& program)
{
    if (ProgramLength(program) > MaxProgramLength)
        return false;
    if (!IsWindowOpen())
        StartAndWait(program);
    return true;
}

} // namespace HandOver
