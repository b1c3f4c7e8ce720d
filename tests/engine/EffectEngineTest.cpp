// The effect engine's frames: what each effect shows over time, its pace, and
// frames from settings and inputs that make no sense.
#include "simulator/engine/EffectEngine.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

using Rgb = EffectEngine::Rgb;
using Frame = std::vector<Rgb>;
using ColorType = EffectSettings::ColorType;

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
const int AnimatedModes[] = {2, 3, 4, 5, 8, 10, 11, 12, 13, 17, 18, 19};

// A group of n LEDs with different colours, or all in one colour.
EffectSettings Group(int mode, int n = 12, std::optional<std::uint32_t> color = std::nullopt)
{
    EffectSettings s;
    s.mode = mode;
    for (int i = 0; i < n; ++i)
        s.leds.push_back({color.value_or(0x102030 + 0x0b0507 * i), {}, {}, {}, {}, {}});
    return s;
}

Frame At(const EffectSettings& s, double seconds, std::optional<float> celsius = {}, std::optional<float> level = {},
         std::uint32_t seed = 0)
{
    return EffectEngine::Frame(s, {seconds, celsius, level, seed});
}

double Period(const EffectSettings& s)
{
    return EffectEngine::PeriodSeconds(s.mode, s.effectSpeed);
}

Frame Chosen(const EffectSettings& s)
{
    Frame f;
    for (const auto& led : s.leds)
        f.push_back({std::uint8_t(*led.color), std::uint8_t(*led.color >> 8), std::uint8_t(*led.color >> 16)});
    return f;
}

int Sum(const Rgb& c)
{
    return c.r + c.g + c.b;
}

// The hue in turns of a colour that is not grey.
double Hue(const Rgb& c)
{
    const double r = c.r, g = c.g, b = c.b, hi = std::max({r, g, b}), d = hi - std::min({r, g, b});
    return (hi == r ? std::fmod((g - b) / d + 6.0, 6.0) : hi == g ? (b - r) / d + 2.0 : (r - g) / d + 4.0) / 6.0;
}

// How far hue a lies past hue b round the circle, -0.5 .. 0.5.
double Ahead(double a, double b)
{
    return std::fmod(a - b + 1.5, 1.0) - 0.5;
}

bool Close(const Rgb& a, const Rgb& b)
{
    return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2;
}

} // namespace

class EffectEngineTest : public QObject
{
    Q_OBJECT

private slots:
    void stillEffectsShowTheirColoursAtAnyTime()
    {
        EffectSettings fixed = Group(EffectSettings::Static), unknown = Group(6), sleep = Group(EffectSettings::Sleep);
        EffectSettings off = Group(EffectSettings::Rainbow);
        off.enabled = false;
        // An LED without a packed colour takes its HSL values, without either white.
        fixed.leds[0] = {{}, 2.0f / 3.0f, {}, {}, {}, {}};
        fixed.leds[1].color.reset();
        Frame expected = Chosen(Group(EffectSettings::Static));
        expected[0] = Rgb{0, 0, 255};
        expected[1] = Rgb{255, 255, 255};
        for (double t : {0.0, 0.3, 1234.5, -5.0, Nan, Inf}) {
            QCOMPARE(At(fixed, t), expected);
            QCOMPARE(At(unknown, t), Chosen(unknown));
            QCOMPARE(At(sleep, t), Frame(12));
            QCOMPARE(At(off, t), Frame(12));
        }
        for (const EffectSettings* s : {&fixed, &unknown, &sleep, &off})
            QCOMPARE(EffectEngine::Plan(*s, {}, 30).pace, EffectEngine::Pace::Still);
        for (int mode : AnimatedModes) {
            QVERIFY2(!EffectEngine::IsStill(Group(mode)), qPrintable(QString::number(mode)));
            QCOMPARE(EffectEngine::Plan(Group(mode), {}, 30).intervalSeconds, 1.0 / 30);
        }
        QCOMPARE(EffectEngine::Plan(Group(2), {}, 100000).intervalSeconds, 1.0 / EffectEngine::MaxFps);
    }

    void breathingAndStrobing()
    {
        // At every speed, at 30 frames a second, a breath shows the exact
        // colour, fades to dark and is never brighter than the colour.
        for (int speed = -2; speed <= 2; ++speed) {
            EffectSettings s = Group(EffectSettings::Breathing, 3, 0x3c80ff);
            for (auto& led : s.leds)
                led.speed = speed;
            const Rgb chosen = Chosen(s)[0];
            QVERIFY(At(s, 1.0) != At(s, 1.3));
            int peaks = 0, darkest = INT_MAX;
            for (int frame = 0; frame < 30 * 5; ++frame) {
                const Rgb c = At(s, 7.0 + frame / 30.0)[0];
                peaks += c == chosen;
                darkest = std::min(darkest, Sum(c));
                QVERIFY(c.r <= chosen.r && c.g <= chosen.g && c.b <= chosen.b);
            }
            QVERIFY2(peaks > 0 && darkest == 0, qPrintable(QString::number(speed)));
        }

        // A strobe shows all its colours or nothing, dark for longer than lit.
        const EffectSettings s = Group(EffectSettings::Strobing);
        int lit = 0, dark = 0;
        for (int frame = 0; frame < 60; ++frame) {
            const Frame f = At(s, frame / 30.0);
            lit += f == Chosen(s);
            dark += f == Frame(12);
        }
        QVERIFY(lit + dark == 60 && lit > 0 && dark > lit);

        // Random strobe: one seed and time give one frame; flashes light some
        // LEDs in their own colours and differ from each other and by seed.
        EffectSettings random = Group(EffectSettings::RandomStrobe);
        random.effectSpeed = -2;
        QList<Frame> patterns;
        for (double t = 0.1 * Period(random); t < 8 * Period(random); t += Period(random)) {
            const Frame f = At(random, t, {}, {}, 7);
            QCOMPARE(At(random, t, {}, {}, 7), f);
            const auto on = std::count_if(f.begin(), f.end(), [](Rgb c) { return c != Rgb{}; });
            QVERIFY(on >= 1 && on < 12);
            for (size_t i = 0; i < f.size(); ++i)
                QVERIFY(f[i] == Rgb{} || f[i] == Chosen(random)[i]);
            if (!patterns.contains(f) && At(random, t, {}, {}, 8) != f)
                patterns << f;
        }
        QVERIFY(patterns.size() >= 6);
    }

    void cycleAndRainbowStayInTheArc()
    {
        for (int mode : {int(EffectSettings::ColorCycle), int(EffectSettings::Rainbow)}) {
            for (bool forward : {true, false}) {
                EffectSettings s = Group(mode, 16);
                s.colorType = ColorType::Gradient;
                s.cycleStart = 0.8f; // green-blue .. through red to yellow
                s.cycleRange = 0.35f;
                s.startToEnd = forward;
                for (double t = 0; t < 2 * Period(s); t += Period(s) / 37) {
                    for (const Rgb& c : At(s, t))
                        QVERIFY2(std::fmod(Hue(c) - 0.8 + 1.005, 1.0) < 0.36, qPrintable(QString::number(Hue(c))));
                }
                if (mode == EffectSettings::Rainbow)
                    continue; // its direction is checked with the effects that roll
                // The LEDs turn together from the arc's start (reversed: its end),
                // and so round the whole circle when the colour type is Cycle.
                for (ColorType type : {ColorType::Gradient, ColorType::Cycle}) {
                    s.colorType = type;
                    const Frame first = At(s, 0.0), later = At(s, Period(s) / 20);
                    QVERIFY(std::all_of(first.begin(), first.end(), [&](Rgb c) { return c == first[0]; }));
                    const double start = type == ColorType::Gradient && !forward ? 0.15 : 0.8;
                    QVERIFY(std::fabs(Ahead(Hue(first[0]), start)) < 0.01);
                    QVERIFY((Ahead(Hue(later[0]), Hue(first[0])) > 0.01) == forward);
                }
            }
        }
    }

    void effectsRollAlongTheGroup()
    {
        // After `step` laps each LED shows what its neighbour towards the
        // start showed (reversed: towards the end), from LED `from` on;
        // ripples spread from the middle, so only its second half is checked.
        const struct
        {
            int mode, leds;
            std::optional<std::uint32_t> color;
            double step;
            int from;
        } rolls[] = {{EffectSettings::Rainbow, 16, {}, 1.0 / 16, 0}, {EffectSettings::Comet, 20, 0x00ff00, 1.0 / 25, 0},
                     {EffectSettings::Wave, 24, 0x00ff00, 1.0 / 24, 0},  {EffectSettings::ColorWave, 24, {}, 1.0 / 24, 0},
                     {EffectSettings::Ripple, 24, 0x00ff00, 1.0 / 8, 12}};
        for (const auto& roll : rolls) {
            for (bool forward : {true, false}) {
                EffectSettings s = Group(roll.mode, roll.leds, roll.color);
                s.startToEnd = forward;
                const Frame before = At(s, 0.3 * Period(s)), after = At(s, (0.3 + roll.step) * Period(s));
                const QString row = QStringLiteral("mode %1 %2").arg(roll.mode).arg(forward);
                QVERIFY2(before != after, qPrintable(row));
                for (int i = roll.from; i + 1 < roll.leds; ++i)
                    QVERIFY2(forward ? Close(after[i + 1], before[i]) : Close(after[i], before[i + 1]), qPrintable(row));
                // One colour stays that colour, only brighter or darker.
                for (const Rgb& c : before)
                    QVERIFY2(!roll.color || (c.r == 0 && c.b == 0), qPrintable(row));
                if (roll.mode == EffectSettings::ColorWave)
                    QCOMPARE(At(s, 0.0), Chosen(s));
                for (int i = 0; roll.mode == EffectSettings::Ripple && i < 12; ++i)
                    QCOMPARE(before[i], before[23 - i]);
            }
        }
        // A gradient comet's tail runs from the arc's start at the head towards
        // its end, and nothing lights ahead; a double comet has a second head
        // half a lap (13 LEDs) away.
        EffectSettings g = Group(EffectSettings::DoubleComet, 21);
        g.colorType = ColorType::Gradient;
        g.cycleStart = 0.5f;
        g.cycleRange = 0.25f;
        const Frame f = At(g, Period(g) * 3.0 / 26);
        for (size_t head : {3, 16}) {
            QCOMPARE(f[head], (Rgb{0, 255, 255}));
            QCOMPARE(f[head + 1], Rgb{});
            QVERIFY(Sum(f[head - 1]) < Sum(f[head]) && Ahead(Hue(f[head - 1]), 0.5) > 0.03);
        }
    }

    void outsideInputsDriveTemperatureAndMusic()
    {
        const std::pair<float, Rgb> table[] = {{-10.0f, {0, 0, 255}}, {30.0f, {0, 0, 255}}, {55.0f, {0, 255, 0}},
                                               {80.0f, {255, 0, 0}},  {1e30f, {255, 0, 0}}};
        for (const auto& [celsius, expected] : table) {
            EffectSettings s = Group(EffectSettings::Temperature, 4);
            s.effectSpeed = 2; // steady
            QCOMPARE(At(s, 3.7, celsius), Frame(4, expected));
            QCOMPARE(EffectEngine::Plan(s, {0.0, celsius, {}, 0}, 30).pace, EffectEngine::Pace::FollowsInputs);
            // Faster speeds pulse the colour, which comes back in full.
            s.effectSpeed = 0;
            QVERIFY(At(s, 0.0, celsius) != At(s, 0.5, celsius));
            QCOMPARE(At(s, 0.0, celsius), Frame(4, expected));
        }
        // Without their input, temperature and music breathe gently.
        for (int mode : {int(EffectSettings::Temperature), int(EffectSettings::Music)}) {
            const EffectSettings s = Group(mode, 4);
            int brightest = 0, darkest = INT_MAX;
            for (double t = 0; t < 6.0; t += 0.1) {
                const Frame f = At(s, t, float(Nan), float(Nan));
                QCOMPARE(f, At(s, t));
                brightest = std::max(brightest, Sum(f[0]));
                darkest = std::min(darkest, Sum(f[0]));
            }
            QVERIFY(darkest > 0 && brightest < 255 && brightest > 2 * darkest);
            QCOMPARE(EffectEngine::Plan(s, {}, 30).pace, EffectEngine::Pace::Animated);
        }

        // Music follows the level in every style.
        const auto total = [](const Frame& f) {
            int sum = 0;
            for (const Rgb& c : f)
                sum += Sum(c);
            return sum;
        };
        for (int style : {0, 1, 2, 3, 4, 5, 6, 7, 9, INT_MIN}) {
            EffectSettings s = Group(EffectSettings::Music, 20);
            s.musicIndex = style;
            QCOMPARE(total(At(s, 2.0, {}, 0.0f)), 0);
            QVERIFY(total(At(s, 2.0, {}, 0.2f)) < total(At(s, 2.0, {}, 0.8f)));
            QCOMPARE(At(s, 2.0, {}, 7.0f), At(s, 2.0, {}, 1.0f));
            QCOMPARE(At(s, 2.0, {}, -3.0f), At(s, 2.0, {}, 0.0f));
        }
        // Styles differ; an unknown style is Normal.
        EffectSettings normal = Group(EffectSettings::Music, 20), rock = normal, unknown = normal;
        rock.musicIndex = 3;
        unknown.musicIndex = 9;
        QVERIFY(At(normal, 2.0, {}, 0.5f) != At(rock, 2.0, {}, 0.5f));
        QCOMPARE(At(unknown, 2.0, {}, 0.5f), At(normal, 2.0, {}, 0.5f));
    }

    void speedsMapToBoundedPeriods()
    {
        for (int mode : AnimatedModes) {
            const double slowest = EffectEngine::PeriodSeconds(mode, 2);
            if (mode == EffectSettings::Music || mode == EffectSettings::Temperature) {
                QCOMPARE(slowest, 0.0); // no lap of their own, or a steady colour
                continue;
            }
            for (int speed = -1; speed <= 2; ++speed)
                QVERIFY(EffectEngine::PeriodSeconds(mode, speed) > EffectEngine::PeriodSeconds(mode, speed - 1));
            QCOMPARE(EffectEngine::PeriodSeconds(mode, -2), slowest / 5);
            QCOMPARE(EffectEngine::PeriodSeconds(mode, INT_MAX), slowest);
            QCOMPARE(EffectEngine::PeriodSeconds(mode, INT_MIN), slowest / 5);
        }

        // Nonsense settings, times and inputs still give one colour per LED.
        constexpr float FNan = std::numeric_limits<float>::quiet_NaN();
        for (int mode : {1, 2, 3, 4, 5, 8, 10, 11, 12, 13, 17, 18, 19, 101, 0, INT_MAX, INT_MIN}) {
            for (int n : {0, 1, 3}) {
                EffectSettings s = Group(mode, n, 0xffffffffu);
                s.colorType = ColorType::Gradient;
                s.cycleStart = FNan;
                s.cycleRange = -1e30f;
                s.effectSpeed = INT_MIN;
                s.musicIndex = INT_MAX;
                for (auto& led : s.leds)
                    led = {std::nullopt, FNan, 1e30f, -float(Inf), INT_MAX, INT_MIN};
                for (double t : {0.0, 1e300, -1e300, Nan, Inf, 999999999.999}) {
                    for (float input : {FNan, float(Inf), 1e30f})
                        QCOMPARE(int(At(s, t, input, input, 0xffffffffu).size()), n);
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(EffectEngineTest)
#include "EffectEngineTest.moc"
