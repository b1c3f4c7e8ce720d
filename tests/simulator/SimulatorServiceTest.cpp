// The simulated lighting service over D-Bus: the fixed documents it serves,
// its journal, the rig's documents as the panel's own parsers read them, the
// profiles the panel builds, and the documents it must refuse.
#include "SimulatorProcess.h"

#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "model/StatusParser.h"
#include "profile/EffectProfile.h"
#include "profile/FixedProfile.h"
#include "service/ServiceText.h"

#include <QDBusError>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString DataDir = QStringLiteral(LUMET_TEST_DATA "/../../simulator/data");

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string Narrow(const QString& text)
{
    return ServiceText::Narrow(text.toStdU16String());
}

QString Widen(const std::string& text)
{
    return QString::fromStdU16String(ServiceText::Widen(text));
}

// The device model as the panel builds it from the service's two documents.
struct PanelModel
{
    std::unique_ptr<DeviceMaster> group;
    std::vector<std::unique_ptr<DeviceMaster>> devices;
    StatusParser::DeviceIndex index;

    static PanelModel Load()
    {
        CapabilityParser::Result read = CapabilityParser::Parse(Narrow(SimulatorProcess::Fetch("GetCapability")));
        PanelModel model{std::move(read.group), std::move(read.devices), {}};
        for (const auto& device : model.devices)
            model.index[device->GetKey()] = device.get();
        StatusParser::ApplyText(Narrow(SimulatorProcess::Fetch("GetStatus")), model.group.get(), model.index);
        return model;
    }

    EffectSetting* Led(const std::string& key, int scene = 0) const
    {
        LedInfo* led = group->FindLed(key);
        return led ? led->GetSetting(scene) : nullptr;
    }
};

QString ModeKey(const EffectSetting* setting)
{
    return setting && setting->mode ? QString::fromStdString(setting->mode->GetKey()) : QString();
}

// An effect profile the way the panel sends it on APPLY: built from the
// group's current settings, widened, sent with the key "Group".
QDBusMessage Apply(const PanelModel& model, int effect, const EffectProfile::Parts& parts)
{
    const std::string profile = EffectProfile::Build(model.group.get(), "Group", effect, parts);
    return SimulatorProcess::SetProfile(QStringLiteral("Group"), Widen(profile));
}

const char* const StaticProfile =
    "<root><header>ORVEL_LUMET</header><version>1.1</version><funcid>4</funcid><device key=\"Group\"><scene>"
    "<state>S0</state><mode key=\"1\"><iscolorsynced>0</iscolorsynced><led key=\"DIMM_A1\"><color>65280</color>"
    "<hue>0.333333</hue><saturation>1.000000</saturation><lightness>0.500000</lightness><speed>na</speed>"
    "<direction>na</direction></led></mode></scene></device></root>";

} // namespace

class SimulatorServiceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    std::unique_ptr<SimulatorProcess> StartRig(const QStringList& extra = {})
    {
        auto rig = std::make_unique<SimulatorProcess>(QStringList{"--state-dir", dir.path() + "/state"} + extra);
        if (!rig->Start())
            qWarning("the simulator did not start: %s", qPrintable(rig->ErrorOutput()));
        return rig;
    }

private slots:
    void fixedDocumentsServedAndJournaled()
    {
        // Odd but legal bytes: a CR LF, a tab, trailing blanks, no final line end.
        const QByteArray capability = ReadFile(DataDir + "/capability.xml") + "\r\n<!-- \t -->  ";
        const QByteArray status = "<root><header>ORVEL_LUMET</header>\r\n\t</root>";
        WriteFile(dir.path() + "/cap.xml", capability);
        WriteFile(dir.path() + "/status.xml", status);
        const QString journalPath = dir.path() + "/journal.jsonl";

        SimulatorProcess sim({"--capability", dir.path() + "/cap.xml", "--status", dir.path() + "/status.xml",
                              "--journal", journalPath});
        QVERIFY(sim.Start());
        QCOMPARE(SimulatorProcess::Fetch("GetCapability").toLatin1(), capability);
        QCOMPARE(SimulatorProcess::Fetch("GetStatus").toLatin1(), status);

        const QString off = Widen(FixedProfile::LedSwitch(false));
        QCOMPARE(SimulatorProcess::SetProfile("Mainboard", off).type(), QDBusMessage::ReplyMessage);
        // Checked against the served capability, but never applied.
        QCOMPARE(SimulatorProcess::Fetch("GetStatus").toLatin1(), status);
        const QString awkward = QStringLiteral("<root>\"quoted\"\\ back\nline\ttab\x01</root>");
        const QDBusMessage refused = SimulatorProcess::SetProfile("Group", awkward);
        QCOMPARE(refused.type(), QDBusMessage::ErrorMessage);
        QVERIFY2(refused.errorMessage().contains("wrong header"), qPrintable(refused.errorMessage()));

        const QDBusMessage exchange = SimulatorProcess::Call("Exchange", {QStringLiteral("<root/>")});
        QCOMPARE(exchange.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(exchange.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NotSupported"));
        QVERIFY(exchange.errorMessage().contains("not supported"));

        const QList<QByteArray> lines = ReadFile(journalPath).split('\n');
        QCOMPARE(lines.size(), 7); // six calls and the empty text after the last line end
        QVERIFY(lines.last().isEmpty());
        QList<QJsonObject> calls;
        for (int i = 0; i < 6; ++i) {
            QJsonParseError error;
            const QJsonDocument json = QJsonDocument::fromJson(lines[i], &error);
            QVERIFY2(error.error == QJsonParseError::NoError, lines[i].constData());
            QVERIFY(lines[i].startsWith("{\"op\":"));
            calls << json.object();
        }
        QCOMPARE(calls[0], QJsonObject({{"op", "GetCapability"}}));
        QCOMPARE(calls[1], QJsonObject({{"op", "GetStatus"}}));
        QCOMPARE(calls[2], QJsonObject({{"op", "SetProfile"}, {"key", "Mainboard"}, {"document", off}}));
        QCOMPARE(calls[4], QJsonObject({{"op", "SetProfile"}, {"key", "Group"}, {"document", awkward}}));
        QCOMPARE(calls[5], QJsonObject({{"op", "Exchange"}, {"document", "<root/>"}}));
    }

    void takenNameAndHelp()
    {
        auto first = StartRig({"--reset"});
        QVERIFY(SimulatorProcess::IsNameOwned());
        QCOMPARE(SimulatorProcess::SetProfile("Group", StaticProfile).type(), QDBusMessage::ReplyMessage);
        const QByteArray saved = ReadFile(dir.path() + "/state/rig-state.xml");
        // A second instance leaves the running one's saved state alone, even with --reset.
        QProcess second;
        second.start(SimulatorProcess::Program(), {"--state-dir", dir.path() + "/state", "--reset"});
        QVERIFY(second.waitForFinished(10000));
        QVERIFY(second.exitCode() != 0);
        QVERIFY2(second.readAllStandardError().contains("already taken"), "no message on a taken bus name");
        QCOMPARE(ReadFile(dir.path() + "/state/rig-state.xml"), saved);

        QProcess help;
        help.start(SimulatorProcess::Program(), {"--help"});
        QVERIFY(help.waitForFinished(10000));
        QCOMPARE(help.exitCode(), 0);
        const QByteArray text = help.readAllStandardOutput();
        for (const char* option : {"--capability", "--status", "--journal", "--state-dir", "--reset", "--help"})
            QVERIFY2(text.contains(option), option);

        QProcess half;
        half.start(SimulatorProcess::Program(), {"--capability", dir.path() + "/cap.xml"});
        QVERIFY(half.waitForFinished(10000));
        QVERIFY(half.exitCode() != 0);
    }

    void rigServesTheDefaultFixtures()
    {
        auto rig = StartRig({"--reset"});
        QCOMPARE(SimulatorProcess::Fetch("GetCapability").toLatin1(), ReadFile(DataDir + "/capability.xml"));
        QCOMPARE(SimulatorProcess::Fetch("GetStatus").toLatin1(), ReadFile(DataDir + "/status.xml"));
    }

    void panelReadsTheRig()
    {
        auto rig = StartRig({"--reset"});
        const PanelModel model = PanelModel::Load();
        QVERIFY(model.group);
        const std::vector<LedInfo*> leds = model.group->GetLeds();
        QVERIFY(leds.size() > 6);
        QCOMPARE(QString::fromStdString(leds[0]->GetName()), QStringLiteral("Pellix\nDram"));
        QCOMPARE(QString::fromStdString(leds[0]->GetLocation()), QStringLiteral("1004"));
        QCOMPARE(QString::fromStdString(leds[4]->GetKey()), QStringLiteral("MB_IO"));
        QStringList modes;
        for (ModeInfo* mode : model.group->GetModes()->GetModes())
            modes << QString::fromStdString(mode->GetKey());
        QCOMPARE(modes.join(','), QStringLiteral("1,2,3,4,5,8,10,11,12,13,17,18,19,101"));
        // The keyboard is a peripheral: only the board is registered.
        QCOMPARE(model.devices.size(), size_t(1));
        QCOMPARE(QString::fromStdString(model.devices[0]->GetKey()), QStringLiteral("Mainboard"));

        QVERIFY(model.group->IsEnabled());
        const EffectSetting* group = model.group->GetGroupSetting();
        QVERIFY(group);
        QCOMPARE(ModeKey(group), QStringLiteral("1"));
        QCOMPARE(group->colorType, 0);
        QCOMPARE(group->cycleEnd, 1.0f);
        QCOMPARE(group->endToStart, false);
        QCOMPARE(group->pathOrder.size(), leds.size());
        for (LedInfo* led : leds) {
            const EffectSetting* s0 = led->GetSetting(0);
            QVERIFY2(s0 && s0->mode, led->GetKey().c_str());
            QCOMPARE(s0->saturation, 1.0f);
            QCOMPARE(s0->lightness, 0.5f);
        }
        QCOMPARE(model.Led("DIMM_A1")->color, 255);
        QCOMPARE(model.Led("MB_IO")->color, 16776960); // hue 0.5: cyan
        // The group's other scene lands on the board's LEDs.
        LedInfo* boardLed = model.devices[0]->FindLed("MB_PCH");
        QVERIFY(boardLed && boardLed->GetSetting(1));
        QCOMPARE(boardLed->GetSetting(1)->lightness, 0.25f);
        QVERIFY(!leds[0]->GetSetting(1));
    }

    void ledSwitchAndReset()
    {
        auto rig = StartRig({"--reset"});
        const QString defaults = SimulatorProcess::Fetch("GetStatus");
        QCOMPARE(SimulatorProcess::SetProfile("Mainboard", Widen(FixedProfile::LedSwitch(false))).type(),
                 QDBusMessage::ReplyMessage);
        QVERIFY(!PanelModel::Load().group->IsEnabled());
        QCOMPARE(SimulatorProcess::SetProfile("Mainboard", Widen(FixedProfile::LedSwitch(true))).type(),
                 QDBusMessage::ReplyMessage);
        QVERIFY(PanelModel::Load().group->IsEnabled());

        QCOMPARE(SimulatorProcess::SetProfile("Group", StaticProfile).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(SimulatorProcess::SetProfile("Mainboard", Widen(FixedProfile::LedSwitch(false))).type(),
                 QDBusMessage::ReplyMessage);
        QVERIFY(SimulatorProcess::Fetch("GetStatus") != defaults);
        QCOMPARE(SimulatorProcess::SetProfile("Mainboard", Widen(FixedProfile::ResetAll())).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), defaults);
    }

    void effectProfilesChangeTheStatus()
    {
        using P = EffectProfile;
        auto rig = StartRig({"--reset"});

        // Rainbow: every effect-wide value travels in the group block.
        PanelModel model = PanelModel::Load();
        EffectSetting* group = model.group->GetGroupSetting();
        group->colorType = 2;
        group->cycleStart = 0.25f;
        group->cycleEnd = 1.25f;
        group->cycleRange = 1.0f;
        group->endToStart = true;
        group->effectSpeed = -2;
        group->pathOrder = {{"MB_IO", 0}, {"DIMM_A1", 3}};
        QDBusMessage reply = Apply(model, 5, P::Parts(P::LedValues::Colour, P::GroupBlock::Rainbow()));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        model = PanelModel::Load();
        group = model.group->GetGroupSetting();
        QCOMPARE(ModeKey(group), QStringLiteral("5"));
        QCOMPARE(group->colorType, 2);
        QCOMPARE(group->cycleStart, 0.25f);
        QCOMPARE(group->cycleEnd, 1.25f);
        QCOMPARE(group->endToStart, true);
        QCOMPARE(group->effectSpeed, -2);
        QCOMPARE(group->pathOrder, (std::map<std::string, int>{{"DIMM_A1", 3}, {"MB_IO", 0}}));
        QCOMPARE(ModeKey(model.Led("DIMM_B2")), QStringLiteral("5"));

        // Static: one LED turned blue; the effect-wide values stay.
        EffectSetting* led = model.Led("DIMM_B1");
        led->color = 16711680;
        led->hue = 2.0f / 3.0f;
        led->lightness = 0.4f;
        reply = Apply(model, 1, P::Parts(P::LedValues::Colour));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        model = PanelModel::Load();
        QCOMPARE(ModeKey(model.group->GetGroupSetting()), QStringLiteral("1"));
        QCOMPARE(model.Led("DIMM_B1")->color, 16711680);
        QCOMPARE(model.Led("DIMM_B1")->hue, 0.666667f);
        QCOMPARE(model.Led("DIMM_B1")->lightness, 0.4f);
        QCOMPARE(model.group->GetGroupSetting()->effectSpeed, -2);

        // Wave 13 sends no speed: the one in force stays. The LED speeds do travel.
        model.group->GetGroupSetting()->effectSpeed = 2;
        model.Led("MB_AUDIO")->speed = 1;
        reply = Apply(model, 13, P::Parts(P::LedValues::ColourAndSpeed, P::GroupBlock::Wave(false)));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        model = PanelModel::Load();
        QCOMPARE(ModeKey(model.group->GetGroupSetting()), QStringLiteral("13"));
        QCOMPARE(model.group->GetGroupSetting()->effectSpeed, -2);
        QCOMPARE(model.Led("MB_AUDIO")->speed, 1);

        // Music writes "na" for every LED value: the colours are kept for later.
        reply = Apply(model, 19, P::Parts(P::LedValues::None).WithMusicIndex(2));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        model = PanelModel::Load();
        QCOMPARE(model.group->GetGroupSetting()->musicIndex, 2);
        QCOMPARE(model.Led("DIMM_B1")->color, 16711680);
        // The other power states were never touched.
        QCOMPARE(model.devices[0]->FindLed("MB_IO")->GetSetting(1)->lightness, 0.25f);
    }

    void badDocumentsRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("fault"); // empty: the document is sound and changes the status

        const QString good = StaticProfile;
        auto with = [&](const char* from, const char* to) { return QString(good).replace(from, to); };
        QTest::newRow("sound") << "Group" << good << "";
        QTest::newRow("empty") << "Group" << "" << "does not parse";
        QTest::newRow("unclosed") << "Group" << good.left(60) << "does not parse";
        QTest::newRow("two roots") << "Group" << good + "<root/>" << "exactly one root";
        QTest::newRow("header") << "Group" << with("ORVEL_LUMET", "ORVEL_LUMEX") << "wrong header \"ORVEL_LUMEX\"";
        QTest::newRow("funcid") << "Group" << with("<funcid>4", "<funcid>7") << "unknown funcid \"7\"";
        QTest::newRow("funcid text") << "Group" << with("<funcid>4", "<funcid>4x") << "unknown funcid \"4x\"";
        QTest::newRow("version") << "Group" << with("1.1", "1.0") << "wrong version \"1.0\"";
        QTest::newRow("peripheral device") << "Vga" << with("\"Group\"", "\"Vga\"") << "unknown device \"Vga\"";
        QTest::newRow("target") << "Nowhere" << good << "unknown target device \"Nowhere\"";
        QTest::newRow("key and device differ") << "Mainboard" << good << "differ";
        QTest::newRow("mode") << "Group" << with("mode key=\"1\"", "mode key=\"7\"") << "unknown mode \"7\"";
        QTest::newRow("mode text") << "Group" << with("mode key=\"1\"", "mode key=\"one\"") << "unknown mode \"one\"";
        QTest::newRow("board mode") << "Mainboard" << with("\"Group\"", "\"Mainboard\"").replace("DIMM_A1", "MB_IO")
                                    .replace("key=\"1\"", "key=\"19\"") << "unknown mode \"19\"";
        QTest::newRow("state") << "Group" << with("<state>S0", "<state>S3") << "unknown state \"S3\"";
        QTest::newRow("led") << "Group" << with("DIMM_A1", "DIMM_C1") << "unknown LED \"DIMM_C1\"";
        QTest::newRow("colour") << "Group" << with("65280", "16777216") << "color \"16777216\" is out of range";
        QTest::newRow("negative colour") << "Group" << with("65280", "-1") << "color \"-1\" is out of range";
        QTest::newRow("hue") << "Group" << with("0.333333", "1.5") << "hue \"1.5\" is out of range";
        QTest::newRow("decimal comma") << "Group" << with("0.333333", "0,333333") << "hue \"0,333333\" is not a number";
        QTest::newRow("speed") << "Group" << with("<speed>na", "<speed>9") << "speed \"9\" is out of range";
        QTest::newRow("effect speed")
            << "Group" << with("<led ", "<effect_speed>3</effect_speed><led ") << "effect_speed \"3\" is out of range";
        QTest::newRow("colour type")
            << "Group" << with("<led ", "<color_type>Sparkle</color_type><led ") << "color_type \"Sparkle\"";
        QTest::newRow("order key")
            << "Group" << with("<led ", "<effect_path_order><order key=\"Nope\">1</order></effect_path_order><led ")
            << "order key \"Nope\"";
        QTest::newRow("switch value") << "Mainboard" << QString::fromStdString(FixedProfile::LedSwitch(true))
                                         .replace("<isenabled>1", "<isenabled>yes") << "isenabled \"yes\"";
        QTest::newRow("reset without resetall")
            << "Mainboard" << QString::fromStdString(FixedProfile::ResetAll()).replace("<resetall />", "")
            << "resetall";
    }

    void badDocumentsRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, document);
        QFETCH(QString, fault);
        auto rig = StartRig();
        const QString before = SimulatorProcess::Fetch("GetStatus");
        QVERIFY(!before.isEmpty());
        const QDBusMessage reply = SimulatorProcess::SetProfile(key, document);
        if (fault.isEmpty()) {
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
            QVERIFY(SimulatorProcess::Fetch("GetStatus") != before);
            return;
        }
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
        QVERIFY2(reply.errorMessage().contains(fault), qPrintable(reply.errorMessage()));
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), before);
        // Nothing half-applied reaches the saved state either.
        rig->Stop();
        rig = StartRig();
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), before);
    }
};

QTEST_GUILESS_MAIN(SimulatorServiceTest)
#include "SimulatorServiceTest.moc"
