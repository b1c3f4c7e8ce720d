#pragma once

#include "service/ServiceBackend.h"

#include <QString>
#include <QVariantList>

// The lighting service on the session bus. Every operation is one method
// call built afresh (no introspection, which would block on a frozen service)
// and bounded by a timeout, so a hung service cannot freeze the panel for
// ever. Any error gives an empty result.
class DBusServiceBackend : public ServiceBackend
{
public:
    static constexpr const char* ServiceName = "OvTarskLumetService.ServiceMediator";
    static constexpr const char* ObjectPath = "/ServiceMediator";
    static constexpr const char* InterfaceName = "OvTarskLumetService.ServiceMediator";
    static constexpr int DefaultTimeoutMs = 10000;

    explicit DBusServiceBackend(int timeoutMs = DefaultTimeoutMs);

    void SetProfile(const std::u16string& target, const std::u16string& document) override;
    std::u16string Exchange(const std::u16string& document) override;
    std::u16string GetStatus() override;
    std::u16string GetCapability() override;

    int TimeoutMs() const { return timeoutMs; }

private:
    // Makes the call; returns the reply's string, or empty on any error.
    QString Call(const char* method, const QVariantList& arguments);

    int timeoutMs;
};
