#pragma once

#include "simulator/core/LightingService.h"
#include "simulator/core/RigLayout.h"
#include "simulator/core/RigState.h"

#include <QString>

class RigStateStore;

// A rig that behaves as the hardware service would: it applies profiles to
// its state, reports that state in the next status and keeps it across
// restarts. A profile is applied whole or not at all.
class VirtualRig : public LightingService
{
public:
    // Without a store the state lives in memory only.
    VirtualRig(RigLayout layout, RigStateStore* store);

    // Loads the saved state, or starts from the defaults when reset is set,
    // when nothing was saved, or when the saved state is damaged (the damaged
    // file is set aside with a message on stderr). False with the reason when
    // the state cannot be kept at all.
    bool Start(bool reset, QString& error);

    std::string GetCapability() const override { return capability; }
    std::string GetStatus() const override { return status; }
    Outcome SetProfile(const std::string& key, const std::string& document, std::string& fault) override;

    const RigState& State() const { return state; }

private:
    bool Commit(const RigState& next, std::string& fault);

    RigLayout layout;
    RigStateStore* store;
    RigState state;
    std::string capability;
    std::string status;
};
