// The real panel against the simulated rig on a private X server: the user
// gives three LEDs the pure red, green and blue of the static view and
// applies them, then turns only the hue of the red one to green in the
// strobing view and applies that. The documents sent carry the exact colours.
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/StatusParser.h"
#include "profile/EffectProfile.h"
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/SimulatorJournal.h"
#include "tests/support/VirtualDisplay.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The static and strobing views sit at (181, 97); their colour group's LED
// buttons (no radio buttons) and their palette lie alike in both.
QPoint LedButton(int index)
{
    return QPoint(181 + 28 + 8 + 19 + 67 * index + 24, 97 + 38 + 28 + 45);
}
QPoint PureColourButton(int index) // red, green, blue
{
    return QPoint(181 + 476 + 5, 97 + 44 + 36 + 27 * index + 5);
}
QPoint PalettePoint(QPoint p)
{
    return QPoint(181 + 476, 97 + 44) + p;
}

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

// The colour values a profile sends for one LED, as written.
QStringList SentColour(const QString& document, const std::string& led)
{
    const QRegularExpression values(
        QStringLiteral("<led key=\"%1\">\\s*<color>(\\d+)</color>\\s*<hue>([^<]*)</hue>\\s*<saturation>([^<]*)</saturation>"
                       "\\s*<lightness>([^<]*)</lightness>")
            .arg(QString::fromStdString(led)));
    const QRegularExpressionMatch m = values.match(document);
    return m.hasMatch() ? m.capturedTexts().mid(1) : QStringList();
}

} // namespace

class StaticApplyProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void exactColoursReachTheRig()
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

        // The rig starts on the breathing effect with every LED a pale teal,
        // so the static effect and each pure colour change something.
        std::unique_ptr<DeviceMaster> group = CurrentGroup();
        QVERIFY(group && group->GetLeds().size() >= 3);
        for (LedInfo* led : group->GetLeds()) {
            EffectSetting* s0 = led->GetSetting(0);
            QVERIFY(s0);
            *s0 = EffectSetting();
            s0->color = 12105850;
            s0->hue = 0.5f;
            s0->saturation = 0.3f;
            s0->lightness = 0.6f;
        }
        const std::string breathing = EffectProfile::Build(group.get(), "Group", 2, EffectProfile::Parts());
        const QDBusMessage prepared =
            SimulatorProcess::SetProfile(QStringLiteral("Group"), QString::fromStdString(breathing));
        QVERIFY2(prepared.type() == QDBusMessage::ReplyMessage, qPrintable(prepared.errorMessage()));
        std::vector<std::string> leds;
        for (const LedInfo* led : group->GetLeds())
            leds.push_back(led->GetKey());
        const int before = journal.Calls().size();

        PanelProcess panel(scratch.path(), scratch.filePath(QStringLiteral("none.reg")), display.Name());
        QVERIFY(panel.Launch());
        const QString window = panel.WaitForWindow(display, 60000);
        QVERIFY(!window.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(before), (QStringList{"GetCapability", "GetStatus"}), 30000);
        QTest::qWait(500);

        // Static, the first three LEDs red, green and blue, APPLY.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(0)));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(display.Click(window, LedButton(i)));
            QVERIFY(display.Click(window, PureColourButton(i)));
        }
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(before),
                                  (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}), 30000);
        const SimulatorJournal::Call applied = journal.Calls().at(before + 2);
        QCOMPARE(applied.key, QStringLiteral("Group"));
        QVERIFY2(applied.document.contains(QStringLiteral("<mode key=\"1\">")), qPrintable(applied.document));
        const QStringList pure[] = {{"255", "0.000000", "1.000000", "0.500000"},
                                    {"65280", "0.333333", "1.000000", "0.500000"},
                                    {"16711680", "0.666667", "1.000000", "0.500000"}};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(SentColour(applied.document, leds[i]), pure[i]);
        QCOMPARE(SentColour(applied.document, leds[3]), (QStringList{"12105850", "0.500000", "0.300000", "0.600000"}));


        // Strobing, the red LED, its hue alone dragged from the top of the
        // ring to one third of the way round: pure green.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(2)));
        QVERIFY(display.Click(window, LedButton(0)));
        QVERIFY(display.Drag(window, PalettePoint(QPoint(98, 12)), PalettePoint(QPoint(150, 106))));
        const int checked = journal.Calls().size();
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(checked), (QStringList{"SetProfile", "GetStatus"}), 30000);
        const SimulatorJournal::Call turned = journal.Calls().at(checked);
        QVERIFY2(turned.document.contains(QStringLiteral("<mode key=\"3\">")), qPrintable(turned.document));
        const QStringList green = SentColour(turned.document, leds[0]);
        QCOMPARE(green.value(0), "65280");
        QCOMPARE(green.mid(2), (QStringList{"1.000000", "0.500000"}));

        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(panel.EndsWith(0, 10000));
    }
};

QTEST_GUILESS_MAIN(StaticApplyProcessTest)
#include "StaticApplyProcessTest.moc"
