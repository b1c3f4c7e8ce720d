#include "SimulatorJournal.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

QList<SimulatorJournal::Call> SimulatorJournal::Calls() const
{
    QList<Call> calls;
    QFile file(path);
    file.open(QIODevice::ReadOnly); // none yet: no calls
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        calls.push_back({o.value("op").toString(), o.value("key").toString(), o.value("document").toString()});
    }
    return calls;
}

QStringList SimulatorJournal::Ops(int first) const
{
    QStringList ops;
    for (const Call& call : Calls().mid(first))
        ops << call.op;
    return ops;
}
