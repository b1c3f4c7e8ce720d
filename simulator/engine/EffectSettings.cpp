#include "simulator/engine/EffectSettings.h"

EffectSettings::ColorType EffectSettings::ColorTypeFromText(const std::string& text)
{
    if (text == "Gradient")
        return ColorType::Gradient;
    if (text == "Cycle")
        return ColorType::Cycle;
    return ColorType::Plain;
}
