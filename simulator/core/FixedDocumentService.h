#pragma once

#include "simulator/core/LightingService.h"
#include "simulator/core/RigLayout.h"

// Serves two documents exactly as given. Profiles are checked against the
// devices, LEDs and effects the capability document lists, never applied: the
// documents stay as they are whatever the panel sends.
class FixedDocumentService : public LightingService
{
public:
    FixedDocumentService(std::string capability, std::string status);

    std::string GetCapability() const override { return capability; }
    std::string GetStatus() const override { return status; }
    Outcome SetProfile(const std::string& key, const std::string& document, std::string& fault) override;

private:
    std::string capability;
    std::string status;
    RigLayout layout;
};
