#include "simulator/core/CallJournal.h"
#include "simulator/core/FixedDocumentService.h"
#include "simulator/core/RigStateStore.h"
#include "simulator/core/ServiceMediator.h"
#include "simulator/virtual/VirtualRig.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>

#include <cstdio>
#include <memory>

#include <pthread.h>
#include <csignal>

namespace {

void Fail(const QString& message)
{
    std::fprintf(stderr, "vornlight-service-sim: %s\n", qPrintable(message));
}

bool ReadWhole(const QString& path, std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Until the saved state is settled, a request to end waits: a caller who
    // sees the bus name owned may stop us at once, and a --reset must not be
    // lost half-way. Blocked before any thread starts, so that every thread
    // the bus library makes keeps it blocked and only this one takes it later.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vornlight-service-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The lighting service of Vornlight on the D-Bus session bus (name and interface "
        "OvTarskLumetService.ServiceMediator, object /ServiceMediator). Without --capability and "
        "--status it drives a virtual rig whose state is kept across restarts."));
    parser.addHelpOption();
    const QCommandLineOption capabilityOption(QStringLiteral("capability"),
        QStringLiteral("Serve the capability document in FILE unchanged (needs --status)."), QStringLiteral("FILE"));
    const QCommandLineOption statusOption(QStringLiteral("status"),
        QStringLiteral("Serve the status document in FILE unchanged (needs --capability). Profiles are "
                       "checked and journaled but not applied."), QStringLiteral("FILE"));
    const QCommandLineOption journalOption(QStringLiteral("journal"),
        QStringLiteral("Append one JSON object per line to FILE for every call received: "
                       "{\"op\":\"SetProfile\",\"key\":\"...\",\"document\":\"...\"}."), QStringLiteral("FILE"));
    const QCommandLineOption stateDirOption(QStringLiteral("state-dir"),
        QStringLiteral("Keep the virtual rig's state in DIR instead of $XDG_STATE_HOME/vornlight "
                       "(~/.local/state/vornlight)."), QStringLiteral("DIR"));
    const QCommandLineOption resetOption(QStringLiteral("reset"),
        QStringLiteral("Start the virtual rig from its defaults, replacing the saved state."));
    parser.addOption(capabilityOption);
    parser.addOption(statusOption);
    parser.addOption(journalOption);
    parser.addOption(stateDirOption);
    parser.addOption(resetOption);
    parser.process(app);

    if (!parser.positionalArguments().isEmpty()) {
        Fail(QStringLiteral("unexpected argument %1 (see --help)").arg(parser.positionalArguments().first()));
        return 2;
    }
    if (parser.isSet(capabilityOption) != parser.isSet(statusOption)) {
        Fail(QStringLiteral("--capability and --status go together"));
        return 2;
    }

    const bool fixed = parser.isSet(capabilityOption);
    if (fixed && (parser.isSet(stateDirOption) || parser.isSet(resetOption))) {
        Fail(QStringLiteral("--state-dir and --reset apply to the virtual rig, not to fixed documents"));
        return 2;
    }

    std::unique_ptr<LightingService> service;
    std::unique_ptr<RigStateStore> store;
    VirtualRig* rig = nullptr;
    if (fixed) {
        std::string capability;
        std::string status;
        if (!ReadWhole(parser.value(capabilityOption), capability) || !ReadWhole(parser.value(statusOption), status))
            return 2;
        service = std::make_unique<FixedDocumentService>(capability, status);
    } else {
        store = std::make_unique<RigStateStore>(parser.isSet(stateDirOption) ? parser.value(stateDirOption)
                                                                             : RigStateStore::DefaultDirectory());
        auto virtualRig = std::make_unique<VirtualRig>(RigLayout::Default(), store.get());
        rig = virtualRig.get();
        service = std::move(virtualRig);
    }

    CallJournal journal;
    if (parser.isSet(journalOption)) {
        QString error;
        if (!journal.Open(parser.value(journalOption), error)) {
            Fail(QStringLiteral("cannot open the journal %1: %2").arg(parser.value(journalOption), error));
            return 2;
        }
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Fail(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
        return 1;
    }
    ServiceMediator mediator(*service, journal.IsOpen() ? &journal : nullptr);
    if (!bus.registerObject(QString::fromLatin1(ServiceMediator::ObjectPath), &mediator,
                            QDBusConnection::ExportAllSlots)) {
        Fail(QStringLiteral("cannot register %1 on the session bus").arg(ServiceMediator::ObjectPath));
        return 1;
    }
    // Registered last, so whoever sees the name owned finds the object ready.
    if (!bus.registerService(QString::fromLatin1(ServiceMediator::ServiceName))) {
        Fail(QStringLiteral("the bus name %1 is already taken").arg(ServiceMediator::ServiceName));
        return 1;
    }
    // Only the owner of the name touches the saved state: a second instance
    // started with --reset must not wipe the state of the one running. Calls
    // that arrive meanwhile wait for the event loop.
    if (rig) {
        QString error;
        if (!rig->Start(parser.isSet(resetOption), error)) {
            Fail(error);
            return 1;
        }
    }
    pthread_sigmask(SIG_UNBLOCK, &endSignals, nullptr);
    // A session service ends with its session: when the bus goes away there
    // is nobody left to serve.
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"), QStringLiteral("org.freedesktop.DBus.Local"),
                QStringLiteral("Disconnected"), &app, SLOT(quit()));
    return app.exec();
}
