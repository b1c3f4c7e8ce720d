#include "simulator/engine/SoundLevel.h"

#include <algorithm>
#include <cmath>

float SoundLevel::Rms(const std::int16_t* samples, std::size_t count)
{
    if (!samples || count == 0)
        return 0.0f;
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return static_cast<float>(std::min(1.0, std::sqrt(sum / static_cast<double>(count)) / 32768.0));
}

float SoundLevel::FromRms(float rms)
{
    if (!(rms > 0.0f))
        return 0.0f;
    const float decibels = 20.0f * std::log10(rms);
    return std::clamp((decibels - QuietDecibels) / (LoudDecibels - QuietDecibels), 0.0f, 1.0f);
}

float SoundLevel::Follow(float shown, float measured, double seconds)
{
    const float from = std::isfinite(shown) ? std::clamp(shown, 0.0f, 1.0f) : 0.0f;
    const float to = std::isfinite(measured) ? std::clamp(measured, 0.0f, 1.0f) : 0.0f;
    const double dt = std::isfinite(seconds) ? std::max(0.0, seconds) : 0.0;
    const double constant = to > from ? RiseSeconds : FallSeconds;
    return from + (to - from) * static_cast<float>(1.0 - std::exp(-dt / constant));
}
