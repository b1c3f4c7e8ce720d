// Start-up and peak memory of the real panel against the minimal window
// program. Each program is started with the offscreen platform and ends as
// soon as its event loop runs (VORNLIGHT_QUIT_AFTER_MS=0): for the panel
// that is after the capability and status were loaded from the simulated
// service and the window with the current effect's view was shown.

#include "bench/common/BenchTiming.h"
#include "tests/simulator/SimulatorProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run
{
    double ms = 0;
    double peakMiB = 0;
    int status = -1;
};

// One run of program to its end: wall time and peak resident memory.
Run RunOnce(const std::string& program)
{
    Run run;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return run;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;

    QTemporaryDir work;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VORNLIGHT_QUIT_AFTER_MS", "0");
    qputenv("XDG_RUNTIME_DIR", work.path().toLocal8Bit());
    qputenv("VORNLIGHT_REGISTRY", (work.path() + QStringLiteral("/none.reg")).toLocal8Bit());

    SimulatorProcess service({QStringLiteral("--state-dir"), work.path() + QStringLiteral("/state"),
                              QStringLiteral("--reset")});
    if (!service.Start()) {
        std::fprintf(stderr, "the simulated service did not start: %s\n", qPrintable(service.ErrorOutput()));
        return 1;
    }

    const std::string panel = LUMET_BIN_DIR "/vornlight";
    const std::string minimal = LUMET_BIN_DIR "/bench_minimal_window";
    // Warm the file cache, then alternate the two so both see the same machine.
    RunOnce(panel);
    RunOnce(minimal);
    std::vector<double> panelMs, minimalMs, panelMiB, minimalMiB;
    for (int i = 0; i < runs; ++i) {
        const Run p = RunOnce(panel);
        const Run m = RunOnce(minimal);
        if (p.status != 0 || m.status != 0) {
            std::fprintf(stderr, "a run failed: panel %d, minimal window %d\n", p.status, m.status);
            return 1;
        }
        panelMs.push_back(p.ms);
        minimalMs.push_back(m.ms);
        panelMiB.push_back(p.peakMiB);
        minimalMiB.push_back(m.peakMiB);
    }
    using namespace BenchTiming;
    Report("start-up to first status shown", Median(panelMs), "ms", Median(minimalMs), "minimal window",
           "<= 1.5");
    Report("peak memory", Median(panelMiB), "MiB", Median(minimalMiB), "minimal window", "<= 1.3");
    return 0;
}
