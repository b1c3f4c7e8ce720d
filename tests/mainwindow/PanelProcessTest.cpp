// The real panel against the simulated service on a private X server; what
// reached the service is read from the simulator's journal. (A panel applying
// what the user chose: tests/effectviews.)
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

    // A pending reboot is reported before the service is asked; OK ends the
    // panel with 0. (The no-group refusals are driven in tests/faults.)
    void pendingRebootWarnsAndEnds()
    {
        PanelProcess panel(scratch.path(),
                           PanelProcess::TrustedRegistry(LUMET_TEST_DATA "/mainwindow/reboot.reg", scratch.path()),
                           display.Name());
        QVERIFY(panel.Launch());
        const QString box = display.WaitForWindow(QStringLiteral("WARNING"));
        QVERIFY2(!box.isEmpty() && display.PressKey(box, QStringLiteral("Return")), "no reboot message to confirm");
        QVERIFY(panel.EndsWith(0));
        QCOMPARE(journal.Calls().size(), 0);
    }
};

QTEST_GUILESS_MAIN(PanelProcessTest)
#include "PanelProcessTest.moc"
