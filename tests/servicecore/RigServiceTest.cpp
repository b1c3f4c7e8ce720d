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
#include <memory>

namespace {

using Outcome = LightingService::Outcome;

// One device "Group" with the given LEDs, and a keyboard when asked.
RigLayout Devices(const std::vector<std::string>& leds, bool keyboard)
{
    RigLayout::Device group{"Group", {}, {{1, "Static"}, {3, "Strobing"}}};
    for (const std::string& key : leds)
        group.leds.push_back({key, "1004", "PellixDram", "ARGB"});
    std::vector<RigLayout::Device> devices{group};
    if (keyboard)
        devices.push_back({"Keyboard", {{"KB", "1002", "Keyboard", "RGB"}}, {{1, "Static"}}});
    return RigLayout(devices);
}

// What the devices show as the rig meets them: one colour for every LED.
RigState Showing(const RigLayout& layout, unsigned color, const std::map<std::string, std::string>& notes = {})
{
    RigState state;
    state.notes = notes;
    for (const RigLayout::Device& d : layout.Devices()) {
        for (RigState::Scene& scene : state.devices[d.key].scenes) {
            int position = 0;
            for (const RigLayout::Led& led : d.leds) {
                scene.leds[led.key].color = color;
                scene.pathOrder[led.key] = position++;
            }
        }
    }
    return state;
}

// A started service over a rig that meets the given devices at once and
// remembers what it was shown.
class Running : public Rig
{
public:
    RigStateStore store;
    RigService service{*this, &store};
    std::vector<RigState> shown;

    Running(const QString& folder, const RigLayout& layout, const RigState& showing, bool reset = false)
        : store(folder), layout(layout), showing(showing)
    {
        QString error;
        QVERIFY2(service.Start(reset, error), qPrintable(error));
    }
    bool KeepsDefaults() const override { return true; }
    void Begin(RigService& s) override { s.SetLayout(layout, showing); }
    void Show(const RigLayout&, const RigState& state) override { shown.push_back(state); }
    Outcome Set(const std::string& key, const std::string& document)
    {
        std::string fault;
        return service.SetProfile(key, document, fault);
    }

private:
    RigLayout layout;
    RigState showing;
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
        const RigLayout first = Devices({"A", "B"}, true), second = Devices({"B", "C"}, false);
        const RigLayout all = Devices({"A", "B", "C"}, true);
        auto rig = std::make_unique<Running>(dir.path(), first, Showing(first, 255));
        QCOMPARE(PanelSees(rig->service), QStringLiteral("A=255 B=255 A@0 B@1 "));
        QCOMPARE(rig->Set("Group", Static("A", 65280)), Outcome::Applied);

        // A is gone, C is new; the devices now show what they were given, which
        // must not become A's or B's default. The status names neither A nor
        // the keyboard, so the panel never sends them back.
        rig->service.SetLayout(second, Showing(second, 65280));
        QCOMPARE(PanelSees(rig->service), QStringLiteral("B=255 C=65280 B@1 C@1 "));
        QVERIFY(rig->service.GetCapability().find("Keyboard") == std::string::npos);
        QCOMPARE(rig->Set("Group", Static("A", 1)), Outcome::Refused);
        const std::string path = "<effect_path_order><order key=\"C\">0</order><order key=\"B\">1</order>"
                                 "</effect_path_order>";
        QCOMPARE(rig->Set("Group", Static("B", 16711680, path)), Outcome::Applied);
        QCOMPARE(rig->shown.size(), size_t(4)); // start, the first profile, the layout, the second profile

        // No server at all: no group, nothing lost. The LED switch still
        // takes, as the panel sends it, for a board the rig does not have.
        rig->service.SetLayout(RigLayout(), RigState());
        QCOMPARE(PanelSees(rig->service), QStringLiteral("no group"));
        QCOMPARE(rig->Set("Group", Static("B", 1)), Outcome::Refused);
        QCOMPARE(rig->Set("Mainboard", SwitchOff), Outcome::Applied);

        // Everything back: A has its colour and its place on the path again.
        rig->service.SetLayout(all, Showing(all, 1));
        QCOMPARE(PanelSees(rig->service), QStringLiteral("off A=65280 B=16711680 C=65280 A@0 B@1 C@0 "));
        QCOMPARE(rig->shown.back().devices.at("Keyboard").scenes[0].leds.at("KB").color, 255u);

        // DEFAULT restores what each LED showed when first met, also after a
        // restart that finds no devices at first.
        const QString before = PanelSees(rig->service);
        rig.reset();
        Running restarted(dir.path(), RigLayout(), RigState());
        QCOMPARE(PanelSees(restarted.service), QStringLiteral("no group"));
        restarted.service.SetLayout(all, Showing(all, 7));
        QCOMPARE(PanelSees(restarted.service), before);
        QCOMPARE(restarted.Set("Mainboard", Reset), Outcome::Applied);
        QCOMPARE(PanelSees(restarted.service), QStringLiteral("A=255 B=255 C=65280 A@0 B@1 C@1 "));
    }

    // A restart with --reset shows the defaults kept in the saved state, not
    // what the devices show now, and keeps the rig's notes on its hardware:
    // the first for each key.
    void resetKeepsTheKeptDefaults()
    {
        QTemporaryDir dir;
        const RigLayout layout = Devices({"A"}, false);
        const std::map<std::string, std::string> kept = {{"A", "mode=Rain<bow>;&colors="}, {"B", "mode=Off"}};
        {
            Running rig(dir.path(), layout, Showing(layout, 255, {{"A", kept.at("A")}}));
            QCOMPARE(rig.Set("Group", Static("A", 65280)), Outcome::Applied);
            rig.service.SetLayout(layout, Showing(layout, 1, {{"A", "mode=Direct"}, {"B", kept.at("B")}}));
            QCOMPARE(rig.service.Defaults().notes, kept);
        }
        Running rig(dir.path(), layout, Showing(layout, 65280), true);
        QCOMPARE(PanelSees(rig.service), QStringLiteral("A=255 A@0 "));
        QCOMPARE(rig.shown.size(), size_t(1));
        QCOMPARE(rig.shown[0].devices.at("Group").scenes[0].leds.at("A").color, 255u);
        QCOMPARE(rig.service.Defaults().notes, kept);
    }

    // A change that cannot be saved (its folder removed under the service) is
    // refused with the cause, and neither the state nor what the devices show
    // moves.
    void unsavedChangeIsNeitherKeptNorShown()
    {
        QTemporaryDir dir;
        const RigLayout layout = Devices({"A"}, false);
        Running rig(dir.filePath("state"), layout, Showing(layout, 255));
        const RigState before = rig.service.State();
        QVERIFY(QDir(dir.filePath("state")).removeRecursively());
        std::string fault;
        QCOMPARE(rig.service.SetProfile("Group", Static("A", 65280), fault), Outcome::Failed);
        QVERIFY2(fault.find(std::strerror(ENOENT)) != std::string::npos, fault.c_str());
        QVERIFY(rig.service.State() == before);
        QCOMPARE(PanelSees(rig.service), QStringLiteral("A=255 A@0 "));
        QCOMPARE(rig.shown.size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(RigServiceTest)
#include "RigServiceTest.moc"
