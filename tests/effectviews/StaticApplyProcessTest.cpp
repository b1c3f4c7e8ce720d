// The real panel against the simulated rig on a private X server: the user
// picks the static effect, clicks the pure red button and APPLY, and the
// rig's next status holds red for the picked LED.
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/ModeInfo.h"
#include "model/StatusParser.h"
#include "profile/EffectProfile.h"
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/SimulatorJournal.h"
#include "tests/support/VirtualDisplay.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The pure red button of the static view, which sits at (181, 97).
const QPoint PureRedButton(181 + 476 + 5, 97 + 44 + 36 + 5);

const int Blue = 16711680;

// The rig's group as the simulator now reports it.
std::unique_ptr<DeviceMaster> CurrentGroup()
{
    CapabilityParser::Result model =
        CapabilityParser::Parse(SimulatorProcess::Fetch(QStringLiteral("GetCapability")).toStdString());
    if (model.group)
        StatusParser::ApplyText(SimulatorProcess::Fetch(QStringLiteral("GetStatus")).toStdString(), model.group.get(),
                                {});
    return std::move(model.group);
}

int ModeOf(const DeviceMaster& group)
{
    const EffectSetting* setting = group.GetGroupSetting();
    return setting && setting->mode ? std::stoi(setting->mode->GetKey()) : -1;
}

// Red, green and blue of a packed document colour.
struct Rgb
{
    int red;
    int green;
    int blue;
};

Rgb ColourOf(int packed)
{
    return {packed & 0xff, (packed >> 8) & 0xff, (packed >> 16) & 0xff};
}

} // namespace

class StaticApplyProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void redReachesTheRig()
    {
        QTemporaryDir scratch;
        VirtualDisplay display;
        QVERIFY(display.Start());
        // The virtual rig from its defaults, kept in the scratch folder.
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("journal.jsonl")));
        SimulatorProcess simulator(QStringList{QStringLiteral("--state-dir"), scratch.filePath(QStringLiteral("state")),
                                               QStringLiteral("--reset")}
                                   + journal.Arguments());
        QVERIFY2(simulator.Start(), qPrintable(simulator.ErrorOutput()));

        // The rig starts on the breathing effect with every LED blue, so
        // picking the static effect and red both change something.
        std::unique_ptr<DeviceMaster> group = CurrentGroup();
        QVERIFY(group);
        QVERIFY(group->GetLeds().size() >= 2);
        for (LedInfo* led : group->GetLeds()) {
            EffectSetting* s0 = led->GetSetting(0);
            QVERIFY(s0);
            *s0 = EffectSetting();
            s0->color = Blue;
            s0->hue = 0.666667f;
            s0->saturation = 1.0f;
            s0->lightness = 0.5f;
        }
        const std::string breathing = EffectProfile::Build(group.get(), "Group", 2, EffectProfile::Parts());
        const QDBusMessage prepared =
            SimulatorProcess::SetProfile(QStringLiteral("Group"), QString::fromStdString(breathing));
        QVERIFY2(prepared.type() == QDBusMessage::ReplyMessage, qPrintable(prepared.errorMessage()));
        group = CurrentGroup();
        QCOMPARE(ModeOf(*group), 2);
        const std::string firstLed = group->GetLeds().front()->GetKey();
        const int before = journal.Calls().size();

        PanelProcess panel(scratch.path(), scratch.filePath(QStringLiteral("none.reg")), display.Name());
        QVERIFY(panel.Launch());
        const QString window = panel.WaitForWindow(display, 60000);
        QVERIFY(!window.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(before), (QStringList{"GetCapability", "GetStatus"}), 30000);
        QTest::qWait(500);

        // Static, then red for the LED the colour group picks first, then APPLY.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(0)));
        QVERIFY(display.Click(window, PureRedButton));
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(before),
                                  (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}), 30000);
        const SimulatorJournal::Call applied = journal.Calls().at(before + 2);
        QCOMPARE(applied.key, QStringLiteral("Group"));
        QVERIFY2(applied.document.contains(QStringLiteral("<mode key=\"1\">")), qPrintable(applied.document));

        // The rig's next status: static, the first LED red, the others still blue.
        group = CurrentGroup();
        QCOMPARE(ModeOf(*group), 1);
        const EffectSetting* red = group->FindLed(firstLed)->GetSetting(0);
        const Rgb shown = ColourOf(red->color);
        QVERIFY2(shown.red >= 240 && shown.green <= 16 && shown.blue <= 16, qPrintable(QString::number(red->color)));
        QCOMPARE(red->hue, 0.0f);
        for (const LedInfo* led : group->GetLeds()) {
            if (led->GetKey() != firstLed)
                QCOMPARE(led->GetSetting(0)->color, Blue);
        }

        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(panel.EndsWith(0, 10000));
    }
};

QTEST_GUILESS_MAIN(StaticApplyProcessTest)
#include "StaticApplyProcessTest.moc"
