#pragma once

#include <QElapsedTimer>

#include <sys/resource.h>
#include <sys/wait.h>
#include <spawn.h>

#include <string>
#include <vector>

extern char** environ;

// Whole-process runs of a built program: wall time from spawn to exit and
// peak resident memory.
namespace BenchProcess {

struct Samples
{
    std::vector<double> ms, peakMiB;
};

// Adds the wall time and peak resident memory of one run of program (in the
// benchmark's environment); false unless it ended with 0.
inline bool RunOnce(const std::string& program, Samples& samples)
{
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    int status = -1;
    struct rusage usage {};
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0 || wait4(pid, &status, 0, &usage) < 0)
        return false;
    samples.ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    samples.peakMiB.push_back(static_cast<double>(usage.ru_maxrss) / 1024.0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace BenchProcess
