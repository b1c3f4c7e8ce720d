#pragma once

#include <QStringList>

// What the simulated service wrote to its --journal: one call a line.
class SimulatorJournal
{
public:
    struct Call
    {
        QString op;
        QString key;
        QString document;
    };

    explicit SimulatorJournal(const QString& path) : path(path) {}

    // The --journal argument pair for the simulator.
    QStringList Arguments() const { return {QStringLiteral("--journal"), path}; }
    QList<Call> Calls() const;
    // The operation names, from call number first on.
    QStringList Ops(int first = 0) const;

private:
    QString path;
};
