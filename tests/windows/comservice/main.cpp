// The lighting service as a COM local server, for running the panel on
// Windows (or under wine) without the vendor's service. Serves a fixed
// capability and status document and journals every call, as the D-Bus
// service does in its fixed-document mode. COM starts the registered server
// with -Embedding whenever a client creates the class; it serves what the
// registration named (options given on its command line take precedence),
// one object a process, and ends when that object is gone.
#include "ComMediatorFactory.h"
#include "ComServerRegistration.h"
#include "simulator/core/CallJournal.h"
#include "simulator/core/FixedDocumentService.h"
#include "simulator/core/ServiceLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <optional>
#include <string>

namespace {

const char* const Usage = "usage: vornlight-com-service /RegServer --capability FILE --status FILE "
                          "[--journal FILE] [--fail CODE] | /UnregServer";
// A server no client reaches in this time ends all the same.
constexpr int UnclaimedMs = 20000;

int Fail(const QString& message, int code)
{
    ServiceLog::Say(message);
    return code;
}

// The document in the file, every byte; none (said on stderr) when it cannot be read.
std::optional<std::string> Document(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll().toStdString();
    Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()), 2);
    return std::nullopt;
}

int Serve(const QMap<QString, QString>& settings, HRESULT failure)
{
    const std::optional<std::string> capability = Document(settings.value(QStringLiteral("capability")));
    const std::optional<std::string> status = Document(settings.value(QStringLiteral("status")));
    if (!capability || !status)
        return 2;
    FixedDocumentService service(*capability, *status);
    CallJournal journal;
    const QString journalPath = settings.value(QStringLiteral("journal"));
    QString error;
    if (!journalPath.isEmpty() && !journal.Open(journalPath, error))
        return Fail(QStringLiteral("cannot open the journal %1: %2").arg(journalPath, error), 2);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return Fail(QStringLiteral("cannot enter a single-threaded apartment"), 1);
    // The program carries the interface's type library, for late binding.
    wchar_t program[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
    ITypeLib* library = nullptr;
    ITypeInfo* typeInfo = nullptr;
    if (FAILED(LoadTypeLibEx(program, REGKIND_NONE, &library))
        || FAILED(library->GetTypeInfoOfGuid(IID_IServiceMediator, &typeInfo))) {
        if (library)
            library->Release();
        CoUninitialize();
        return Fail(QStringLiteral("the program carries no usable type library"), 1);
    }
    library->Release();
    auto* factory =
        new ComMediatorFactory({&service, &journal, typeInfo, failure}, [] { QCoreApplication::quit(); });
    DWORD cookie = 0;
    int code = 1;
    // One object per server: the next client gets a fresh process, so
    // nothing can reach a server that is about to end.
    if (SUCCEEDED(CoRegisterClassObject(CLSID_ServiceMediator, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE,
                                        &cookie))) {
        QTimer::singleShot(UnclaimedMs, QCoreApplication::instance(), &QCoreApplication::quit);
        code = QCoreApplication::exec();
        CoRevokeClassObject(cookie);
    } else {
        Fail(QStringLiteral("cannot offer the service's class"), 1);
    }
    // Objects a client still holds go with the apartment, before their class object.
    CoUninitialize();
    factory->Release();
    typeInfo->Release();
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ServiceLog::SetProgram(QStringLiteral("vornlight-com-service"));
    // COM's switches come as /Name or -Name, in any case; the options as --name VALUE.
    const QStringList options{"capability", "status", "journal", "fail"};
    const QStringList switches{"regserver", "unregserver", "embedding"};
    QMap<QString, QString> given;
    QStringList chosen;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const QString option = argument.mid(2);
        if (argument.startsWith(QLatin1String("--")) && options.contains(option) && i + 1 < arguments.size())
            // Full paths: COM starts the server in a folder of its choosing.
            given.insert(option, option == QLatin1String("fail")
                                     ? arguments.at(++i)
                                     : QDir::toNativeSeparators(QFileInfo(arguments.at(++i)).absoluteFilePath()));
        else if ((argument.startsWith('/') || argument.startsWith('-')) && switches.contains(argument.mid(1).toLower()))
            chosen << argument.mid(1).toLower();
        else
            return Fail(QString::fromLatin1(Usage), 2);
    }
    if (chosen.contains(QLatin1String("unregserver")))
        return ComServerRegistration::Unregister() ? 0 : 1;

    // The serving options: those of the command line, else those registered.
    const bool registering = chosen.contains(QLatin1String("regserver"));
    QMap<QString, QString> settings = registering ? QMap<QString, QString>() : ComServerRegistration::Stored(options);
    settings.insert(given);
    if (!settings.contains(QStringLiteral("capability")) || !settings.contains(QStringLiteral("status")))
        return Fail(QStringLiteral("no capability and status document to serve; %1").arg(Usage), 2);
    bool ok = true;
    const HRESULT failure = static_cast<HRESULT>(settings.value(QStringLiteral("fail"), "0").toUInt(&ok, 0));
    if (!ok || (settings.contains(QStringLiteral("fail")) && !FAILED(failure)))
        return Fail(QStringLiteral("--fail needs a failure code, not %1").arg(settings.value("fail")), 2);
    if (registering)
        return ComServerRegistration::Register(settings) ? 0 : 1;
    return Serve(settings, failure);
}
