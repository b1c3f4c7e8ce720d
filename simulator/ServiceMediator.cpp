#include "simulator/ServiceMediator.h"

#include "simulator/CallJournal.h"
#include "simulator/LightingService.h"

#include <QDBusError>
#include <QDBusMessage>

namespace {

std::string Narrow(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text)
        out += static_cast<char>(c.unicode() & 0xff);
    return out;
}

QString Widen(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

} // namespace

const char* const ServiceMediator::ServiceName = "OvTarskLumetService.ServiceMediator";
const char* const ServiceMediator::ObjectPath = "/ServiceMediator";
const char* const ServiceMediator::InvalidProfileError = "org.freedesktop.DBus.Error.InvalidArgs";
const char* const ServiceMediator::NotSupportedError = "org.freedesktop.DBus.Error.NotSupported";

ServiceMediator::ServiceMediator(LightingService& service, CallJournal* journal, QObject* parent)
    : QObject(parent), service(service), journal(journal)
{
}

void ServiceMediator::SetProfile(const QString& key, const QString& document)
{
    if (journal)
        journal->Record("SetProfile", &key, &document);
    std::string fault;
    switch (service.SetProfile(Narrow(key), Narrow(document), fault)) {
    case LightingService::Outcome::Applied:
        break;
    case LightingService::Outcome::Refused:
        sendErrorReply(QString::fromLatin1(InvalidProfileError), Widen(fault));
        break;
    case LightingService::Outcome::Failed:
        sendErrorReply(QDBusError::Failed, Widen(fault));
        break;
    }
}

QString ServiceMediator::Exchange(const QString& document)
{
    if (journal)
        journal->Record("Exchange", nullptr, &document);
    sendErrorReply(QString::fromLatin1(NotSupportedError),
                   QStringLiteral("Exchange is not supported by this lighting service"));
    return QString();
}

QString ServiceMediator::GetStatus()
{
    if (journal)
        journal->Record("GetStatus");
    return Widen(service.GetStatus());
}

QString ServiceMediator::GetCapability()
{
    if (journal)
        journal->Record("GetCapability");
    return Widen(service.GetCapability());
}
