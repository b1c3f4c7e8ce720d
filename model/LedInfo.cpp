#include "model/LedInfo.h"

#include "model/EffectSetting.h"

LedInfo::LedInfo(std::string key, std::string name) : ModelItem(std::move(key), std::move(name)) {}

LedInfo::~LedInfo() = default;

namespace {

bool IsScene(int scene)
{
    return scene >= 0 && scene < LedInfo::SceneCount;
}

} // namespace

EffectSetting* LedInfo::GetSetting(int scene) const
{
    return IsScene(scene) ? settings[scene].get() : nullptr;
}

EffectSetting* LedInfo::GetLoadedSetting(int scene) const
{
    return IsScene(scene) ? loadedSettings[scene].get() : nullptr;
}

void LedInfo::SetSetting(int scene, std::unique_ptr<EffectSetting> setting)
{
    if (IsScene(scene))
        settings[scene] = std::move(setting);
}

void LedInfo::SetLoadedSetting(int scene, std::unique_ptr<EffectSetting> setting)
{
    if (IsScene(scene))
        loadedSettings[scene] = std::move(setting);
}

void LedInfo::ClearSettings()
{
    for (int scene = 0; scene < SceneCount; ++scene) {
        settings[scene].reset();
        loadedSettings[scene].reset();
    }
}

void LedInfo::SetPosition(int x, int y)
{
    position = Point{x, y};
    if (savedPosition == Point())
        savedPosition = position;
}
