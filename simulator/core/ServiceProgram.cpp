#include "simulator/core/ServiceProgram.h"

#include "simulator/core/CallJournal.h"
#include "simulator/core/FixedDocumentService.h"
#include "simulator/core/Rig.h"
#include "simulator/core/RigService.h"
#include "simulator/core/RigStateStore.h"
#include "simulator/core/ServiceLog.h"
#include "simulator/core/ServiceMediator.h"

#include <QDBusConnection>
#include <QFile>

#include <atomic>
#include <csignal>

namespace {

using ServiceLog::Say;

const int EndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// While the saved state is settled a request to end waits for it, so that a
// --reset is never lost half-way; settling never blocks. At any other moment
// it ends the process at once, as it would without a handler.
std::atomic<bool> settling{false};
std::atomic<int> pendingEnd{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

void EndNow(int signal)
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
    raise(signal);
}

void OnEndSignal(int signal)
{
    if (settling.load())
        pendingEnd.store(signal);
    else
        EndNow(signal);
}

class SettlingState
{
public:
    SettlingState() { settling.store(true); }
    ~SettlingState()
    {
        settling.store(false);
        if (const int signal = pendingEnd.exchange(0))
            EndNow(signal);
    }
};

void InstallSignalHandlers()
{
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : EndSignals)
        sigaction(signal, &action, nullptr);
    // A file-size limit makes a save fail with its reason instead of ending us.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool ReadWhole(const QString& path, std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Say(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

// Handlers first: the application object may start threads.
int& WithSignalHandlers(int& argc)
{
    InstallSignalHandlers();
    return argc;
}

} // namespace

ServiceProgram::ServiceProgram(int& argc, char** argv, const QString& name, const QString& description)
    : app(WithSignalHandlers(argc), argv)
{
    QCoreApplication::setApplicationName(name);
    ServiceLog::SetProgram(name);
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addOption({QStringLiteral("capability"),
                      QStringLiteral("Serve the capability document in FILE unchanged (needs --status)."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("status"),
                      QStringLiteral("Serve the status document in FILE unchanged (needs --capability). Profiles are "
                                     "checked and journaled but not applied."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("journal"),
                      QStringLiteral("Append one JSON object per line to FILE for every call received: "
                                     "{\"op\":\"SetProfile\",\"key\":\"...\",\"document\":\"...\"}."),
                      QStringLiteral("FILE")});
    AddRigOption({QStringLiteral("state-dir"),
                  QStringLiteral("Keep the rig's state in DIR instead of $XDG_STATE_HOME/vornlight "
                                 "(~/.local/state/vornlight)."),
                  QStringLiteral("DIR")});
    AddRigOption({QStringLiteral("reset"),
                  QStringLiteral("Start the rig from its defaults, replacing the saved state.")});
}

void ServiceProgram::AddRigOption(const QCommandLineOption& option)
{
    parser.addOption(option);
    rigOptions << option.names().first();
}

int ServiceProgram::Run(const RigFactory& makeRig)
{
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        Say(QStringLiteral("unexpected argument %1 (see --help)").arg(parser.positionalArguments().first()));
        return 2;
    }
    const bool fixed = parser.isSet(QStringLiteral("capability"));
    if (fixed != parser.isSet(QStringLiteral("status"))) {
        Say(QStringLiteral("--capability and --status go together"));
        return 2;
    }
    if (fixed) {
        QStringList given;
        for (const QString& option : rigOptions) {
            if (parser.isSet(option))
                given << QStringLiteral("--") + option;
        }
        if (!given.isEmpty()) {
            Say(QStringLiteral("the rig's options (%1) do not go with fixed documents")
                    .arg(given.join(QStringLiteral(", "))));
            return 2;
        }
    }

    // Declared in this order so that the service goes before its rig and store.
    std::unique_ptr<Rig> rig;
    std::unique_ptr<RigStateStore> store;
    std::unique_ptr<LightingService> service;
    RigService* rigService = nullptr;
    if (fixed) {
        std::string capability;
        std::string status;
        if (!ReadWhole(parser.value(QStringLiteral("capability")), capability)
            || !ReadWhole(parser.value(QStringLiteral("status")), status))
            return 2;
        service = std::make_unique<FixedDocumentService>(capability, status);
    } else {
        QString error;
        rig = makeRig(parser, error);
        if (!rig) {
            Say(error);
            return 2;
        }
        const QString stateDir = parser.value(QStringLiteral("state-dir"));
        store = std::make_unique<RigStateStore>(stateDir.isEmpty() ? RigStateStore::DefaultDirectory() : stateDir,
                                                stateFile);
        auto served = std::make_unique<RigService>(*rig, store.get());
        rigService = served.get();
        service = std::move(served);
    }

    CallJournal journal;
    if (parser.isSet(QStringLiteral("journal"))) {
        QString error;
        const QString path = parser.value(QStringLiteral("journal"));
        if (!journal.Open(path, error)) {
            Say(QStringLiteral("cannot open the journal %1: %2").arg(path, error));
            return 2;
        }
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Say(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
        return 1;
    }
    ServiceMediator mediator(*service, journal.IsOpen() ? &journal : nullptr);
    if (!bus.registerObject(QString::fromLatin1(ServiceMediator::ObjectPath), &mediator,
                            QDBusConnection::ExportAllSlots)) {
        Say(QStringLiteral("cannot register %1 on the session bus").arg(ServiceMediator::ObjectPath));
        return 1;
    }
    // Registered last, so whoever sees the name owned finds the object ready.
    if (!bus.registerService(QString::fromLatin1(ServiceMediator::ServiceName))) {
        Say(QStringLiteral("the bus name %1 is already taken").arg(ServiceMediator::ServiceName));
        return 1;
    }
    // Only the owner of the name touches the saved state: a second instance
    // started with --reset must not wipe the state of the one running. Calls
    // that arrive meanwhile wait for the event loop.
    if (rigService) {
        const SettlingState settle;
        QString error;
        if (!rigService->Start(parser.isSet(QStringLiteral("reset")), error)) {
            Say(error);
            return 1;
        }
    }
    // A session service ends with its session: when the bus goes away there
    // is nobody left to serve.
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"), QStringLiteral("org.freedesktop.DBus.Local"),
                QStringLiteral("Disconnected"), &app, SLOT(quit()));
    return app.exec();
}
