#include "service/ServiceClient.h"

ServiceClient& ServiceClient::Instance()
{
    // Created on first use and never destroyed: the service may still be
    // asked for something while other process-wide objects go away.
    static ServiceClient* const instance = new ServiceClient();
    return *instance;
}

ServiceClient::ServiceClient() : backend(CreatePlatformServiceBackend()) {}

void ServiceClient::SetProfile(const std::u16string& target, const std::u16string& document)
{
    backend->SetProfile(target, document);
}

std::u16string ServiceClient::Exchange(const std::u16string& document)
{
    return backend->Exchange(document);
}

std::u16string ServiceClient::GetStatus()
{
    return backend->GetStatus();
}

std::u16string ServiceClient::GetCapability()
{
    return backend->GetCapability();
}

void ServiceClient::SetBackend(std::unique_ptr<ServiceBackend> replacement)
{
    backend = replacement ? std::move(replacement) : CreatePlatformServiceBackend();
}
