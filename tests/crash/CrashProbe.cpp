// Carries the panel's crash reporter and nothing else; prints its state, so the caller can time the exit.
#include "app/CrashReporter.h"

#include <cstdio>

int main()
{
    std::printf("loaded=%d initialised=%d\n", crashReporter.loaded(), crashReporter.initialised());
    std::fflush(stdout);
    return 0;
}
