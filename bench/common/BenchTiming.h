#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Timing for the benchmarks: the median of repeated runs, in milliseconds,
// and one line per figure with its baseline and the ratio between them.
namespace BenchTiming {

inline double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}

// Runs step `runs` times (after `warmup` unmeasured runs) and returns the
// median time of one run in milliseconds.
inline double MedianMs(int runs, const std::function<void()>& step, int warmup = 3)
{
    for (int i = 0; i < warmup; ++i)
        step();
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(runs));
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        step();
        samples.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return Median(samples);
}

// "name: 1.234 ms  (baseline 0.500 ms: what it is; ratio 2.47, goal <= 20)".
inline void Report(const char* name, double value, const char* unit, double baseline, const char* baselineName,
                   const char* goal)
{
    std::printf("%-34s %10.3f %s   baseline %10.3f %s (%s)   ratio %6.2f   goal %s\n", name, value, unit, baseline,
                unit, baselineName, baseline > 0 ? value / baseline : 0.0, goal);
    std::fflush(stdout);
}

} // namespace BenchTiming
