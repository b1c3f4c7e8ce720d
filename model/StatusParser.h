#pragma once

#include <tinyxml2.h>

#include <map>
#include <memory>
#include <string>

class DeviceMaster;
struct EffectSetting;

// Hangs the settings of a status document on the capability model: the
// group's switch and effect-wide setting, and the per-LED settings of each
// scene. Pure: no service, no signals.
class StatusParser
{
public:
    using DeviceIndex = std::map<std::string, DeviceMaster*>;

    // Drops the group's setting and every setting of its LEDs; other devices
    // keep theirs until a document replaces them.
    static void ClearGroup(DeviceMaster* group);

    // Fills the settings the document names. The group may be null; devices
    // other than the group are found in the index by key.
    static void Apply(const tinyxml2::XMLDocument& document, DeviceMaster* group, const DeviceIndex& index);
    static void ApplyText(const std::string& text, DeviceMaster* group, const DeviceIndex& index);

    // The group's "isenabled" text: "na" in any case is off, otherwise on when
    // it reads as a number greater than 0.
    static bool ReadEnabled(const std::string& text);
    // "S0" is the running system (0); any other state, or none, is 1.
    static int SceneIndex(const std::string& state);

private:
    static void ApplyScenes(const tinyxml2::XMLElement* device, const std::string& key, DeviceMaster* group,
                            const DeviceIndex& index);
    static std::unique_ptr<EffectSetting> ReadGroupSetting(const tinyxml2::XMLElement* mode, DeviceMaster* group);
    static void ApplyLedSettings(const tinyxml2::XMLElement* mode, int scene, DeviceMaster* target);
};
