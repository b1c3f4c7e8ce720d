#pragma once

#include "tests/simulator/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

// What the benchmarks that run the panel share: a scratch folder for the
// lock, the service's state and their files, the offscreen platform, no
// registry file, the simulated service from its defaults, and whole-process
// runs of built programs.
struct BenchSession
{
    // A program and the registry file it runs with (none when empty), with the
    // wall time from spawn to exit and the peak resident memory of its runs.
    struct Run
    {
        Run(std::string program, QString registry = {}) : program(std::move(program)), registry(std::move(registry)) {}
        std::string program;
        QString registry;
        std::vector<double> ms, peakMiB;
    };

    QTemporaryDir work;
    SimulatorProcess service{QStringList{"--state-dir", work.path() + "/state", "--reset"}};

    BenchSession()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_RUNTIME_DIR", work.path().toLocal8Bit());
        qputenv("VORNLIGHT_REGISTRY", File("none.reg").toLocal8Bit());
    }

    QString File(const QString& name) const { return work.filePath(name); }

    // Starts the service; says why not on stderr.
    bool Start()
    {
        if (service.Start())
            return true;
        std::fprintf(stderr, "the simulated service did not start: %s\n", qPrintable(service.ErrorOutput()));
        return false;
    }

    // Runs a and b in turn runs times each, so that both see the same machine,
    // after a first pair that warms the file cache and is not counted. False
    // unless every run ended with 0.
    bool Alternate(int runs, Run& a, Run& b) const
    {
        for (int i = 0; i <= runs; ++i) {
            for (Run* run : {&a, &b}) {
                qputenv("VORNLIGHT_REGISTRY", (run->registry.isEmpty() ? File("none.reg") : run->registry).toLocal8Bit());
                char* argv[] = {const_cast<char*>(run->program.c_str()), nullptr};
                QElapsedTimer clock;
                clock.start();
                pid_t pid = 0;
                int status = -1;
                struct rusage usage {};
                if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0
                    || wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    return false;
                if (i > 0) {
                    run->ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
                    run->peakMiB.push_back(static_cast<double>(usage.ru_maxrss) / 1024.0);
                }
            }
        }
        return true;
    }
};
