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

// Keys and documents are 7-bit text. Anything else is refused before it is
// narrowed, which would take U+0147 for "G" and make "\u0147roup" the group.
QString NotSevenBit(const char* what, const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() > 0x7f)
            return QStringLiteral("%1 is not 7-bit text (U+%2 at position %3)")
                .arg(QLatin1String(what))
                .arg(text.at(i).unicode(), 4, 16, QLatin1Char('0'))
                .arg(i);
    }
    return QString();
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
    QString wrong = NotSevenBit("the target key", key);
    if (wrong.isEmpty())
        wrong = NotSevenBit("the profile document", document);
    if (!wrong.isEmpty()) {
        sendErrorReply(QString::fromLatin1(InvalidProfileError), wrong);
        return;
    }
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
