#pragma once

#include "service/ServiceBackend.h"

// The lighting service as a COM local server, found by its ProgID. Each
// operation creates a fresh object, makes its one call and releases the
// object and every string passed or received. The GUI thread's COM
// apartment is set up by the main window; without it creation fails and the
// operation does nothing.
class ComServiceBackend : public ServiceBackend
{
public:
    void SetProfile(const std::u16string& target, const std::u16string& document) override;
    std::u16string Exchange(const std::u16string& document) override;
    std::u16string GetStatus() override;
    std::u16string GetCapability() override;
};
