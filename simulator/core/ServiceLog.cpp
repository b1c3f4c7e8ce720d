#include "simulator/core/ServiceLog.h"

#include <cstdio>

namespace {

QString& Program()
{
    static QString name = QStringLiteral("vornlight-service");
    return name;
}

} // namespace

namespace ServiceLog {

void SetProgram(const QString& name)
{
    Program() = name;
}

void Say(const QString& message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(Program()), qPrintable(message));
    std::fflush(stderr);
}

} // namespace ServiceLog
