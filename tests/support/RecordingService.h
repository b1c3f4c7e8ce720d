#pragma once

#include "service/ServiceBackend.h"
#include "service/ServiceText.h"

#include <string>
#include <vector>

// A lighting service in memory for ServiceClient::SetBackend: serves the documents
// it is given and records every call in order ("GetStatus", "SetProfile", ...).
class RecordingService : public ServiceBackend
{
public:
    struct Profile
    {
        std::string key;
        std::string document;
        bool operator==(const Profile& o) const { return key == o.key && document == o.document; }
    };

    std::string capability;
    std::string status;
    std::vector<std::string> calls;
    // What SetProfile and Exchange were given (Exchange with an empty key).
    std::vector<Profile> profiles;

    void SetProfile(const std::u16string& target, const std::u16string& document) override
    {
        calls.push_back("SetProfile");
        profiles.push_back({ServiceText::Narrow(target), ServiceText::Narrow(document)});
    }
    std::u16string Exchange(const std::u16string& document) override
    {
        calls.push_back("Exchange");
        profiles.push_back({std::string(), ServiceText::Narrow(document)});
        return {};
    }
    std::u16string GetStatus() override { return Fetch("GetStatus", status); }
    std::u16string GetCapability() override { return Fetch("GetCapability", capability); }

    void Forget()
    {
        calls.clear();
        profiles.clear();
    }

private:
    std::u16string Fetch(const char* call, const std::string& document)
    {
        calls.push_back(call);
        return ServiceText::Widen(document);
    }
};
