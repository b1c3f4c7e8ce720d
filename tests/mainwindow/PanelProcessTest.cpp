// The real panel against the simulated lighting service on a private X
// server: it is driven with the pointer like a user would, and what reached
// the service is read from the simulator's journal.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString serviceName = QStringLiteral("OvTarskLumetService.ServiceMediator");

struct Call
{
    QString op;
    QString key;
    QString document;
};

} // namespace

class PanelProcessTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QProcess xserver;
    QProcess simulator;
    QProcess panel;
    QString display;
    QString windowId;

    QString JournalPath() const { return scratch.filePath(QStringLiteral("journal.jsonl")); }

    QList<Call> Journal() const
    {
        QList<Call> calls;
        QFile file(JournalPath());
        if (!file.open(QIODevice::ReadOnly))
            return calls;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.trimmed().isEmpty())
                continue;
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            calls.push_back({o.value(QStringLiteral("op")).toString(), o.value(QStringLiteral("key")).toString(),
                             o.value(QStringLiteral("document")).toString()});
        }
        return calls;
    }

    QStringList Ops() const
    {
        QStringList ops;
        for (const Call& c : Journal())
            ops << c.op;
        return ops;
    }

    // Runs xdotool against the private display; returns its output.
    QString XDo(const QStringList& args)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), args);
        if (!tool.waitForFinished(20000))
            return QString();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    // A left click at x, y of the panel's window.
    void Click(int x, int y)
    {
        XDo({QStringLiteral("mousemove"), QStringLiteral("--window"), windowId, QString::number(x), QString::number(y),
             QStringLiteral("click"), QStringLiteral("1")});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        for (const char* tool : {"Xvfb", "xdotool"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);

        // A free display number, reported by the server itself.
        xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                               QStringLiteral("tcp")});
        QVERIFY(xserver.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(xserver.canReadLine() || xserver.waitForReadyRead(100), 20000);
        display = QLatin1Char(':') + QString::fromLatin1(xserver.readLine().trimmed());
        QVERIFY(display.size() > 1);

        simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        simulator.start(QStringLiteral(LUMET_BIN_DIR "/vornlight-service-sim"),
                        {QStringLiteral("--capability"), QStringLiteral(LUMET_TEST_DATA "/mainwindow/capability.xml"),
                         QStringLiteral("--status"), QStringLiteral(LUMET_TEST_DATA "/mainwindow/status.xml"),
                         QStringLiteral("--journal"), JournalPath()});
        QVERIFY(simulator.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(serviceName), 20000);
    }

    void cleanupTestCase()
    {
        for (QProcess* p : {&panel, &simulator, &xserver}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000))
                    p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    void panelAppliesTheChosenEffectAndSwitchesTheLeds()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The panel draws without OpenGL; the GL driver would only be loaded
        // (and keep memory the leak checker reports) for nothing.
        env.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path());
        env.insert(QStringLiteral("VORNLIGHT_REGISTRY"), scratch.filePath(QStringLiteral("none.reg")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        panel.setProcessEnvironment(env);
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(QStringLiteral(LUMET_BIN_DIR "/vornlight"), QStringList());
        QVERIFY(panel.waitForStarted());

        QTRY_VERIFY_WITH_TIMEOUT(!(windowId = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                   QStringLiteral("--name"), QStringLiteral("^Vornlight Beta$")}))
                                      .isEmpty(),
                                 20000);
        windowId = windowId.split(QLatin1Char('\n')).first();
        QTRY_COMPARE_WITH_TIMEOUT(Ops(), (QStringList{"GetCapability", "GetStatus"}), 10000);
        // Let the window settle on screen before it is clicked.
        QTest::qWait(500);

        // The third effect (Sleep), then APPLY.
        Click(90, 97 + 2 * 33 + 16);
        Click(724 + 56, 642 + 13);
        QTRY_COMPARE_WITH_TIMEOUT(Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}), 15000);
        const Call applied = Journal().at(2);
        QCOMPARE(applied.key, QStringLiteral("Group"));
        QVERIFY2(applied.document.contains(QStringLiteral("<funcid>4</funcid>")), qPrintable(applied.document));
        QVERIFY(applied.document.contains(QStringLiteral("<device key=\"Group\">")));
        QVERIFY(applied.document.contains(QStringLiteral("<mode key=\"101\">")));
        QCOMPARE(applied.document.count(QStringLiteral("<color>0</color>")), 2);

        // LEDs off and on again: one fixed document per toggle.
        Click(800, 80);
        QTRY_COMPARE_WITH_TIMEOUT(Journal().size(), 5, 10000);
        Click(800, 80);
        QTRY_COMPARE_WITH_TIMEOUT(Journal().size(), 6, 10000);
        const QList<Call> calls = Journal();
        const QString off = QStringLiteral("<root><header>ORVEL_LUMET</header><version>1.0</version><funcid>1</funcid>"
                                           "<device key=\"Group\"><isenabled>0</isenabled></device></root>");
        QCOMPARE(calls[4].op, QStringLiteral("SetProfile"));
        QCOMPARE(calls[4].key, QStringLiteral("Mainboard"));
        QCOMPARE(calls[4].document, off);
        QCOMPARE(calls[5].key, QStringLiteral("Mainboard"));
        QCOMPARE(calls[5].document, QString(off).replace(QStringLiteral(">0<"), QStringLiteral(">1<")));

        // The close button ends the panel normally.
        Click(828 + 11, 8 + 11);
        QVERIFY(panel.waitForFinished(10000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QCOMPARE(Journal().size(), 6);
    }
};

QTEST_GUILESS_MAIN(PanelProcessTest)
#include "PanelProcessTest.moc"
