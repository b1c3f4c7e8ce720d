#include "SimulatorJournal.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

QList<SimulatorJournal::Call> SimulatorJournal::Calls() const
{
    QList<Call> calls;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        calls.push_back({o.value(QStringLiteral("op")).toString(), o.value(QStringLiteral("key")).toString(),
                         o.value(QStringLiteral("document")).toString()});
    }
    return calls;
}

QStringList SimulatorJournal::Ops(int first) const
{
    QStringList ops;
    const QList<Call> calls = Calls();
    for (int i = first; i < calls.size(); ++i)
        ops << calls[i].op;
    return ops;
}
