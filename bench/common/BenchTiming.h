#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

// What the benchmarks share: the run count, the median of repeated runs, and
// one line per figure beside its baseline and the ratio between them.
namespace BenchTiming {

// The first argument, else the benchmark's own default.
inline int Runs(int argc, char** argv, int fallback) { return argc > 1 ? std::atoi(argv[1]) : fallback; }

// Ends a benchmark whose subject did not do what it measures.
inline int Fail(const char* what, const char* detail = "")
{
    std::fprintf(stderr, "%s%s\n", what, detail);
    return 1;
}

inline double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}

// The median time of one run of step in milliseconds, after three unmeasured runs.
inline double MedianMs(int runs, const std::function<void()>& step)
{
    for (int i = 0; i < 3; ++i)
        step();
    std::vector<double> samples;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        step();
        samples.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return Median(samples);
}

inline void Report(const char* name, double value, const char* unit, double baseline, const char* baselineName,
                   const char* goal)
{
    std::printf("%-34s %10.3f %s   baseline %10.3f %s (%s)   ratio %6.2f   goal %s\n", name, value, unit, baseline,
                unit, baselineName, baseline > 0 ? value / baseline : 0.0, goal);
    std::fflush(stdout);
}

} // namespace BenchTiming
