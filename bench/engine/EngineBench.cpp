// The effect engine's cost for the stock OpenRGB devices (two 8-LED memory
// modules, a 10-LED module and an 11-LED board in the group, and a keyboard
// of 100 keys), per effect, as a share of one core at 30 frames a second;
// then the frame clock's steadiness in a worker thread against a plain
// repeating timer, and the worker's CPU time while it renders every frame.

#include "bench/common/BenchTiming.h"
#include "simulator/engine/EffectEngine.h"
#include "simulator/engine/FrameClock.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <ctime>

namespace {

constexpr int Fps = 30;
constexpr int FramesPerRun = 300;

// One frame for the group and one for the keyboard, with both inputs given.
struct Stock
{
    EffectSettings devices[2];
    std::vector<EffectEngine::Rgb> frames[2];

    explicit Stock(int mode)
    {
        for (int d = 0; d < 2; ++d) {
            devices[d].mode = mode;
            devices[d].colorType = EffectSettings::ColorType::Gradient;
            devices[d].cycleStart = 0.1f;
            devices[d].cycleRange = 0.6f;
            for (int i = 0; i < (d == 0 ? 8 + 8 + 10 + 11 : 100); ++i)
                devices[d].leds.push_back({std::uint32_t(0x204080 + 0x030507 * i), {}, {}, {}, {}, {}});
        }
    }
    void Render(double seconds)
    {
        for (int d = 0; d < 2; ++d)
            EffectEngine::Render(devices[d], {seconds, 52.5f, 0.6f, 0}, frames[d]);
    }
    double MicrosecondsPerFrame(int runs)
    {
        return BenchTiming::MedianMs(runs, [this] {
            for (int f = 0; f < FramesPerRun; ++f)
                Render(12.0 + f / double(Fps));
        }) * 1000.0 / FramesPerRun;
    }
};

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

struct Steadiness
{
    double intervalP99Ms = 0; // |interval - 1/30 s|
    double latenessP99Ms = 0; // after the frame was due
    double cpuShare = 0;      // of the worker thread, in % of a core
    qint64 missed = 0;
    int ticks = 0;
};

// Runs a frame clock (or, for the baseline, a plain 33 ms QTimer) in a worker
// thread for the given time, rendering a comet for the stock devices on every tick.
Steadiness Measure(bool frameClock, int seconds)
{
    QThread worker;
    worker.start();
    QObject host;
    host.moveToThread(&worker);
    Steadiness result;
    std::vector<double> intervals, lateness;
    QElapsedTimer since;
    Stock stock(EffectSettings::Comet);
    double cpu = 0;
    qint64 previous = -1;
    FrameClock* clock = nullptr;
    const auto tick = [&] {
        const qint64 now = since.nsecsElapsed();
        if (previous >= 0)
            intervals.push_back(std::fabs((now - previous) / 1e6 - 1000.0 / Fps));
        previous = now;
        stock.Render(now / 1e9);
    };
    QMetaObject::invokeMethod(&host, [&] {
        cpu = ThreadCpuSeconds();
        since.start();
        if (frameClock) {
            clock = new FrameClock(&host);
            clock->SetFps(Fps);
            QObject::connect(clock, &FrameClock::Tick, &host, tick);
            clock->Start();
        } else {
            auto* timer = new QTimer(&host);
            QObject::connect(timer, &QTimer::timeout, &host, tick);
            timer->start(1000 / Fps);
        }
    }, Qt::BlockingQueuedConnection);
    QThread::sleep(static_cast<unsigned long>(seconds));
    QMetaObject::invokeMethod(&host, [&] {
        cpu = ThreadCpuSeconds() - cpu;
        if (clock) {
            clock->Stop();
            for (qint64 late : clock->LatenessNs())
                lateness.push_back(late / 1e6);
            result.missed = clock->MissedFrames();
        }
        qDeleteAll(host.children());
    }, Qt::BlockingQueuedConnection);
    worker.quit();
    worker.wait();
    result.ticks = static_cast<int>(intervals.size()) + 1;
    result.intervalP99Ms = FrameClock::Percentile(intervals, 99);
    result.latenessP99Ms = FrameClock::Percentile(lateness, 99);
    result.cpuShare = cpu / seconds * 100.0;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = BenchTiming::Runs(argc, argv, 30);
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

    const double staticUs = Stock(EffectSettings::Static).MicrosecondsPerFrame(runs);
    for (int mode : {1, 2, 3, 4, 5, 8, 10, 11, 12, 13, 17, 18, 19, 101}) {
        const double us = Stock(mode).MicrosecondsPerFrame(runs);
        const std::string name = "engine frame, effect " + std::to_string(mode);
        BenchTiming::Report(name.c_str(), us, "us", staticUs, "static effect", "(figure)");
        std::printf("%-34s %10.4f %% of one core at %d frames a second (goal for the whole engine: < 2 %%)\n", "",
                    us * Fps / 1e6 * 100.0, Fps);
    }

    const Steadiness plain = Measure(false, seconds);
    const Steadiness steady = Measure(true, seconds);
    BenchTiming::Report("frame interval jitter, p99", steady.intervalP99Ms, "ms", plain.intervalP99Ms,
                        "plain 33 ms QTimer", "< 5 ms");
    std::printf("%-34s %10.3f ms late at p99; %d ticks in %d s, %lld frames skipped\n", "frame clock", steady.latenessP99Ms,
                steady.ticks, seconds, static_cast<long long>(steady.missed));
    std::printf("%-34s %10.3f %% of one core (clock and comet frames; plain timer %.3f %%)\n", "worker thread CPU",
                steady.cpuShare, plain.cpuShare);
    return 0;
}
