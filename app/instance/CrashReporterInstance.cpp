#include "app/CrashReporter.h"

// Constructed during static initialisation, before main, so that crashes in
// start-up are reported too; destroyed at process exit, where it waits for a
// report in progress. Compiled straight into the program: in a static library
// nothing would reference it and the linker would drop it.
CrashReporter crashReporter;
