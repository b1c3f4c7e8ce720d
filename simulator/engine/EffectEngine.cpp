#include "simulator/engine/EffectEngine.h"

#include <algorithm>
#include <cmath>

namespace {

using Led = EffectSettings::Led;
using Rgb = EffectEngine::Rgb;

constexpr double Pi = 3.14159265358979323846;
// Beyond this the time wraps: a double still resolves microseconds there.
constexpr double TimeWrapSeconds = 1e9;
// The part of a strobe's period in which it is lit.
constexpr double StrobeLitPart = 0.3;
// A gentle breath: what an effect shows while its outside input is missing.
constexpr double GentlePeriodSeconds = 6.0;
constexpr float GentleLow = 0.15f;
constexpr float GentleHigh = 0.6f;
// The temperature effect's pulse never goes darker than this, so that its
// colour stays readable.
constexpr float TemperaturePulseLow = 0.35f;

// A colour with channels in 0..255, kept as floats while it is scaled and mixed.
struct Color
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

const Color White{255.0f, 255.0f, 255.0f};

float Finite(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}

float Unit(float value, float fallback)
{
    return std::clamp(Finite(value, fallback), 0.0f, 1.0f);
}

// A hue in turns brought into 0..1.
float Turn(float hue)
{
    const float h = Finite(hue, 0.0f);
    const float wrapped = h - std::floor(h);
    return wrapped >= 1.0f ? 0.0f : wrapped;
}

int ClampSpeed(long long speed)
{
    return static_cast<int>(std::clamp<long long>(speed, -2, 2));
}

Color FromPacked(std::uint32_t packed)
{
    return Color{static_cast<float>(packed & 0xffu), static_cast<float>((packed >> 8) & 0xffu),
                 static_cast<float>((packed >> 16) & 0xffu)};
}

// HSL by the hue's sixth of the circle: chroma, the second-largest channel
// and the lightness offset.
Color FromHsl(float hue, float saturation, float lightness)
{
    const float s = Unit(saturation, 1.0f);
    const float l = Unit(lightness, 0.5f);
    const float chroma = (1.0f - std::fabs(2.0f * l - 1.0f)) * s;
    const float sector = Turn(hue) * 6.0f;
    const float x = chroma * (1.0f - std::fabs(std::fmod(sector, 2.0f) - 1.0f));
    float r = 0.0f, g = 0.0f, b = 0.0f;
    switch (std::min(static_cast<int>(sector), 5)) {
    case 0: r = chroma, g = x; break;
    case 1: r = x, g = chroma; break;
    case 2: g = chroma, b = x; break;
    case 3: g = x, b = chroma; break;
    case 4: r = x, b = chroma; break;
    default: r = chroma, b = x; break;
    }
    const float m = l - chroma / 2.0f;
    return Color{(r + m) * 255.0f, (g + m) * 255.0f, (b + m) * 255.0f};
}

Color PureHue(float hue)
{
    return FromHsl(hue, 1.0f, 0.5f);
}

Color ColorOf(const Led& led)
{
    if (led.color)
        return FromPacked(*led.color);
    if (led.hue)
        return FromHsl(*led.hue, led.saturation.value_or(1.0f), led.lightness.value_or(0.5f));
    return White;
}

Color Mix(const Color& a, const Color& b, float towardB)
{
    return Color{a.r + (b.r - a.r) * towardB, a.g + (b.g - a.g) * towardB, a.b + (b.b - a.b) * towardB};
}

std::uint8_t Byte(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 255.0f)
        return 255;
    return static_cast<std::uint8_t>(value + 0.5f);
}

Rgb Shown(const Color& c, float brightness)
{
    return Rgb{Byte(c.r * brightness), Byte(c.g * brightness), Byte(c.b * brightness)};
}

double Seconds(const EffectEngine::Inputs& inputs)
{
    const double t = inputs.seconds;
    if (!std::isfinite(t) || t < 0.0)
        return 0.0;
    return std::fmod(t, TimeWrapSeconds);
}

// How far into its current lap the effect is, 0..1.
double Phase(double seconds, double period)
{
    return period > 0.0 ? std::fmod(seconds, period) / period : 0.0;
}

double Fraction(double value)
{
    return value - std::floor(value);
}

// Up from 0 to 1 in the first half of the lap and back down in the second:
// an arc of the colour circle walked there and back shows no jump.
double Triangle(double f)
{
    return 1.0 - std::fabs(2.0 * f - 1.0);
}

// A breath: full for the first tenth of the lap, fading out over four
// tenths, dark for a tenth and fading in again. Holding the top lets every
// frame rate show the exact colour at least once per breath.
float Breath(double phase)
{
    if (phase < 0.1)
        return 1.0f;
    if (phase < 0.5)
        return static_cast<float>(0.5 + 0.5 * std::cos(Pi * (phase - 0.1) / 0.4));
    if (phase < 0.6)
        return 0.0f;
    return static_cast<float>(0.5 - 0.5 * std::cos(Pi * (phase - 0.6) / 0.4));
}

float GentleBreath(double seconds)
{
    return GentleLow + (GentleHigh - GentleLow) * Breath(Phase(seconds, GentlePeriodSeconds));
}

// The arc of the colour circle that the colour type chooses, walked by f in 0..1.
float ArcHue(const EffectSettings& s, double f)
{
    const float start = Finite(s.cycleStart, 0.0f);
    const float span = s.colorType == EffectSettings::ColorType::Gradient ? Unit(s.cycleRange, 1.0f) : 1.0f;
    return Turn(start + span * static_cast<float>(f));
}

bool IsPartialArc(const EffectSettings& s)
{
    return s.colorType == EffectSettings::ColorType::Gradient && Unit(s.cycleRange, 1.0f) < 1.0f;
}

// The LED's place on the effect's path: end to start walks the group backwards.
size_t PathIndex(const EffectSettings& s, size_t i)
{
    return s.startToEnd ? i : s.leds.size() - 1 - i;
}

// The way this LED's own motion runs: the group's way, turned round once
// more by a negative direction of the LED.
bool RunsForward(const EffectSettings& s, const Led& led)
{
    return s.startToEnd == (led.direction.value_or(0) >= 0);
}

int LedSpeed(const Led& led)
{
    return ClampSpeed(led.speed.value_or(0));
}

std::uint32_t Mixed(std::uint64_t x)
{
    // SplitMix64's finaliser: neighbouring inputs give unrelated outputs.
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return static_cast<std::uint32_t>((x ^ (x >> 31)) >> 16);
}

void Strobe(const EffectSettings& s, double t, std::uint32_t seed, bool random, std::vector<Rgb>& frame)
{
    const double period = EffectEngine::PeriodSeconds(s.mode, s.effectSpeed);
    if (Phase(t, period) >= StrobeLitPart)
        return;
    const size_t n = s.leds.size();
    // t is below TimeWrapSeconds, so the flash number fits.
    const auto flash = static_cast<std::uint64_t>(std::floor(t / period));
    const std::uint64_t base = (static_cast<std::uint64_t>(seed) << 32) ^ (flash * 0x100000001b3ull);
    const size_t chosen = Mixed(base) % n;
    for (size_t i = 0; i < n; ++i) {
        // A random flash lights one LED for sure and about a quarter of the others.
        const bool lit = !random || i == chosen || Mixed(base + i + 1) % 4 == 0;
        if (lit)
            frame[i] = Shown(ColorOf(s.leds[i]), 1.0f);
    }
}

void ColorCycle(const EffectSettings& s, double t, std::vector<Rgb>& frame)
{
    for (size_t i = 0; i < s.leds.size(); ++i) {
        const Led& led = s.leds[i];
        const double phase = Phase(t, EffectEngine::PeriodSeconds(s.mode, LedSpeed(led)));
        const double along = IsPartialArc(s) ? Triangle(phase) : phase;
        frame[i] = Shown(PureHue(ArcHue(s, RunsForward(s, led) ? along : 1.0 - along)), 1.0f);
    }
}

// The arc spread along the group, rolling from its start towards its end.
void Rainbow(const EffectSettings& s, double t, std::vector<Rgb>& frame)
{
    const size_t n = s.leds.size();
    const double phase = Phase(t, EffectEngine::PeriodSeconds(s.mode, s.effectSpeed));
    for (size_t i = 0; i < n; ++i) {
        const double f = Fraction(static_cast<double>(PathIndex(s, i)) / static_cast<double>(n) - phase);
        frame[i] = Shown(PureHue(ArcHue(s, IsPartialArc(s) ? Triangle(f) : f)), 1.0f);
    }
}

void Comet(const EffectSettings& s, double t, std::vector<Rgb>& frame)
{
    const size_t n = s.leds.size();
    const double tail = std::max(2.0, std::round(static_cast<double>(n) / 4.0));
    // A lap runs the head from the first LED until the tail has left the last.
    const double lap = static_cast<double>(n) + tail;
    const double head = Phase(t, EffectEngine::PeriodSeconds(s.mode, s.effectSpeed)) * lap;
    // The double comet runs a second head half a lap behind the first.
    const double heads[2] = {head, std::fmod(head + lap / 2.0, lap)};
    const size_t headCount = s.mode == EffectSettings::DoubleComet ? 2 : 1;
    for (size_t i = 0; i < n; ++i) {
        const double place = static_cast<double>(PathIndex(s, i));
        float brightness = 0.0f;
        double behind = 0.0;
        for (size_t k = 0; k < headCount; ++k) {
            const double h = heads[k];
            // Distance behind the head; the LED the head is entering lights up
            // with the head's fraction, so the run is smooth at any speed.
            const double d = h - place;
            float b = 0.0f;
            if (d > -1.0 && d < 0.0)
                b = static_cast<float>(1.0 + d);
            else if (d >= 0.0 && d < tail)
                b = static_cast<float>((1.0 - d / tail) * (1.0 - d / tail));
            if (b > brightness) {
                brightness = b;
                behind = std::max(d, 0.0);
            }
        }
        if (brightness <= 0.0f)
            continue;
        // Plain: the LED's own colour; otherwise the arc from the head down the tail.
        const Color c = s.colorType == EffectSettings::ColorType::Plain ? ColorOf(s.leds[i])
                                                                        : PureHue(ArcHue(s, behind / tail));
        frame[i] = Shown(c, brightness);
    }
}

void Wave(const EffectSettings& s, double t, std::vector<Rgb>& frame)
{
    const size_t n = s.leds.size();
    const double phase = Phase(t, EffectEngine::PeriodSeconds(s.mode, s.effectSpeed));
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(PathIndex(s, i)) / static_cast<double>(n);
        const auto b = static_cast<float>(0.5 + 0.5 * std::cos(2.0 * Pi * (x - phase)));
        frame[i] = Shown(ColorOf(s.leds[i]), b);
    }
}

// The LEDs' colours travel along the path, each blending into the next.
void ColorWave(const EffectSettings& s, double t, std::vector<Rgb>& frame)
{
    const size_t n = s.leds.size();
    const double phase = Phase(t, EffectEngine::PeriodSeconds(s.mode, s.effectSpeed));
    auto colorAt = [&](size_t pathIndex) { return ColorOf(s.leds[PathIndex(s, pathIndex)]); };
    for (size_t i = 0; i < n; ++i) {
        const double source = Fraction(static_cast<double>(PathIndex(s, i)) / static_cast<double>(n) - phase)
            * static_cast<double>(n);
        const size_t from = std::min(static_cast<size_t>(source), n - 1);
        const auto w = static_cast<float>(source - static_cast<double>(from));
        frame[i] = Shown(Mix(colorAt(from), colorAt((from + 1) % n), w), 1.0f);
    }
}

// Rings of light spreading from the middle of the group to its ends.
void Ripple(const EffectSettings& s, double t, std::vector<Rgb>& frame)
{
    constexpr double RingsPerHalf = 1.5;
    const size_t n = s.leds.size();
    const double middle = (static_cast<double>(n) - 1.0) / 2.0;
    const double half = std::max(1.0, static_cast<double>(n) / 2.0);
    for (size_t i = 0; i < n; ++i) {
        const Led& led = s.leds[i];
        const double d = std::fabs(static_cast<double>(i) - middle) / half;
        const double phase = Phase(t, EffectEngine::PeriodSeconds(s.mode, LedSpeed(led)));
        const double wave = 0.5 + 0.5 * std::cos(2.0 * Pi * (d * RingsPerHalf - (RunsForward(s, led) ? phase : -phase)));
        frame[i] = Shown(ColorOf(led), static_cast<float>(wave * wave));
    }
}

void Temperature(const EffectSettings& s, const EffectEngine::Inputs& inputs, double t, std::vector<Rgb>& frame)
{
    const std::optional<float> celsius = inputs.cpuCelsius;
    Color c = PureHue(2.0f / 3.0f);
    float brightness = 1.0f;
    if (celsius && std::isfinite(*celsius)) {
        const float hot = (*celsius - EffectEngine::CoolCelsius) / (EffectEngine::HotCelsius - EffectEngine::CoolCelsius);
        c = PureHue(2.0f / 3.0f * (1.0f - std::clamp(hot, 0.0f, 1.0f)));
        const double period = EffectEngine::PeriodSeconds(s.mode, s.effectSpeed);
        if (period > 0.0)
            brightness = TemperaturePulseLow + (1.0f - TemperaturePulseLow) * Breath(Phase(t, period));
    } else {
        brightness = GentleBreath(t);
    }
    std::fill(frame.begin(), frame.end(), Shown(c, brightness));
}

// The eight music styles: where the colour sits on the circle (base, spread
// along the group, drift in turns a second) and how the level shows.
struct MusicStyle
{
    enum Shape { Meter, Centre, Pulse };
    float hue;
    float spread;
    float drift;
    Shape shape;
    float gain;
};

const MusicStyle MusicStyles[] = {
    {1.0f / 3.0f, -1.0f / 3.0f, 0.0f, MusicStyle::Meter, 1.0f}, // Normal: a level meter, green to red
    {0.62f, 0.0f, 0.0f, MusicStyle::Pulse, 0.6f},              // Sleep: a dim blue glow
    {0.08f, 0.05f, 0.02f, MusicStyle::Pulse, 1.0f},            // Jazz: warm amber
    {0.0f, 0.0f, 0.0f, MusicStyle::Centre, 1.0f},              // Rock: red bursts from the middle
    {0.92f, 0.0f, 0.0f, MusicStyle::Pulse, 0.8f},              // Romance: soft pink
    {0.0f, 1.0f, 0.25f, MusicStyle::Meter, 1.0f},              // Party: a turning rainbow meter
    {0.78f, 0.1f, 0.03f, MusicStyle::Centre, 1.0f},            // Hip Hop: purple from the middle
    {0.07f, 0.3f, 0.1f, MusicStyle::Pulse, 1.0f},              // Funk: orange into green
};

void Music(const EffectSettings& s, const EffectEngine::Inputs& inputs, double t, std::vector<Rgb>& frame)
{
    const size_t n = s.leds.size();
    const bool known = s.musicIndex >= 0 && s.musicIndex < static_cast<int>(std::size(MusicStyles));
    const MusicStyle& style = MusicStyles[known ? s.musicIndex : 0];
    const double turned = std::fmod(static_cast<double>(style.drift) * t, 1.0);
    const std::optional<float> input = inputs.soundLevel;
    const bool heard = input && std::isfinite(*input);
    const float level = heard ? std::clamp(*input, 0.0f, 1.0f) : 0.0f;
    for (size_t i = 0; i < n; ++i) {
        const double place = static_cast<double>(PathIndex(s, i));
        const double along = n > 1 ? place / static_cast<double>(n - 1) : 0.0;
        const Color c = PureHue(style.hue + style.spread * static_cast<float>(along) + static_cast<float>(turned));
        float b = 0.0f;
        if (!heard) {
            b = GentleBreath(t);
        } else if (style.shape == MusicStyle::Meter) {
            b = static_cast<float>(std::clamp(level * static_cast<double>(n) - place, 0.0, 1.0));
        } else if (style.shape == MusicStyle::Centre) {
            const double half = std::max(1.0, static_cast<double>(n) / 2.0);
            const double fromMiddle = std::fabs(static_cast<double>(i) - (static_cast<double>(n) - 1.0) / 2.0);
            b = static_cast<float>(std::clamp(level * half - fromMiddle + 0.5, 0.0, 1.0));
        } else {
            b = level;
        }
        frame[i] = Shown(c, std::min(1.0f, b * style.gain));
    }
}

double SlowestPeriod(int mode)
{
    switch (mode) {
    case EffectSettings::Breathing:
    case EffectSettings::Temperature:
        return 5.0;
    case EffectSettings::Strobing:
    case EffectSettings::RandomStrobe:
        return 1.0;
    case EffectSettings::ColorCycle:
        return 10.0;
    case EffectSettings::Rainbow:
        return 8.0;
    case EffectSettings::Comet:
    case EffectSettings::DoubleComet:
        return 4.0;
    case EffectSettings::Wave:
    case EffectSettings::ColorWave:
    case EffectSettings::Ripple:
        return 6.0;
    default:
        return 0.0;
    }
}

} // namespace

double EffectEngine::PeriodSeconds(int mode, int speed)
{
    const int s = ClampSpeed(speed);
    if (mode == EffectSettings::Temperature && s == 2)
        return 0.0;
    // Each notch towards fast shortens the lap by the same factor, down to a
    // fifth of the slowest at -2.
    return SlowestPeriod(mode) * std::pow(5.0, (s - 2) / 4.0);
}

void EffectEngine::Render(const EffectSettings& settings, const Inputs& inputs, std::vector<Rgb>& frame)
{
    frame.assign(settings.leds.size(), Rgb{});
    if (!settings.enabled || settings.leds.empty())
        return;
    const double t = Seconds(inputs);
    switch (settings.mode) {
    case EffectSettings::Sleep:
        return;
    case EffectSettings::Breathing:
        for (size_t i = 0; i < settings.leds.size(); ++i) {
            const Led& led = settings.leds[i];
            frame[i] = Shown(ColorOf(led), Breath(Phase(t, PeriodSeconds(settings.mode, LedSpeed(led)))));
        }
        return;
    case EffectSettings::Strobing:
    case EffectSettings::RandomStrobe:
        Strobe(settings, t, inputs.seed, settings.mode == EffectSettings::RandomStrobe, frame);
        return;
    case EffectSettings::ColorCycle:
        ColorCycle(settings, t, frame);
        return;
    case EffectSettings::Rainbow:
        Rainbow(settings, t, frame);
        return;
    case EffectSettings::Comet:
    case EffectSettings::DoubleComet:
        Comet(settings, t, frame);
        return;
    case EffectSettings::Wave:
        Wave(settings, t, frame);
        return;
    case EffectSettings::ColorWave:
        ColorWave(settings, t, frame);
        return;
    case EffectSettings::Ripple:
        Ripple(settings, t, frame);
        return;
    case EffectSettings::Temperature:
        Temperature(settings, inputs, t, frame);
        return;
    case EffectSettings::Music:
        Music(settings, inputs, t, frame);
        return;
    default:
        // Static, and any effect the engine does not know: the chosen colours.
        for (size_t i = 0; i < settings.leds.size(); ++i)
            frame[i] = Shown(ColorOf(settings.leds[i]), 1.0f);
        return;
    }
}

std::vector<EffectEngine::Rgb> EffectEngine::Frame(const EffectSettings& settings, const Inputs& inputs)
{
    std::vector<Rgb> frame;
    Render(settings, inputs, frame);
    return frame;
}

bool EffectEngine::IsStill(const EffectSettings& settings)
{
    if (!settings.enabled || settings.leds.empty())
        return true;
    switch (settings.mode) {
    case EffectSettings::Temperature:
    case EffectSettings::Music:
        return false;
    default:
        return SlowestPeriod(settings.mode) == 0.0;
    }
}

EffectEngine::FramePlan EffectEngine::Plan(const EffectSettings& settings, const Inputs& inputs, int fps)
{
    if (IsStill(settings))
        return FramePlan{Pace::Still, 0.0};
    const bool steadyTemperature = settings.mode == EffectSettings::Temperature
        && PeriodSeconds(settings.mode, settings.effectSpeed) == 0.0 && inputs.cpuCelsius
        && std::isfinite(*inputs.cpuCelsius);
    if (steadyTemperature)
        return FramePlan{Pace::FollowsInputs, InputIntervalSeconds};
    return FramePlan{Pace::Animated, 1.0 / std::clamp(fps, MinFps, MaxFps)};
}
