#pragma once

#include <string>

// The transport behind ServiceClient: D-Bus on Linux, the COM local server on
// Windows. Tests replace it with a recording fake. Every failure is swallowed:
// SetProfile does nothing and the fetching calls return an empty string.
class ServiceBackend
{
public:
    virtual ~ServiceBackend() = default;
    virtual void SetProfile(const std::u16string& target, const std::u16string& document) = 0;
    virtual std::u16string Exchange(const std::u16string& document) = 0;
    virtual std::u16string GetStatus() = 0;
    virtual std::u16string GetCapability() = 0;
};
