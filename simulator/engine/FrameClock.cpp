#include "simulator/engine/FrameClock.h"

#include <algorithm>
#include <cmath>

FrameClock::FrameClock(QObject* parent) : QObject(parent), timer(this)
{
    timer.setSingleShot(true);
    // Coarse timers may fire up to 5 % of their interval late: too late for a frame.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &FrameClock::onTimeout);
}

void FrameClock::SetFps(int value)
{
    fps = std::clamp(value, MinFps, MaxFps);
    if (running)
        Start();
}

qint64 FrameClock::IntervalNs() const
{
    return 1000000000LL / fps;
}

void FrameClock::Start()
{
    running = true;
    last = -1;
    missed = 0;
    lateness.clear();
    nextSlot = 0;
    epoch.start();
    ArmFor(0);
}

void FrameClock::Stop()
{
    running = false;
    timer.stop();
}

std::vector<qint64> FrameClock::LatenessNs() const
{
    if (lateness.size() < KeptTicks)
        return lateness;
    std::vector<qint64> ordered(lateness.begin() + static_cast<std::ptrdiff_t>(nextSlot), lateness.end());
    ordered.insert(ordered.end(), lateness.begin(), lateness.begin() + static_cast<std::ptrdiff_t>(nextSlot));
    return ordered;
}

FrameClock::Deadline FrameClock::Next(qint64 intervalNs, qint64 nowNs, qint64 last)
{
    const qint64 interval = std::max<qint64>(1, intervalNs);
    qint64 frame = std::max<qint64>(0, last + 1);
    if (nowNs >= (frame + 1) * interval)
        frame = nowNs / interval;
    return Deadline{frame, frame * interval};
}

double FrameClock::Percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(samples.size()));
    return samples[static_cast<size_t>(std::max(1.0, rank)) - 1];
}

void FrameClock::onTimeout()
{
    if (!running)
        return;
    const qint64 now = epoch.nsecsElapsed();
    const Deadline due = Next(IntervalNs(), now, last);
    if (due.dueNs > now) {
        // Woken early: wait for the rest.
        ArmFor(due.dueNs);
        return;
    }
    missed += due.frame - last - 1;
    last = due.frame;
    if (lateness.size() < KeptTicks)
        lateness.push_back(now - due.dueNs);
    else
        lateness[nextSlot] = now - due.dueNs;
    nextSlot = (nextSlot + 1) % KeptTicks;
    emit Tick(due.frame, due.dueNs);
    // A slot may have stopped the clock or started it again.
    if (running && last == due.frame)
        ArmFor((due.frame + 1) * IntervalNs());
}

void FrameClock::ArmFor(qint64 dueNs)
{
    // Timers count whole milliseconds: round up, so the tick is never early.
    const qint64 waitNs = std::max<qint64>(0, dueNs - epoch.nsecsElapsed());
    timer.start(static_cast<int>((waitNs + 999999) / 1000000));
}
