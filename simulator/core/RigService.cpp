#include "simulator/core/RigService.h"

#include "simulator/core/ProfileDocument.h"
#include "simulator/core/Rig.h"
#include "simulator/core/RigDocuments.h"
#include "simulator/core/RigStateStore.h"
#include "simulator/core/ServiceLog.h"

#include <QCoreApplication>
#include <QThread>

namespace {

// Gives every device and LED of layout that target lacks (per scene) its
// values and path position from source; whatever target holds stays.
void Adopt(RigState& target, const RigLayout& layout, const RigState& source)
{
    for (const RigLayout::Device& d : layout.Devices()) {
        const auto from = source.devices.find(d.key);
        if (!target.devices.count(d.key)) {
            target.devices[d.key] = from != source.devices.end() ? from->second : RigState::Device();
            continue;
        }
        if (from == source.devices.end())
            continue;
        for (int s = 0; s < RigState::SceneCount; ++s) {
            RigState::Scene& scene = target.devices[d.key].scenes[s];
            const RigState::Scene& given = from->second.scenes[s];
            for (const RigLayout::Led& led : d.leds) {
                const auto values = given.leds.find(led.key);
                if (scene.leds.count(led.key) || values == given.leds.end())
                    continue;
                scene.leds[led.key] = values->second;
                const auto position = given.pathOrder.find(led.key);
                if (position != given.pathOrder.end())
                    scene.pathOrder.insert(*position);
            }
        }
    }
}

// A profile's path order names what the rig has now; the positions of
// devices and LEDs it lacks stay for their return.
void ApplyKeepingAbsent(const SceneUpdate& update, const RigLayout& layout, const std::string& deviceKey,
                        RigState::Device& device)
{
    const RigLayout::Device* present = layout.FindDevice(deviceKey);
    std::map<std::string, int> absent;
    for (const auto& entry : device.scenes[update.scene].pathOrder) {
        if (!present->HasLed(entry.first) && !layout.FindDevice(entry.first))
            absent.insert(entry);
    }
    update.ApplyTo(device);
    device.scenes[update.scene].pathOrder.insert(absent.begin(), absent.end());
}

} // namespace

RigService::RigService(Rig& rig, RigStateStore* store)
    : rig(rig), store(store), capability(RigDocuments::Capability(layout)), status(RigDocuments::Status(layout, state))
{
}

bool RigService::Start(bool reset, QString& error)
{
    if (store) {
        std::string text;
        if (!store->Open(error))
            return false;
        switch (store->Read(text, error)) {
        case RigStateStore::Found::Refused:
            return false;
        case RigStateStore::Found::Nothing:
            break;
        case RigStateStore::Found::Text:
            Load(text, reset);
            break;
        }
    }
    rig.Begin(*this);
    started = true;
    std::string fault;
    if (!Save(SavedText(state), fault)) {
        error = QString::fromStdString(fault);
        return false;
    }
    rig.Show(layout, state);
    return true;
}

void RigService::Load(const std::string& text, bool reset)
{
    RigState loaded;
    RigState kept;
    std::string fault;
    if (RigDocuments::ReadSavedState(text, loaded, kept, fault)) {
        if (!reset)
            state = std::move(loaded);
        if (rig.KeepsDefaults())
            defaults = std::move(kept);
        saved = text;
        return;
    }
    const QString aside = store->SetAside();
    ServiceLog::Say(QStringLiteral("the saved lighting state %1 is damaged (%2); %3; starting from the defaults")
                        .arg(store->FilePath(), QString::fromStdString(fault),
                             aside.isEmpty() ? QStringLiteral("it could not be moved aside")
                                             : QStringLiteral("it was moved to %1").arg(aside)));
}

void RigService::SetLayout(RigLayout next, const RigState& given)
{
    Q_ASSERT(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread());
    layout = std::move(next);
    if (rig.KeepsDefaults()) {
        Adopt(defaults, layout, given);
        defaults.notes.insert(given.notes.begin(), given.notes.end());
    } else {
        for (const RigLayout::Device& d : layout.Devices()) {
            const auto found = given.devices.find(d.key);
            if (found != given.devices.end())
                defaults.devices[d.key] = found->second;
        }
    }
    Adopt(state, layout, defaults);
    capability = RigDocuments::Capability(layout);
    status = RigDocuments::Status(layout, state);
    if (!started)
        return;
    // The layout is what the rig has, saved or not; what the file lacks is
    // saved with the next change.
    std::string fault;
    if (!Save(SavedText(state), fault))
        ServiceLog::Say(QString::fromStdString(fault));
    rig.Show(layout, state);
}

LightingService::Outcome RigService::SetProfile(const std::string& key, const std::string& document,
                                                std::string& fault)
{
    ProfileDocument profile;
    if (!ProfileDocument::Parse(key, document, layout, profile, fault))
        return Outcome::Refused;

    RigState next = state;
    switch (profile.funcid) {
    case 1:
        // The group holds every LED of the rig: switching it switches them all,
        // those the rig lacks at the moment too.
        for (auto& [deviceKey, device] : next.devices) {
            if (profile.deviceKey == "Group" || deviceKey == profile.deviceKey)
                device.enabled = profile.enable;
        }
        break;
    case 4:
        for (const SceneUpdate& update : profile.scenes)
            ApplyKeepingAbsent(update, layout, profile.deviceKey, next.devices[profile.deviceKey]);
        break;
    case 5:
        next = defaults;
        break;
    }
    return Commit(std::move(next), fault) ? Outcome::Applied : Outcome::Failed;
}

bool RigService::Commit(RigState next, std::string& fault)
{
    if (!Save(SavedText(next), fault))
        return false;
    state = std::move(next);
    status = RigDocuments::Status(layout, state);
    // Shown even when nothing changed: the devices may have been set by
    // someone else since, and the user asks to see this state.
    rig.Show(layout, state);
    return true;
}

bool RigService::Save(const std::string& text, std::string& fault)
{
    if (text == saved)
        return true;
    QString error;
    if (store && !store->Save(text, error)) {
        fault = error.toStdString();
        return false;
    }
    saved = text;
    return true;
}

std::string RigService::SavedText(const RigState& candidate) const
{
    return RigDocuments::SavedState(layout, candidate, rig.KeepsDefaults() ? &defaults : nullptr);
}
