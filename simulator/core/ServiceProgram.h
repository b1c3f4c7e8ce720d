#pragma once

#include "simulator/core/RigStateStore.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <functional>
#include <memory>

class Rig;

// The start-up every program of the lighting service shares: its options
// (fixed documents, journal, state folder, reset, and the rig's own), the
// journal, the object and then the bus name, the saved state settled only by
// the owner of the name while a request to end waits, and the end with the
// session bus.
class ServiceProgram
{
public:
    // Makes the rig from the options; null with the reason in error when they
    // do not fit (the program then ends with 2). It is made before the service
    // owns its bus name, so it must leave the hardware alone until Rig::Begin.
    using RigFactory = std::function<std::unique_ptr<Rig>(const QCommandLineParser& options, QString& error)>;

    // name is the program's, for --help and the messages on stderr.
    ServiceProgram(int& argc, char** argv, const QString& name, const QString& description);

    // An option of the rig's own; rig options do not go with fixed documents.
    void AddRigOption(const QCommandLineOption& option);
    // The name of the rig's state file in its state folder (rig-state.xml
    // unless set).
    void SetStateFile(const QString& fileName) { stateFile = fileName; }

    // Parses the options and serves until the session ends; the exit code.
    int Run(const RigFactory& makeRig);

private:
    QCoreApplication app;
    QCommandLineParser parser;
    QStringList rigOptions; // each option's first name
    QString stateFile = QString::fromLatin1(RigStateStore::DefaultFileName);
};
