// The lighting service as a COM local server, for running the panel on
// Windows (or under wine) without the vendor's service. Serves a fixed
// capability and status document and journals every call, as the D-Bus
// service does in its fixed-document mode:
//
//   vornlight-com-service /RegServer --capability FILE --status FILE
//                         [--journal FILE] [--fail CODE]
//   vornlight-com-service /UnregServer
//
// COM starts the registered server with /Embedding whenever a client creates
// the class; it serves what the registration named (options given on its
// command line take precedence), one object a process, and ends when that
// object is gone.
#include "ComMediatorFactory.h"
#include "ComServerRegistration.h"
#include "simulator/core/CallJournal.h"
#include "simulator/core/FixedDocumentService.h"
#include "simulator/core/ServiceLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <string>

namespace {

// A server no client reaches in this time ends all the same.
constexpr int UnclaimedMs = 20000;

void Fail(const QString& message)
{
    std::fprintf(stderr, "vornlight-com-service: %s\n", qPrintable(message));
}

// The document in the file, every byte; none (said on stderr) when it cannot be read.
std::optional<std::string> Document(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll().toStdString();
    Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return std::nullopt;
}

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return path;
}

// COM's switches come as /Name or -Name, in any case; the parser takes -Name.
QStringList Normalised(QStringList arguments)
{
    for (QString& argument : arguments) {
        for (const char* name : {"RegServer", "UnregServer", "Embedding"}) {
            if (argument.compare(QLatin1Char('/') + QLatin1String(name), Qt::CaseInsensitive) == 0
                || argument.compare(QLatin1Char('-') + QLatin1String(name), Qt::CaseInsensitive) == 0)
                argument = QLatin1Char('-') + QLatin1String(name);
        }
    }
    return arguments;
}

int Serve(const std::string& capability, const std::string& status, const QString& journalPath, HRESULT failure)
{
    FixedDocumentService service(capability, status);
    CallJournal journal;
    QString error;
    if (!journalPath.isEmpty() && !journal.Open(journalPath, error)) {
        Fail(QStringLiteral("cannot open the journal %1: %2").arg(journalPath, error));
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        Fail(QStringLiteral("cannot enter a single-threaded apartment"));
        return 1;
    }
    int code = 1;
    ITypeLib* library = nullptr;
    ITypeInfo* typeInfo = nullptr;
    if (SUCCEEDED(LoadTypeLibEx(ProgramPath().c_str(), REGKIND_NONE, &library))
        && SUCCEEDED(library->GetTypeInfoOfGuid(IID_IServiceMediator, &typeInfo))) {
        ComMediator::Backing backing;
        backing.service = &service;
        backing.journal = journal.IsOpen() ? &journal : nullptr;
        backing.typeInfo = typeInfo;
        backing.failure = failure;
        auto* factory = new ComMediatorFactory(backing, [] { QCoreApplication::quit(); });
        DWORD cookie = 0;
        // One object per server: the next client gets a fresh process, so
        // nothing can reach a server that is about to end.
        if (SUCCEEDED(CoRegisterClassObject(CLSID_ServiceMediator, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE,
                                            &cookie))) {
            QTimer::singleShot(UnclaimedMs, QCoreApplication::instance(), &QCoreApplication::quit);
            code = QCoreApplication::exec();
            CoRevokeClassObject(cookie);
        } else {
            Fail(QStringLiteral("cannot offer the service's class"));
        }
        // Objects a client still holds go with the apartment, before their class object.
        CoUninitialize();
        factory->Release();
        typeInfo->Release();
        library->Release();
        return code;
    }
    Fail(QStringLiteral("the program carries no usable type library"));
    if (library)
        library->Release();
    CoUninitialize();
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ServiceLog::SetProgram(QStringLiteral("vornlight-com-service"));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption regServer(QStringLiteral("RegServer"),
                                       QStringLiteral("Register the server, keeping the serving options given."));
    const QCommandLineOption unregServer(QStringLiteral("UnregServer"), QStringLiteral("Remove the registration."));
    const QCommandLineOption embedding(QStringLiteral("Embedding"), QStringLiteral("Started by COM: serve."));
    const QList<QCommandLineOption> serving{
        {QStringLiteral("capability"), QStringLiteral("Serve the capability document in FILE."), QStringLiteral("FILE")},
        {QStringLiteral("status"), QStringLiteral("Serve the status document in FILE."), QStringLiteral("FILE")},
        {QStringLiteral("journal"), QStringLiteral("Append one JSON object per line to FILE for every call."),
         QStringLiteral("FILE")},
        {QStringLiteral("fail"), QStringLiteral("Answer every call with the failure CODE (0x80004005)."),
         QStringLiteral("CODE")},
    };
    parser.addOptions({regServer, unregServer, embedding});
    parser.addOptions(serving);
    parser.process(Normalised(QCoreApplication::arguments()));

    std::string error;
    if (parser.isSet(unregServer)) {
        if (ComServerRegistration::Unregister(ProgramPath(), error))
            return 0;
        Fail(QString::fromStdString(error));
        return 1;
    }

    // The serving options: those of the command line, else those registered.
    QMap<QString, QString> settings;
    if (!parser.isSet(regServer))
        for (const auto& setting : ComServerRegistration::Stored())
            settings.insert(QString::fromStdWString(setting.first), QString::fromStdWString(setting.second));
    for (const QCommandLineOption& option : serving)
        if (parser.isSet(option))
            settings.insert(option.names().constFirst(), parser.value(option));
    if (!settings.contains(QStringLiteral("capability")) || !settings.contains(QStringLiteral("status"))) {
        Fail(QStringLiteral("no capability and status document to serve (see --help)"));
        return 2;
    }
    HRESULT failure = S_OK;
    if (settings.contains(QStringLiteral("fail"))) {
        bool ok = false;
        failure = static_cast<HRESULT>(settings.value(QStringLiteral("fail")).toUInt(&ok, 0));
        if (!ok || !FAILED(failure)) {
            Fail(QStringLiteral("--fail needs a failure code, not %1").arg(settings.value(QStringLiteral("fail"))));
            return 2;
        }
    }

    if (parser.isSet(regServer)) {
        // Full paths: COM starts the server in a folder of its choosing.
        ComServerRegistration::Settings kept;
        for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
            const QString value = it.key() == QLatin1String("fail")
                ? it.value()
                : QDir::toNativeSeparators(QFileInfo(it.value()).absoluteFilePath());
            kept.emplace_back(it.key().toStdWString(), value.toStdWString());
        }
        if (ComServerRegistration::Register(ProgramPath(), kept, error))
            return 0;
        Fail(QString::fromStdString(error));
        return 1;
    }

    const std::optional<std::string> capability = Document(settings.value(QStringLiteral("capability")));
    const std::optional<std::string> status = Document(settings.value(QStringLiteral("status")));
    if (!capability || !status)
        return 2;
    return Serve(*capability, *status, settings.value(QStringLiteral("journal")), failure);
}
