#pragma once

#include <QMap>
#include <QString>

// Registers this program as the local server of the lighting service's class,
// found by its ProgID, and its type library, which marshals the interface.
// What the server is to serve (the options by name) is kept beside the class,
// since COM starts the server with no arguments of ours (and reads at most
// MAX_PATH characters of its command line). Register and Unregister say what
// the registry or the type library refused.
namespace ComServerRegistration {

bool Register(const QMap<QString, QString>& settings);
// Removes whatever Register wrote; what is absent already is no error.
bool Unregister();
// The settings of the names given that the last registration kept.
QMap<QString, QString> Stored(const QStringList& names);

} // namespace ComServerRegistration
