#include "model/DeviceMaster.h"

#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeList.h"

DeviceMaster::DeviceMaster(const std::string& key) : ModelItem(key, key) {}

DeviceMaster::~DeviceMaster() = default;

void DeviceMaster::AddLed(std::unique_ptr<LedInfo> led)
{
    if (led)
        leds.push_back(std::move(led));
}

LedInfo* DeviceMaster::FindLed(const std::string& key) const
{
    for (const auto& led : leds)
        if (led->GetKey() == key)
            return led.get();
    return nullptr;
}

std::vector<LedInfo*> DeviceMaster::GetLeds() const
{
    std::vector<LedInfo*> list;
    list.reserve(leds.size());
    for (const auto& led : leds)
        list.push_back(led.get());
    return list;
}

void DeviceMaster::SetModes(std::unique_ptr<ModeList> list)
{
    modes = std::move(list);
}

void DeviceMaster::SetGroupSetting(std::unique_ptr<EffectSetting> setting)
{
    groupSetting = std::move(setting);
}

void DeviceMaster::SetGroupSettingLoaded(std::unique_ptr<EffectSetting> setting)
{
    groupSettingLoaded = std::move(setting);
}

void DeviceMaster::CommitPositions()
{
    // Clearing first makes the next SetPosition store the current point as the
    // saved one.
    for (const auto& led : leds) {
        const LedInfo::Point current = led->GetPosition();
        led->ClearSavedPosition();
        led->SetPosition(current.x, current.y);
    }
}

void DeviceMaster::RestorePositions()
{
    for (const auto& led : leds)
        led->RestorePosition();
}
