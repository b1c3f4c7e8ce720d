// The real panel against the simulated service on a private X server, driven as a
// user would; what reached the service is read from the simulator's journal.
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/SimulatorJournal.h"
#include "tests/support/VirtualDisplay.h"

#include <QTemporaryDir>
#include <QtTest>

class PanelProcessTest : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    VirtualDisplay display;
    const SimulatorJournal journal{scratch.filePath(QStringLiteral("journal.jsonl"))};
    SimulatorProcess simulator{QStringList{"--capability", LUMET_TEST_DATA "/mainwindow/capability.xml", "--status",
                                           LUMET_TEST_DATA "/mainwindow/status.xml"}
                               + journal.Arguments()};

private slots:
    void initTestCase() { QVERIFY(display.Start() && simulator.Start()); }

    void panelAppliesTheChosenEffect()
    {
        PanelProcess panel(scratch.path(), scratch.filePath(QStringLiteral("none.reg")), display.Name());
        QVERIFY(panel.Launch());
        const QString window = panel.WaitForWindow(display);
        QVERIFY(!window.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus"}), 10000);
        // Let the window settle on screen before it is clicked.
        QTest::qWait(500);

        // The last effect (Sleep), then APPLY.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(6)));
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}),
                                  15000);
        const SimulatorJournal::Call applied = journal.Calls().at(2);
        QCOMPARE(applied.key, QStringLiteral("Group"));
        for (const char* part : {"<funcid>4</funcid>", "<device key=\"Group\">", "<mode key=\"101\">"})
            QVERIFY2(applied.document.contains(QLatin1String(part)), qPrintable(applied.document));

        // The close button ends the panel normally.
        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(panel.EndsWith(0, 10000));
        QCOMPARE(journal.Calls().size(), 4);
    }

    // A pending reboot is reported before the service is asked; OK ends the
    // panel with 0. (The no-group refusals are driven in tests/faults.)
    void pendingRebootWarnsAndEnds()
    {
        const int before = journal.Calls().size();
        PanelProcess panel(scratch.path(),
                           PanelProcess::TrustedRegistry(LUMET_TEST_DATA "/mainwindow/reboot.reg", scratch.path()),
                           display.Name());
        QVERIFY(panel.Launch());
        const QString box = display.WaitForWindow(QStringLiteral("WARNING"));
        QVERIFY2(!box.isEmpty() && display.PressKey(box, QStringLiteral("Return")), "no reboot message to confirm");
        QVERIFY(panel.EndsWith(0));
        QCOMPARE(journal.Calls().size(), before);
    }
};

QTEST_GUILESS_MAIN(PanelProcessTest)
#include "PanelProcessTest.moc"
