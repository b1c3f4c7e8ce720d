#pragma once

#include "simulator/core/LightingService.h"
#include "simulator/core/RigLayout.h"
#include "simulator/core/RigState.h"

#include <QString>

class Rig;
class RigStateStore;

// The service core (simulator/core) is everything the lighting service does
// whatever its hardware: the documents, the checks and refusals of profiles,
// the state and its file, the journal, the D-Bus object (ServiceMediator) and
// the start-up (ServiceProgram). A Rig only says what hardware there is and
// shows what it is given.
//
// RigService is the lighting service over a rig: it serves the rig's
// capability and status documents, applies profiles to the state (whole or not
// at all), answers success only once the new state is saved, and then has the
// rig show it. The state keeps the settings of devices and LEDs the rig lacks
// at the moment, so that they find them again when they come back under the
// same keys; new ones get the rig's defaults.
class RigService : public LightingService
{
public:
    // Without a store the state lives in memory only.
    RigService(Rig& rig, RigStateStore* store);

    // Loads the saved state (or, with reset, only the defaults kept in it),
    // lets the rig begin and saves what the service then holds. A damaged
    // saved state is set aside with a message on stderr; false with the reason
    // when the state cannot be read or kept.
    bool Start(bool reset, QString& error);

    // The rig's devices now, with what DEFAULT restores on them (at least for
    // the devices and LEDs new to the service). The documents follow at once;
    // after the start the state is saved and shown too.
    void SetLayout(RigLayout layout, const RigState& defaults);

    std::string GetCapability() const override { return capability; }
    std::string GetStatus() const override { return status; }
    Outcome SetProfile(const std::string& key, const std::string& document, std::string& fault) override;

    const RigLayout& Layout() const { return layout; }
    const RigState& State() const { return state; }
    const RigState& Defaults() const { return defaults; }

private:
    // Takes a saved state (with reset, only the defaults kept in it); a damaged
    // one is set aside.
    void Load(const std::string& text, bool reset);
    // Saves next as the state; on success it becomes the state and is shown.
    bool Commit(RigState next, std::string& fault);
    bool Save(const std::string& text, std::string& fault);
    std::string SavedText(const RigState& candidate) const;

    Rig& rig;
    RigStateStore* store;
    bool started = false;
    RigLayout layout;
    RigState state;
    RigState defaults;
    std::string capability;
    std::string status;
    std::string saved; // what the file holds, as far as the service knows
};
