#pragma once

#include <cstddef>
#include <cstdint>

// The sound level that the music effect follows, from blocks of 16-bit
// samples: the block's RMS on a decibel scale, so that quiet and loud music
// both move the lights, smoothed so that they rise with a beat and settle
// more slowly.
class SoundLevel
{
public:
    // The level's scale: QuietDecibels and below (of full scale) is 0,
    // LoudDecibels and above is 1.
    static constexpr float QuietDecibels = -60.0f;
    static constexpr float LoudDecibels = -6.0f;
    // How fast the shown level follows a louder and a quieter block.
    static constexpr double RiseSeconds = 0.03;
    static constexpr double FallSeconds = 0.3;

    // The block's root mean square as a fraction of full scale, 0..1; 0 for
    // an empty block.
    static float Rms(const std::int16_t* samples, std::size_t count);
    // That RMS on the level's scale, 0..1; not a number counts as silence.
    static float FromRms(float rms);
    // The shown level after a block of the given length with the measured
    // level: a step of the way towards it, longer steps going further.
    static float Follow(float shown, float measured, double seconds);
};
