#pragma once

#include <QString>

// What the service says on stderr, one line a message, after its program's name.
namespace ServiceLog {

void SetProgram(const QString& name);
void Say(const QString& message);

} // namespace ServiceLog
