// The real panel against the simulated lighting service on a private X
// server: it is driven with the pointer like a user would, and what reached
// the service is read from the simulator's journal.
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/SimulatorJournal.h"
#include "tests/support/VirtualDisplay.h"

#include <QTemporaryDir>
#include <QtTest>

class PanelProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void panelAppliesTheChosenEffectAndSwitchesTheLeds()
    {
        QTemporaryDir scratch;
        VirtualDisplay display;
        QVERIFY(display.Start());
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("journal.jsonl")));
        SimulatorProcess simulator(QStringList{QStringLiteral("--capability"), LUMET_TEST_DATA "/mainwindow/capability.xml",
                                               QStringLiteral("--status"), LUMET_TEST_DATA "/mainwindow/status.xml"}
                                   + journal.Arguments());
        QVERIFY2(simulator.Start(), qPrintable(simulator.ErrorOutput()));

        PanelProcess panel(scratch.path(), scratch.filePath(QStringLiteral("none.reg")), display.Name());
        QVERIFY(panel.Launch());
        const QString window = panel.WaitForWindow(display);
        QVERIFY(!window.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus"}), 10000);
        // Let the window settle on screen before it is clicked.
        QTest::qWait(500);

        // The third effect (Sleep), then APPLY.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(2)));
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}),
                                  15000);
        const SimulatorJournal::Call applied = journal.Calls().at(2);
        QCOMPARE(applied.key, QStringLiteral("Group"));
        for (const char* part : {"<funcid>4</funcid>", "<device key=\"Group\">", "<mode key=\"101\">"})
            QVERIFY2(applied.document.contains(QLatin1String(part)), qPrintable(applied.document));

        // LEDs off and on again: one fixed document per toggle.
        QVERIFY(display.Click(window, PanelProcess::LedSwitch));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Calls().size(), 5, 10000);
        QVERIFY(display.Click(window, PanelProcess::LedSwitch));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Calls().size(), 6, 10000);
        const QString off = QStringLiteral("<root><header>ORVEL_LUMET</header><version>1.0</version><funcid>1</funcid>"
                                           "<device key=\"Group\"><isenabled>0</isenabled></device></root>");
        const QList<SimulatorJournal::Call> calls = journal.Calls();
        QCOMPARE(calls[4].op + calls[4].key + calls[4].document, QStringLiteral("SetProfileMainboard") + off);
        QCOMPARE(calls[5].key + calls[5].document, QStringLiteral("Mainboard") + QString(off).replace(">0<", ">1<"));

        // The close button ends the panel normally.
        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(panel.EndsWith(0, 10000));
        QCOMPARE(journal.Calls().size(), 6);
    }
};

QTEST_GUILESS_MAIN(PanelProcessTest)
#include "PanelProcessTest.moc"
