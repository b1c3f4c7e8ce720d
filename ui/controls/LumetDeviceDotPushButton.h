#pragma once

#include "model/LedInfo.h"

#include <QPushButton>

#include <string>

class LumetColorDotLabel;

// One LED of the per-LED colour group: a 48 x 90 checkable, auto-exclusive
// button with the icon of the LED's location, the LED's name under it and a
// small dot in the LED's hue. It reads and writes the LED's colour (in the
// LED's current setting of a scene) and the palette position the LED keeps.
// The LED is not owned and must outlive the button.
class LumetDeviceDotPushButton : public QPushButton
{
    Q_OBJECT

public:
    LumetDeviceDotPushButton(QWidget* parent, LedInfo* led);

    // The style sheet of the icon set for a location code (exact match;
    // unknown codes get the "header" icon).
    static QString StyleSheetFor(const std::string& location);

    LedInfo* GetLed() const { return led; }
    float GetDotHue() const;
    // Colours the dot only.
    void SetDotHue(float hue);

    // Colour write: colours the dot and stores hue, saturation, lightness and
    // the packed colour that goes with them into the LED's current setting of
    // the scene. False (and only the dot coloured) when the LED has none.
    bool WriteColor(int scene, float hue, float saturation, float lightness);
    // The LED's colour in the scene; false (values untouched) without a setting.
    bool ReadColor(int scene, float& hue, float& saturation, float& lightness) const;

    // Position write: caches (x, y) and sets it as the LED's position.
    void WritePosition(int x, int y);
    // Position read: the LED's position when it has one (and caches it),
    // otherwise the cached one, which is then given to the LED.
    LedInfo::Point ReadPosition();

public slots:
    // Shows and hides the colour dot with the button.
    void setVisible(bool visible) override;

private:
    LumetColorDotLabel* dot;
    LedInfo* led;
    LedInfo::Point cachedPosition;
};
