#include "ui/mainwindow/LumetResetClock.h"

#include <QElapsedTimer>

namespace {

// Started during static initialisation, before main.
struct ProcessClock
{
    ProcessClock() { timer.start(); }
    QElapsedTimer timer;
};

const ProcessClock processClock;

} // namespace

qint64 LumetResetClock::Now()
{
    return processClock.timer.elapsed();
}

bool LumetResetClock::Accepts(qint64 now, qint64 lastReset)
{
    return (now - lastReset) / 1000 >= 1;
}
