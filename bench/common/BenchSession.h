#pragma once

#include "tests/simulator/SimulatorProcess.h"

#include <QTemporaryDir>

#include <cstdio>

// What the benchmarks that run the panel share: a scratch folder for the
// lock, the service's state and any files they write, the offscreen
// platform, no registry file, and the simulated service from its defaults.
struct BenchSession
{
    QTemporaryDir work;
    SimulatorProcess service{QStringList{"--state-dir", work.path() + "/state", "--reset"}};

    BenchSession()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_RUNTIME_DIR", work.path().toLocal8Bit());
        qputenv("VORNLIGHT_REGISTRY", File(QStringLiteral("none.reg")).toLocal8Bit());
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
};
