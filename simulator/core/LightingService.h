#pragma once

#include <string>

// What the D-Bus object serves: the two documents and the application of a
// profile. Documents are byte strings of 7-bit text.
class LightingService
{
public:
    virtual ~LightingService() = default;

    virtual std::string GetCapability() const = 0;
    virtual std::string GetStatus() const = 0;
    enum class Outcome
    {
        Applied,
        Refused, // the document or key is wrong; nothing changed
        Failed,  // the profile was sound but the service could not keep it
    };
    // Applies (or, for a service that cannot apply, checks) one profile sent
    // for the device key. Anything but Applied comes with a fault that names
    // what went wrong.
    virtual Outcome SetProfile(const std::string& key, const std::string& document, std::string& fault) = 0;
};
