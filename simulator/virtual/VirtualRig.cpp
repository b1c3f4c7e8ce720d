#include "simulator/virtual/VirtualRig.h"

#include "simulator/core/ProfileDocument.h"
#include "simulator/core/RigDocuments.h"
#include "simulator/core/RigStateStore.h"

#include <cstdio>

VirtualRig::VirtualRig(RigLayout layout, RigStateStore* store)
    : layout(std::move(layout)), store(store), state(RigState::Defaults(this->layout)),
      capability(RigDocuments::Capability(this->layout)), status(RigDocuments::Status(this->layout, state))
{
}

bool VirtualRig::Start(bool reset, QString& error)
{
    if (!store)
        return true;
    if (!store->Prepare(error))
        return false;
    std::string saved;
    if (!reset && store->Read(saved)) {
        RigState loaded = RigState::Defaults(layout);
        std::string fault;
        if (RigDocuments::ReadStatus(saved, layout, loaded, fault)) {
            state = std::move(loaded);
            status = RigDocuments::Status(layout, state);
            // Rewritten only when the text differs, e.g. after an older layout.
            if (status == saved)
                return true;
        } else {
            const QString aside = store->SetAside();
            std::fprintf(stderr, "vornlight-service-sim: the saved lighting state %s is damaged (%s); %s; "
                                 "starting from the defaults\n",
                         qPrintable(store->FilePath()), fault.c_str(),
                         aside.isEmpty() ? "it could not be moved aside"
                                         : qPrintable(QStringLiteral("it was moved to %1").arg(aside)));
        }
    }
    return store->Save(status, error);
}

LightingService::Outcome VirtualRig::SetProfile(const std::string& key, const std::string& document,
                                                std::string& fault)
{
    ProfileDocument profile;
    if (!ProfileDocument::Parse(key, document, layout, profile, fault))
        return Outcome::Refused;

    RigState next = state;
    switch (profile.funcid) {
    case 1:
        // The group holds every LED of the rig: switching it switches them all.
        for (auto& [deviceKey, device] : next.devices) {
            if (profile.deviceKey == "Group" || deviceKey == profile.deviceKey)
                device.enabled = profile.enable;
        }
        break;
    case 4:
        for (const SceneUpdate& update : profile.scenes)
            update.ApplyTo(next.devices[profile.deviceKey]);
        break;
    case 5:
        next = RigState::Defaults(layout);
        break;
    }
    return Commit(next, fault) ? Outcome::Applied : Outcome::Failed;
}

bool VirtualRig::Commit(const RigState& next, std::string& fault)
{
    std::string nextStatus = RigDocuments::Status(layout, next);
    if (nextStatus == status)
        return true;
    QString error;
    if (store && !store->Save(nextStatus, error)) {
        fault = error.toStdString();
        return false;
    }
    state = next;
    status = std::move(nextStatus);
    return true;
}
