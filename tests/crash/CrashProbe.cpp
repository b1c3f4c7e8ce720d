// A process that carries the panel's crash reporter instance and nothing else:
// it prints the reporter's state and ends, so the caller can time the exit.
#include "app/CrashReporter.h"

#include <cstdio>

int main()
{
    std::printf("loaded=%d initialised=%d\n", crashReporter.loaded(), crashReporter.initialised());
    std::fflush(stdout);
    return 0;
}
