#pragma once

#include "model/ModelItem.h"

#include <memory>
#include <string>
#include <vector>

class LedInfo;
class ModeList;
struct EffectSetting;

// A lighting device: the synchronized group ("Group"), the main board or any
// other device. Owns its LEDs, its mode list and its two group settings.
class DeviceMaster : public ModelItem
{
public:
    explicit DeviceMaster(const std::string& key);
    ~DeviceMaster() override;
    DeviceMaster(const DeviceMaster&) = delete;
    DeviceMaster& operator=(const DeviceMaster&) = delete;

    bool IsEnabled() const { return isEnabled; }
    void SetEnabled(bool enabled) { isEnabled = enabled; }

    void AddLed(std::unique_ptr<LedInfo> led);
    // The first LED in list order with this key, or null.
    LedInfo* FindLed(const std::string& key) const;
    std::vector<LedInfo*> GetLeds() const;

    void SetModes(std::unique_ptr<ModeList> modes);
    ModeList* GetModes() const { return modes.get(); }

    // Effect-wide settings of the group (scene 0); null until a status load
    // fills them. The current one is what the views edit.
    EffectSetting* GetGroupSetting() const { return groupSetting.get(); }
    EffectSetting* GetGroupSettingLoaded() const { return groupSettingLoaded.get(); }
    void SetGroupSetting(std::unique_ptr<EffectSetting> setting);
    void SetGroupSettingLoaded(std::unique_ptr<EffectSetting> setting);

    // After APPLY: the saved position of every LED becomes its current one.
    void CommitPositions();
    // UNDO: every LED goes back to its saved position.
    void RestorePositions();

private:
    bool isEnabled = false;
    std::vector<std::unique_ptr<LedInfo>> leds;
    std::unique_ptr<ModeList> modes;
    std::unique_ptr<EffectSetting> groupSetting;
    std::unique_ptr<EffectSetting> groupSettingLoaded;
};
