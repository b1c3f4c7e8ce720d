#pragma once

#include "service/ServiceBackend.h"
#include "service/ServiceText.h"

#include <string>
#include <utility>
#include <vector>

// A lighting service in memory: serves the documents it is given and records
// every call in order ("GetCapability", "GetStatus", "SetProfile").
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
    std::vector<Profile> profiles;

    void SetProfile(const std::u16string& target, const std::u16string& document) override
    {
        calls.push_back("SetProfile");
        profiles.push_back({ServiceText::Narrow(target), ServiceText::Narrow(document)});
    }
    std::u16string Exchange(const std::u16string&) override
    {
        calls.push_back("Exchange");
        return std::u16string();
    }
    std::u16string GetStatus() override
    {
        calls.push_back("GetStatus");
        return ServiceText::Widen(status);
    }
    std::u16string GetCapability() override
    {
        calls.push_back("GetCapability");
        return ServiceText::Widen(capability);
    }

    void Forget()
    {
        calls.clear();
        profiles.clear();
    }
};
