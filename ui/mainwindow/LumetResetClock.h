#pragma once

#include <QtGlobal>

// The clock of the DEFAULT debounce: milliseconds on a monotonic clock that
// starts with the process. (The C runtime's clock() counts CPU time on Linux,
// where a one-second wait would hardly ever end, and wraps after about 25 days
// on Windows.)
class LumetResetClock
{
public:
    // Milliseconds since the process started.
    static qint64 Now();
    // A reset is accepted once at least one whole second has passed since the
    // last accepted one; the last one starts at 0, so the first second after
    // start is refused as well.
    static bool Accepts(qint64 now, qint64 lastReset);
};
