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
Q_DECLARE_METATYPE(EffectSettings::ColorType)
Q_DECLARE_METATYPE(EffectEngine::Rgb)

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

size_t Brightest(const Frame& f)
{
    return size_t(std::max_element(f.begin(), f.end(), [](Rgb a, Rgb b) { return Sum(a) < Sum(b); }) - f.begin());
}

// The hue in turns of a colour that is not grey.
double Hue(const Rgb& c)
{
    const double r = c.r, g = c.g, b = c.b, hi = std::max({r, g, b}), d = hi - std::min({r, g, b});
    const double h = (hi == r ? std::fmod((g - b) / d + 6.0, 6.0) : hi == g ? (b - r) / d + 2.0 : (r - g) / d + 4.0) / 6.0;
    return h;
}

// How far hue a lies past hue b round the circle, -0.5 .. 0.5.
double Ahead(double a, double b)
{
    return std::fmod(a - b + 1.5, 1.0) - 0.5;
}

bool Close(const Rgb& a, const Rgb& b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

} // namespace

class EffectEngineTest : public QObject
{
    Q_OBJECT

private slots:
    void stillEffectsShowTheirColoursAtAnyTime()
    {
        EffectSettings fixed = Group(EffectSettings::Static);
        EffectSettings unknown = Group(6);
        EffectSettings sleep = Group(EffectSettings::Sleep);
        EffectSettings off = Group(EffectSettings::Rainbow);
        off.enabled = false;
        // An LED without a packed colour takes its HSL values, without either white.
        fixed.leds[0].color.reset();
        fixed.leds[0].hue = 2.0f / 3.0f;
        fixed.leds[1].color.reset();
        Frame expected = Chosen(Group(EffectSettings::Static));
        expected[0] = Rgb{0, 0, 255};
        expected[1] = Rgb{255, 255, 255};
        for (double t : {0.0, 0.3, 1234.5, 1e12, -5.0, Nan, Inf}) {
            QCOMPARE(At(fixed, t), expected);
            QCOMPARE(At(unknown, t), Chosen(unknown));
            QCOMPARE(At(sleep, t), Frame(12));
            QCOMPARE(At(off, t), Frame(12));
        }
        for (const EffectSettings* s : {&fixed, &unknown, &sleep, &off}) {
            QVERIFY(EffectEngine::IsStill(*s));
            QCOMPARE(EffectEngine::Plan(*s, {}, 30).pace, EffectEngine::Pace::Still);
        }
        for (int mode : AnimatedModes) {
            QVERIFY2(!EffectEngine::IsStill(Group(mode)), qPrintable(QString::number(mode)));
            QCOMPARE(EffectEngine::Plan(Group(mode), {}, 30).intervalSeconds, 1.0 / 30);
        }
    }

    void breathingFadesAndPeaksAtTheChosenColour()
    {
        for (int speed = -2; speed <= 2; ++speed) {
            EffectSettings s = Group(EffectSettings::Breathing, 3, 0x3c80ff);
            for (auto& led : s.leds)
                led.speed = speed;
            const Rgb chosen = Chosen(s)[0];
            QVERIFY(At(s, 1.0) != At(s, 1.3));
            // At 30 frames a second, one breath shows the exact colour and
            // fades to dark, and no frame is brighter than the colour.
            int peaks = 0, darkest = INT_MAX;
            for (int frame = 0; frame < 30 * 5; ++frame) {
                const Rgb c = At(s, 7.0 + frame / 30.0)[0];
                peaks += c == chosen;
                darkest = std::min(darkest, Sum(c));
                QVERIFY(c.r <= chosen.r && c.g <= chosen.g && c.b <= chosen.b);
            }
            QVERIFY2(peaks > 0, qPrintable(QString::number(speed)));
            QCOMPARE(darkest, 0);
        }
    }

    void strobesFlash()
    {
        const EffectSettings s = Group(EffectSettings::Strobing);
        int lit = 0, dark = 0;
        for (int frame = 0; frame < 60; ++frame) {
            const Frame f = At(s, frame / 30.0);
            if (f == Chosen(s))
                ++lit;
            else if (f == Frame(12))
                ++dark;
        }
        QCOMPARE(lit + dark, 60);
        QVERIFY(lit > 0 && dark > lit);

        // Random strobe: one seed and time give one frame; flashes light some
        // LEDs in their own colours and differ from each other and by seed.
        EffectSettings random = Group(EffectSettings::RandomStrobe);
        random.effectSpeed = -2;
        const double flash = EffectEngine::PeriodSeconds(random.mode, random.effectSpeed);
        QList<Frame> patterns;
        for (double t = 0.1 * flash; t < 8 * flash; t += flash) {
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

    void cycleAndRainbowTurnThroughTheArc_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<ColorType>("type");
        QTest::addColumn<bool>("forward");
        for (int mode : {int(EffectSettings::ColorCycle), int(EffectSettings::Rainbow)}) {
            for (ColorType type : {ColorType::Cycle, ColorType::Gradient}) {
                for (bool forward : {true, false}) {
                    QTest::addRow("%d %s %s", mode, type == ColorType::Cycle ? "cycle" : "gradient",
                                  forward ? "forward" : "reversed")
                        << mode << type << forward;
                }
            }
        }
    }
    void cycleAndRainbowTurnThroughTheArc()
    {
        QFETCH(int, mode);
        QFETCH(ColorType, type);
        QFETCH(bool, forward);
        EffectSettings s = Group(mode, 16);
        s.colorType = type;
        s.cycleStart = 0.8f; // green-blue .. through red to yellow
        s.cycleRange = 0.35f;
        s.startToEnd = forward;
        const double period = EffectEngine::PeriodSeconds(mode, 0);
        for (double t = 0; t < 2 * period; t += period / 37) {
            for (const Rgb& c : At(s, t)) {
                if (type == ColorType::Gradient)
                    QVERIFY2(std::fmod(Hue(c) - 0.8 + 1.005, 1.0) < 0.36, qPrintable(QString::number(Hue(c))));
            }
        }
        if (mode == EffectSettings::ColorCycle) {
            // The LEDs turn together; a gradient starts at its start, reversed at its end.
            const Frame first = At(s, 0.0), later = At(s, period / 20);
            QVERIFY(std::all_of(first.begin(), first.end(), [&](Rgb c) { return c == first[0]; }));
            const double expectedFirst = type == ColorType::Gradient && !forward ? 0.15 : 0.8;
            QVERIFY(std::fabs(Ahead(Hue(first[0]), expectedFirst)) < 0.01);
            QVERIFY((Ahead(Hue(later[0]), Hue(first[0])) > 0.01) == forward);
        } else {
            // The pattern rolls one LED along the group per sixteenth of a lap.
            const Frame before = At(s, 1.0), after = At(s, 1.0 + period / 16);
            for (int i = 1; i < 15; ++i)
                QVERIFY2(Close(after[forward ? i : i - 1], before[forward ? i - 1 : i], 2), qPrintable(QString::number(i)));
        }
    }

    void cometsRunAlongTheGroup()
    {
        for (bool forward : {true, false}) {
            EffectSettings s = Group(EffectSettings::Comet, 20, 0x00ff00);
            s.startToEnd = forward;
            const double period = EffectEngine::PeriodSeconds(s.mode, 0);
            // The lap is the group plus a tail of five: one LED a twenty-fifth of it.
            size_t head = Brightest(At(s, period * 2.0 / 25));
            QCOMPARE(head, forward ? size_t(2) : size_t(17));
            for (int step = 3; step < 19; ++step) {
                const Frame f = At(s, period * step / 25);
                QCOMPARE(Brightest(f), forward ? head + 1 : head - 1);
                head = Brightest(f);
                // The tail fades behind the head and nothing lights ahead of it.
                const size_t behind = forward ? head - 1 : head + 1, ahead = forward ? head + 1 : head - 1;
                QVERIFY(Sum(f[behind]) < Sum(f[head]) && Sum(f[behind]) > 0);
                QVERIFY(ahead >= f.size() || f[ahead] == Rgb{});
                QVERIFY(f[head].r == 0 && f[head].b == 0);
            }
        }
        // A gradient tail runs from the arc's start at the head towards its
        // end; a double comet has a second head half a lap (13 LEDs) away.
        EffectSettings g = Group(EffectSettings::DoubleComet, 21);
        g.colorType = ColorType::Gradient;
        g.cycleStart = 0.5f;
        g.cycleRange = 0.25f;
        const Frame f = At(g, EffectEngine::PeriodSeconds(g.mode, 0) * 3.0 / 26);
        for (size_t head : {3, 16}) {
            QCOMPARE(f[head], (Rgb{0, 255, 255}));
            QCOMPARE(f[head + 1], Rgb{});
            QVERIFY(Sum(f[head - 1]) < Sum(f[head]) && Ahead(Hue(f[head - 1]), 0.5) > 0.03);
        }
    }

    void wavesRoll()
    {
        for (bool forward : {true, false}) {
            EffectSettings wave = Group(EffectSettings::Wave, 24, 0xffffff);
            wave.startToEnd = forward;
            const double period = EffectEngine::PeriodSeconds(wave.mode, wave.effectSpeed);
            const size_t crest = Brightest(At(wave, 0.25 * period));
            QCOMPARE(crest, forward ? size_t(6) : size_t(17));
            QCOMPARE(Brightest(At(wave, 0.5 * period)), forward ? crest + 6 : crest - 6);

            // The colour wave moves the chosen colours one LED on per 1/24 of its lap.
            EffectSettings colors = Group(EffectSettings::ColorWave, 24);
            colors.startToEnd = forward;
            const Frame start = At(colors, 0.0), step = At(colors, period / 24);
            QCOMPARE(start, Chosen(colors));
            for (int i = 1; i < 23; ++i)
                QVERIFY(Close(step[forward ? i : i - 1], start[forward ? i - 1 : i], 1));

            // Ripples spread from the middle, or gather there when the LEDs run backwards.
            EffectSettings ripple = Group(EffectSettings::Ripple, 24, 0xffffff);
            for (auto& led : ripple.leds)
                led.direction = forward ? 1 : -1;
            // An eighth of a lap moves the rings one LED.
            const Frame a = At(ripple, 0.1 * period), b = At(ripple, 0.225 * period);
            for (int i = 0; i < 12; ++i)
                QCOMPARE(a[i], a[23 - i]);
            for (int i = 12; i < 23; ++i)
                QVERIFY(Close(b[forward ? i + 1 : i], a[forward ? i : i + 1], 1));
        }
    }

    void temperatureGoesFromBlueToRed_data()
    {
        QTest::addColumn<float>("celsius");
        QTest::addColumn<Rgb>("expected");
        QTest::newRow("cold") << -10.0f << Rgb{0, 0, 255};
        QTest::newRow("cool end") << 30.0f << Rgb{0, 0, 255};
        QTest::newRow("halfway") << 55.0f << Rgb{0, 255, 0};
        QTest::newRow("hot end") << 80.0f << Rgb{255, 0, 0};
        QTest::newRow("beyond") << 1e30f << Rgb{255, 0, 0};
    }
    void temperatureGoesFromBlueToRed()
    {
        QFETCH(float, celsius);
        QFETCH(Rgb, expected);
        EffectSettings s = Group(EffectSettings::Temperature, 4);
        s.effectSpeed = 2; // steady
        QCOMPARE(At(s, 3.7, celsius), Frame(4, expected));
        QCOMPARE(EffectEngine::Plan(s, {0.0, celsius, {}, 0}, 30).pace, EffectEngine::Pace::FollowsInputs);
        // Faster speeds pulse the colour, which comes back in full.
        s.effectSpeed = 0;
        QVERIFY(At(s, 0.0, celsius) != At(s, 0.5, celsius));
        QCOMPARE(At(s, 0.0, celsius), Frame(4, expected));
    }

    void withoutInputTemperatureAndMusicBreatheGently()
    {
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
    }

    void musicFollowsTheLevel()
    {
        for (int style : {0, 1, 2, 3, 4, 5, 6, 7, 9, INT_MIN}) {
            EffectSettings s = Group(EffectSettings::Music, 20);
            s.musicIndex = style;
            const auto total = [&](float level) {
                int sum = 0;
                for (const Rgb& c : At(s, 2.0, {}, level))
                    sum += Sum(c);
                return sum;
            };
            QCOMPARE(total(0.0f), 0);
            QVERIFY(total(0.2f) < total(0.8f));
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
        const double breathSlow = EffectEngine::PeriodSeconds(EffectSettings::Breathing, 2);
        QVERIFY(breathSlow >= 4.0 && breathSlow <= 6.0);
        QVERIFY(std::fabs(EffectEngine::PeriodSeconds(EffectSettings::Breathing, -2) - 1.0) < 0.25);
        QVERIFY(EffectEngine::PeriodSeconds(EffectSettings::Strobing, -2) < 0.5);
        QCOMPARE(EffectEngine::Plan(Group(2), {}, 100000).intervalSeconds, 1.0 / EffectEngine::MaxFps);
    }

    void nonsenseSettingsGiveFramesOfTheGroupsSize()
    {
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
