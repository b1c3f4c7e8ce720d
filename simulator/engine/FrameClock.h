#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <vector>

// A steady frame rate: frame n is due n frame intervals after Start, so late
// ticks never push the later ones back and the rate does not drift. A tick
// that comes more than a whole interval late skips the frames it missed
// instead of sending them in a burst. The clock is an ordinary QObject: it
// ticks in the thread it lives in, so a rig moves it (or creates it) in its
// worker thread and connects Tick there.
class FrameClock : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultFps = 30;
    static constexpr int MinFps = 1;
    static constexpr int MaxFps = 240;
    // How many of the latest ticks' lateness the clock keeps.
    static constexpr size_t KeptTicks = 4096;

    struct Deadline
    {
        qint64 frame = 0;
        qint64 dueNs = 0; // since Start
    };

    explicit FrameClock(QObject* parent = nullptr);

    // Limited to MinFps .. MaxFps; a running clock starts again at frame 0.
    void SetFps(int fps);
    int Fps() const { return fps; }
    qint64 IntervalNs() const;

    // The first tick comes at once; Stop ends the ticks.
    void Start();
    void Stop();
    bool IsRunning() const { return running; }

    // Frames skipped because a tick came more than an interval late.
    qint64 MissedFrames() const { return missed; }
    // How late each of the latest ticks came after its frame was due, in
    // nanoseconds, oldest first.
    std::vector<qint64> LatenessNs() const;

    // The frame to show at nowNs after frame last was shown: the next one,
    // or the latest one due when the next one's successor is due too; its
    // due time lies after nowNs when it is not due yet.
    static Deadline Next(qint64 intervalNs, qint64 nowNs, qint64 last);
    // The p-th percentile (0..100) of the samples, nearest rank; 0 for none.
    static double Percentile(std::vector<double> samples, double p);

signals:
    // Frame number frame is due; dueNs is its due time since Start (use it,
    // not the time of the tick, for a smooth animation).
    void Tick(qint64 frame, qint64 dueNs);

private:
    void onTimeout();
    void ArmFor(qint64 dueNs);

    int fps = DefaultFps;
    bool running = false;
    qint64 last = -1;
    qint64 missed = 0;
    QElapsedTimer epoch;
    QTimer timer;
    std::vector<qint64> lateness;
    size_t nextSlot = 0;
};
