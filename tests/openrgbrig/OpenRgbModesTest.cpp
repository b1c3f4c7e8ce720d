// vornlight-service against the OpenRGB server whose devices declare the
// hardware modes real memory modules and boards report: a module whose speed
// ranges run backwards (4 slowest, 0 fastest) and a board whose modes take
// colours of their own. Read back with a second SDK client.
#include "tests/openrgbrig/OpenRgbRigProcess.h"

#include "profile/FixedProfile.h"
#include "simulator/openrgb/OpenRgbClient.h"

#include <QtTest>

namespace {

using Devices = OpenRgbRigProcess::Devices;
using OpenRgb::Color;

// The server lists the module first, then the board.
constexpr size_t Module = 0;
constexpr size_t Board = 1;

const Color Green{0, 255, 0};
const Color Sky{0, 128, 255};

// The active mode's name, speed, direction and own colours, as one text that
// a failing comparison shows whole.
std::string Running(const OpenRgb::Device& d)
{
    const OpenRgb::Mode* m = d.ActiveMode();
    if (!m)
        return "none";
    std::string text = m->name + " speed " + std::to_string(m->speed) + " direction " + std::to_string(m->direction);
    for (const Color& c : m->colorMode == OpenRgb::ColorMode::ModeSpecific ? m->colors : std::vector<Color>())
        text += " colour " + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    return text;
}

bool Runs(const Devices& d, size_t device, const std::string& running)
{
    return d.size() == 2 && Running(d[device]) == running;
}

// The server, then the service with extra; before the service meets them,
// the module runs its rainbow slowly to the right, the board its static mode
// in its own colour.
void StartWithFirstModes(OpenRgbRigProcess& rig, const QStringList& extra)
{
    QVERIFY2(rig.server.Start(), qPrintable(rig.server.Error()));
    OpenRgbClient client;
    QVERIFY(client.Connect("127.0.0.1", rig.server.Port()));
    const std::optional<Devices> devices = client.Controllers();
    QVERIFY2(devices && devices->size() == 2, client.Error().c_str());
    const int rainbow = (*devices)[Module].FindMode("Rainbow");
    OpenRgb::Mode slow = (*devices)[Module].modes[size_t(rainbow)];
    slow.speed = 3;
    slow.direction = 1;
    QVERIFY(client.UpdateMode(Module, uint32_t(rainbow), slow));
    const int still = (*devices)[Board].FindMode("Static");
    OpenRgb::Mode sky = (*devices)[Board].modes[size_t(still)];
    sky.colors = {Sky};
    QVERIFY(client.UpdateMode(Board, uint32_t(still), sky));
    QVERIFY(rig.WaitFor([](const Devices& d) {
        return Runs(d, Module, "Rainbow speed 3 direction 1")
            && Runs(d, Board, "Static speed 0 direction 0 colour 0,128,255");
    }));
    QVERIFY2(rig.Start(extra), qPrintable(rig.Problem()));
}

} // namespace

class OpenRgbModesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (OpenRgbServer::Folder().isEmpty())
            QSKIP("the OpenRGB test server is not beside the source tree");
    }

    // By default every device with a Direct mode shows the engine's frames,
    // whatever mode it ran before.
    void framesByDefault()
    {
        OpenRgbRigProcess rig(OpenRgbServer::Devices::Modes);
        StartWithFirstModes(rig, {});
        if (QTest::currentTestFailed())
            return;
        QVERIFY(OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(2, 0xff00, "-2")).type()
                == QDBusMessage::ReplyMessage);
        QVERIFY2(rig.WaitFor([](const Devices& d) {
                     return Runs(d, Module, "Direct speed 0 direction 0")
                         && Runs(d, Board, "Direct speed 0 direction 0");
                 }),
                 Running(rig.Last().at(Module)).c_str());
    }

    // With hardware modes, the devices run the effects they have modes for,
    // at speeds spread over their ranges whichever way these run, in the
    // colours of the LEDs; the rest shows frames. The switch uses the Off
    // mode where there is one; DEFAULT sets every first mode again.
    void hardwareModes()
    {
        OpenRgbRigProcess rig(OpenRgbServer::Devices::Modes);
        StartWithFirstModes(rig, {QStringLiteral("--hardware-modes")});
        if (QTest::currentTestFailed())
            return;
        auto expect = [&](const std::string& module, const std::string& board) {
            if (!rig.WaitFor([&](const Devices& d) { return Runs(d, Module, module) && Runs(d, Board, board); }))
                return "module: " + Running(rig.Last().at(Module)) + "; board: " + Running(rig.Last().at(Board));
            return std::string();
        };
        auto apply = [](const std::string& document, const char* key = "Group") {
            return OpenRgbRigProcess::Apply(document, key).type() == QDBusMessage::ReplyMessage;
        };

        QVERIFY(apply(OpenRgbRigProcess::Profile(2, 0xff00, "-2")));
        std::string missed = expect("Breathing speed 0 direction 0", "Breathing speed 5 direction 0 colour 0,255,0");
        QVERIFY2(missed.empty(), missed.c_str());
        QVERIFY(OpenRgbRigProcess::Shows(rig.Last(), rig.Last()[Module].name, Green));
        QVERIFY(apply(OpenRgbRigProcess::Profile(2, 0xff00, "1")));
        missed = expect("Breathing speed 3 direction 0", "Breathing speed 2 direction 0 colour 0,255,0");
        QVERIFY2(missed.empty(), missed.c_str());

        // The board has no rainbow: it shows frames beside the module's own.
        QVERIFY(apply(OpenRgbRigProcess::Profile(5, 0xff00, "na", OpenRgbRigProcess::RainbowValues(2, false))));
        missed = expect("Rainbow speed 4 direction 0", "Direct speed 0 direction 0");
        QVERIFY2(missed.empty(), missed.c_str());
        QVERIFY(rig.WaitFor([](const Devices& d) { return d[Board].colors[0] != d[Board].colors[20]; }));

        QVERIFY(apply(FixedProfile::LedSwitch(false), FixedProfile::TargetKey));
        missed = expect("Off speed 0 direction 0", "Direct speed 0 direction 0");
        QVERIFY2(missed.empty(), missed.c_str());
        QVERIFY(rig.WaitFor([](const Devices& d) { return OpenRgbRigProcess::Shows(d, d[Board].name, {0, 0, 0}); }));
        QVERIFY(apply(FixedProfile::LedSwitch(true), FixedProfile::TargetKey));
        missed = expect("Rainbow speed 4 direction 0", "Direct speed 0 direction 0");
        QVERIFY2(missed.empty(), missed.c_str());

        QVERIFY(apply(FixedProfile::ResetAll(), FixedProfile::TargetKey));
        missed = expect("Rainbow speed 3 direction 1", "Static speed 0 direction 0 colour 0,128,255");
        QVERIFY2(missed.empty(), missed.c_str());
    }
};

QTEST_GUILESS_MAIN(OpenRgbModesTest)
#include "OpenRgbModesTest.moc"
