#pragma once

#include "model/ModelItem.h"

#include <memory>
#include <string>

struct EffectSetting;

// One LED (or LED zone) of a device, with its settings per scene: a current
// copy that the views edit and the copy as loaded from the service. The LED
// owns its four settings.
class LedInfo : public ModelItem
{
public:
    static constexpr int SceneCount = 2;

    LedInfo(std::string key, std::string name);
    ~LedInfo() override;

    std::string GetLocation() const { return location; }
    void SetLocation(const std::string& l) { location = l; }
    std::string GetType() const { return type; }
    void SetType(const std::string& t) { type = t; }

    // Current and as-loaded settings of a scene (0 or 1); null when none was
    // loaded. An out-of-range scene gives null.
    EffectSetting* GetSetting(int scene) const;
    EffectSetting* GetLoadedSetting(int scene) const;
    // Take ownership, replacing (and destroying) what was there.
    void SetSetting(int scene, std::unique_ptr<EffectSetting> setting);
    void SetLoadedSetting(int scene, std::unique_ptr<EffectSetting> setting);
    // Destroys all four settings.
    void ClearSettings();

    // The palette point the per-LED colour group remembers for this LED.
    struct Point
    {
        int x = -1;
        int y = -1;
        bool operator==(const Point& o) const { return x == o.x && y == o.y; }
        bool operator!=(const Point& o) const { return !(*this == o); }
    };
    // Also sets the saved position while that is still (-1, -1).
    void SetPosition(int x, int y);
    void RestorePosition() { position = savedPosition; }
    void ClearSavedPosition() { savedPosition = Point(); }
    Point GetPosition() const { return position; }
    Point GetSavedPosition() const { return savedPosition; }

private:
    std::string location;
    std::string type;
    std::unique_ptr<EffectSetting> settings[SceneCount];
    std::unique_ptr<EffectSetting> loadedSettings[SceneCount];
    Point position;
    Point savedPosition;
};
