#include "simulator/core/ServiceMediator.h"

#include "simulator/core/CallJournal.h"
#include "simulator/core/LightingService.h"
#include "service/ServiceText.h"

#include <QDBusError>
#include <QDBusMessage>

namespace {

// The panel's own conversions, so both ends agree on every byte.
std::string Narrow(const QString& text)
{
    return ServiceText::Narrow(text.toStdU16String());
}

QString Widen(const std::string& text)
{
    return QString::fromStdU16String(ServiceText::Widen(text));
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
