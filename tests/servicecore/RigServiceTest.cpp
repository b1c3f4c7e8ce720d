// The service core over a rig whose devices come and go, as a rig behind a
// server that restarts or re-detects them would: the settings of what is gone
// wait for its return, new LEDs get the rig's defaults, the defaults a rig
// keeps survive a restart, and the rig is shown every state that was saved.
#include "simulator/core/Rig.h"
#include "simulator/core/RigService.h"
#include "simulator/core/RigStateStore.h"

#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/StatusParser.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

namespace {

using Layout = RigLayout;

// One device "Group" with the given LEDs, and a keyboard when asked.
Layout Devices(const std::vector<std::string>& leds, bool keyboard)
{
    Layout::Device group{"Group", {}, {{1, "Static"}, {3, "Strobing"}}};
    for (const std::string& key : leds)
        group.leds.push_back({key, "1004", "PellixDram", "ARGB"});
    std::vector<Layout::Device> devices{group};
    if (keyboard)
        devices.push_back({"Keyboard", {{"KB", "1002", "Keyboard", "RGB"}}, {{1, "Static"}}});
    return Layout(devices);
}

// What the devices show as the rig meets them: one colour for every LED.
RigState Showing(const Layout& layout, unsigned color)
{
    RigState state;
    for (const Layout::Device& d : layout.Devices()) {
        for (RigState::Scene& scene : state.devices[d.key].scenes) {
            int position = 0;
            for (const Layout::Led& led : d.leds) {
                scene.leds[led.key].color = color;
                scene.pathOrder[led.key] = position++;
            }
        }
    }
    return state;
}

// A rig that hands over what the test says and remembers what it was shown.
class ScriptedRig : public Rig
{
public:
    std::function<void(RigService&)> begin;
    std::vector<RigState> shown;

    bool KeepsDefaults() const override { return true; }
    void Begin(RigService& service) override
    {
        if (begin)
            begin(service);
    }
    void Show(const RigLayout&, const RigState& state) override { shown.push_back(state); }
};

std::string Static(const std::string& led, unsigned color, const std::string& path = {})
{
    return "<root><header>ORVEL_LUMET</header><version>1.1</version><funcid>4</funcid><device key=\"Group\"><scene>"
           "<state>S0</state><mode key=\"1\">" + path + "<led key=\"" + led + "\"><color>" + std::to_string(color)
        + "</color></led></mode></scene></device></root>";
}

const std::string SwitchOff = "<root><header>ORVEL_LUMET</header><version>1.0</version><funcid>1</funcid>"
                              "<device key=\"Group\"><isenabled>0</isenabled></device></root>";
const std::string Reset = "<root><header>ORVEL_LUMET</header><version>1.0</version><funcid>5</funcid>"
                          "<device key=\"Mainboard\"><resetall /></device></root>";

// The panel's reading of the service: S0 colour per group LED ("-" for none), or "no group".
QString PanelSees(const RigService& service)
{
    CapabilityParser::Result model = CapabilityParser::Parse(service.GetCapability());
    if (!model.group)
        return QStringLiteral("no group");
    StatusParser::ApplyText(service.GetStatus(), model.group.get(), {});
    std::string seen = model.group->IsEnabled() ? "" : "off ";
    for (LedInfo* led : model.group->GetLeds()) {
        const EffectSetting* s0 = led->GetSetting(0);
        seen += led->GetKey() + "=" + (s0 ? std::to_string(s0->color) : "-") + " ";
    }
    const EffectSetting* group = model.group->GetGroupSetting();
    for (const auto& [key, position] : group ? group->pathOrder : std::map<std::string, int>{})
        seen += key + "@" + std::to_string(position) + " ";
    return QString::fromStdString(seen);
}

} // namespace

class RigServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void devicesComeAndGo()
    {
        QTemporaryDir dir;
        auto store = std::make_unique<RigStateStore>(dir.path());
        ScriptedRig rig;
        const Layout first = Devices({"A", "B"}, true);
        rig.begin = [&](RigService& service) { service.SetLayout(first, Showing(first, 255)); };
        auto service = std::make_unique<RigService>(rig, store.get());
        QString error;
        QVERIFY2(service->Start(false, error), qPrintable(error));
        QCOMPARE(PanelSees(*service), QStringLiteral("A=255 B=255 A@0 B@1 "));
        std::string fault;
        QCOMPARE(service->SetProfile("Group", Static("A", 65280), fault), LightingService::Outcome::Applied);

        // A is gone, C is new; the devices now show what they were given, which
        // must not become A's or B's default. The status names neither A nor
        // the keyboard, so the panel never sends them back.
        const Layout second = Devices({"B", "C"}, false);
        service->SetLayout(second, Showing(second, 65280));
        QCOMPARE(PanelSees(*service), QStringLiteral("B=255 C=65280 B@1 C@1 "));
        QVERIFY(service->GetCapability().find("Keyboard") == std::string::npos);
        QCOMPARE(service->SetProfile("Group", Static("A", 1), fault), LightingService::Outcome::Refused);
        const std::string path = "<effect_path_order><order key=\"C\">0</order><order key=\"B\">1</order>"
                                 "</effect_path_order>";
        QCOMPARE(service->SetProfile("Group", Static("B", 16711680, path), fault), LightingService::Outcome::Applied);
        QCOMPARE(rig.shown.size(), size_t(4)); // start, the first profile, the layout, the second profile

        // No server at all: no group, nothing lost. The LED switch still
        // takes, as the panel sends it, for a board the rig does not have.
        service->SetLayout(Layout(), RigState());
        QCOMPARE(PanelSees(*service), QStringLiteral("no group"));
        QCOMPARE(service->SetProfile("Group", Static("B", 1), fault), LightingService::Outcome::Refused);
        QCOMPARE(service->SetProfile("Mainboard", SwitchOff, fault), LightingService::Outcome::Applied);

        // Everything back: A has its colour and its place on the path again.
        const Layout all = Devices({"A", "B", "C"}, true);
        service->SetLayout(all, Showing(all, 1));
        QCOMPARE(PanelSees(*service), QStringLiteral("off A=65280 B=16711680 C=65280 A@0 B@1 C@0 "));
        QCOMPARE(rig.shown.back().devices.at("Keyboard").scenes[0].leds.at("KB").color, 255u);

        // DEFAULT restores what each LED showed when first met, also after a
        // restart that finds no devices at first.
        const QString before = PanelSees(*service);
        service.reset();
        store = std::make_unique<RigStateStore>(dir.path());
        ScriptedRig later;
        RigService restarted(later, store.get());
        QVERIFY2(restarted.Start(false, error), qPrintable(error));
        QCOMPARE(PanelSees(restarted), QStringLiteral("no group"));
        restarted.SetLayout(all, Showing(all, 7));
        QCOMPARE(PanelSees(restarted), before);
        QCOMPARE(restarted.SetProfile("Mainboard", Reset, fault), LightingService::Outcome::Applied);
        QCOMPARE(PanelSees(restarted), QStringLiteral("A=255 B=255 C=65280 A@0 B@1 C@1 "));
    }

    void resetKeepsTheKeptDefaults()
    {
        QTemporaryDir dir;
        const Layout layout = Devices({"A"}, false);
        std::string fault;
        QString error;
        {
            RigStateStore store(dir.path());
            ScriptedRig rig;
            rig.begin = [&](RigService& service) { service.SetLayout(layout, Showing(layout, 255)); };
            RigService service(rig, &store);
            QVERIFY(service.Start(false, error));
            QCOMPARE(service.SetProfile("Group", Static("A", 65280), fault), LightingService::Outcome::Applied);
        }
        RigStateStore store(dir.path());
        ScriptedRig rig;
        rig.begin = [&](RigService& service) { service.SetLayout(layout, Showing(layout, 65280)); };
        RigService service(rig, &store);
        QVERIFY(service.Start(true, error));
        QCOMPARE(PanelSees(service), QStringLiteral("A=255 A@0 "));
        QCOMPARE(rig.shown.size(), size_t(1));
        QCOMPARE(rig.shown[0].devices.at("Group").scenes[0].leds.at("A").color, 255u);
    }

    // A rig's notes on its hardware are kept with the defaults: the first for
    // each key, across a restart with --reset.
    void notesStayWithTheDefaults()
    {
        QTemporaryDir dir;
        const Layout layout = Devices({"A"}, false);
        const std::map<std::string, std::string> kept = {{"A", "mode=Rain<bow>;&colors="}, {"B", "mode=Off"}};
        QString error;
        {
            RigStateStore store(dir.path());
            ScriptedRig rig;
            RigState first = Showing(layout, 255);
            first.notes = {{"A", kept.at("A")}};
            rig.begin = [&](RigService& service) { service.SetLayout(layout, first); };
            RigService service(rig, &store);
            QVERIFY(service.Start(false, error));
            RigState later = Showing(layout, 1);
            later.notes = {{"A", "mode=Direct"}, {"B", kept.at("B")}};
            service.SetLayout(layout, later);
            QCOMPARE(service.Defaults().notes, kept);
        }
        RigStateStore store(dir.path());
        ScriptedRig rig;
        RigService service(rig, &store);
        QVERIFY(service.Start(true, error));
        QCOMPARE(service.Defaults().notes, kept);
    }

    // A change that cannot be saved (its folder removed under the service) is
    // refused with the cause, and neither the state nor what the devices show
    // moves.
    void unsavedChangeIsNeitherKeptNorShown()
    {
        QTemporaryDir dir;
        RigStateStore store(dir.filePath("state"));
        ScriptedRig rig;
        const Layout layout = Devices({"A"}, false);
        rig.begin = [&](RigService& service) { service.SetLayout(layout, Showing(layout, 255)); };
        RigService service(rig, &store);
        QString error;
        QVERIFY(service.Start(false, error));
        const RigState before = service.State();
        QVERIFY(QDir(dir.filePath("state")).removeRecursively());
        std::string fault;
        QCOMPARE(service.SetProfile("Group", Static("A", 65280), fault), LightingService::Outcome::Failed);
        QVERIFY2(fault.find(std::strerror(ENOENT)) != std::string::npos, fault.c_str());
        QVERIFY(service.State() == before);
        QCOMPARE(PanelSees(service), QStringLiteral("A=255 A@0 "));
        QCOMPARE(rig.shown.size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(RigServiceTest)
#include "RigServiceTest.moc"
