#pragma once

#include "service/ServiceBackend.h"

#include <memory>
#include <string>

// Client of the lighting service, one method per operation. Stateless apart
// from its backend; each call reaches the service afresh and nothing persists
// between calls. Failures are not reported: SetProfile has no effect and the
// fetching operations return an empty string.
class ServiceClient
{
public:
    static ServiceClient& Instance();

    void SetProfile(const std::u16string& target, const std::u16string& document);
    std::u16string Exchange(const std::u16string& document);
    std::u16string GetStatus();
    std::u16string GetCapability();

    // Replaces the transport (tests install a recording fake); null restores
    // the platform's own backend.
    void SetBackend(std::unique_ptr<ServiceBackend> backend);
    ServiceBackend* GetBackend() const { return backend.get(); }

private:
    ServiceClient();
    std::unique_ptr<ServiceBackend> backend;
};

// The platform's own transport (D-Bus on Linux, COM on Windows).
std::unique_ptr<ServiceBackend> CreatePlatformServiceBackend();
