#include "service/linux/DBusServiceBackend.h"
#include "service/ServiceClient.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <algorithm>

namespace {

QString ToQString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// A D-Bus string ends at its first NUL: such a text would arrive cut short,
// so it is not sent at all.
bool Sendable(const std::u16string& text)
{
    return std::find(text.begin(), text.end(), u'\0') == text.end();
}

} // namespace

DBusServiceBackend::DBusServiceBackend(int timeoutMs) : timeoutMs(timeoutMs) {}

void DBusServiceBackend::SetProfile(const std::u16string& target, const std::u16string& document)
{
    if (Sendable(target) && Sendable(document))
        Call("SetProfile", {ToQString(target), ToQString(document)});
}

std::u16string DBusServiceBackend::Exchange(const std::u16string& document)
{
    if (!Sendable(document))
        return std::u16string();
    return Call("Exchange", {ToQString(document)}).toStdU16String();
}

std::u16string DBusServiceBackend::GetStatus()
{
    return Call("GetStatus", {}).toStdU16String();
}

std::u16string DBusServiceBackend::GetCapability()
{
    return Call("GetCapability", {}).toStdU16String();
}

QString DBusServiceBackend::Call(const char* method, const QVariantList& arguments)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QString();
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(ServiceName), QLatin1String(ObjectPath),
                                                          QLatin1String(InterfaceName), QLatin1String(method));
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QString();
    const QVariantList results = reply.arguments();
    if (results.isEmpty() || results.constFirst().type() != QVariant::String)
        return QString();
    return results.constFirst().toString();
}

std::unique_ptr<ServiceBackend> CreatePlatformServiceBackend()
{
    return std::make_unique<DBusServiceBackend>();
}
