// The virtual rig's state across restarts: kept, reset, set aside when
// damaged, and whole after the process is killed in the middle of a burst.
#include "SimulatorProcess.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

QString Profile(int mode, const char* color)
{
    return QStringLiteral("<root><header>ORVEL_LUMET</header><version>1.1</version><funcid>4</funcid>"
                          "<device key=\"Group\"><scene><state>S0</state><mode key=\"%1\"><iscolorsynced>0"
                          "</iscolorsynced><led key=\"MB_STRIP\"><color>%2</color><hue>na</hue><saturation>na"
                          "</saturation><lightness>na</lightness><speed>na</speed><direction>na</direction></led>"
                          "</mode></scene></device></root>")
        .arg(mode)
        .arg(QString::fromLatin1(color));
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SimulatorStateTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString defaults;

    QString StateDir() const { return dir.path() + "/state"; }
    QString StateFile() const { return StateDir() + "/rig-state.xml"; }

    std::unique_ptr<SimulatorProcess> Start(const QStringList& extra = {})
    {
        auto rig = std::make_unique<SimulatorProcess>(QStringList{"--state-dir", StateDir()} + extra);
        if (!rig->Start())
            qWarning("the simulator did not start: %s", qPrintable(rig->ErrorOutput()));
        return rig;
    }

private slots:
    void initTestCase()
    {
        auto rig = Start({"--reset"});
        defaults = SimulatorProcess::Fetch("GetStatus");
        QVERIFY(defaults.contains("<device key=\"Group\">"));
    }

    void stateSurvivesRestartAndReset()
    {
        auto rig = Start({"--reset"});
        QCOMPARE(SimulatorProcess::SetProfile("Group", Profile(2, "16711680")).type(), QDBusMessage::ReplyMessage);
        const QString changed = SimulatorProcess::Fetch("GetStatus");
        QVERIFY(changed != defaults);
        QCOMPARE(ReadFile(StateFile()), changed.toLatin1());
        rig->Stop();

        rig = Start();
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), changed);
        QVERIFY(!rig->ErrorOutput().contains("damaged"));
        rig->Stop();

        rig = Start({"--reset"});
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), defaults);
        rig->Stop();
        rig = Start();
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), defaults);
    }

    void damagedStateIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("saved");
        const QByteArray good = defaults.toLatin1();
        QTest::newRow("truncated") << good.left(good.size() / 2);
        QTest::newRow("not xml") << QByteArray("\x00\x01garbage", 9);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("foreign device") << QByteArray(good).replace("key=\"Keyboard\"", "key=\"Toaster\"");
        QTest::newRow("value out of range") << QByteArray(good).replace("<color>255</color>", "<color>99999999</color>");
        QTest::newRow("unknown mode") << QByteArray(good).replace("<mode key=\"1\">", "<mode key=\"77\">");
    }

    void damagedStateIsSetAside()
    {
        QFETCH(QByteArray, saved);
        QDir(StateDir()).removeRecursively();
        QVERIFY(QDir().mkpath(StateDir()));
        {
            QFile file(StateFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(saved);
        }
        auto rig = Start();
        QVERIFY(SimulatorProcess::IsNameOwned());
        QCOMPARE(SimulatorProcess::Fetch("GetStatus"), defaults);
        QCOMPARE(ReadFile(StateFile()), defaults.toLatin1());
        const QString message = rig->ErrorOutput();
        QVERIFY2(message.contains("damaged") && message.contains("rig-state.xml"), qPrintable(message));
        const QStringList aside = QDir(StateDir()).entryList({"rig-state.xml.damaged-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(ReadFile(StateDir() + "/" + aside.first()), saved);
    }

    void killDuringBurstLeavesLoadableState()
    {
        const QString red = Profile(1, "255");
        const QString blue = Profile(3, "16711680");
        QStringList outcomes;
        for (int round = 0; round < 4; ++round) {
            auto rig = Start({"--reset"});
            outcomes = QStringList{SimulatorProcess::Fetch("GetStatus")};
            QCOMPARE(SimulatorProcess::SetProfile("Group", red).type(), QDBusMessage::ReplyMessage);
            outcomes << SimulatorProcess::Fetch("GetStatus");
            QCOMPARE(SimulatorProcess::SetProfile("Group", blue).type(), QDBusMessage::ReplyMessage);
            outcomes << SimulatorProcess::Fetch("GetStatus");

            // A burst of alternating profiles that the service is still working
            // through when it dies.
            QList<QDBusPendingCall> pending;
            for (int i = 0; i < 1000; ++i) {
                QDBusMessage call = QDBusMessage::createMethodCall(SimulatorProcess::ServiceName, "/ServiceMediator",
                                                                   SimulatorProcess::ServiceName, "SetProfile");
                call.setArguments({QStringLiteral("Group"), i % 2 ? blue : red});
                pending << QDBusConnection::sessionBus().asyncCall(call);
            }
            QTest::qWait(20 + 15 * round);
            rig->Kill();
            const int answered = static_cast<int>(
                std::count_if(pending.begin(), pending.end(), [](const QDBusPendingCall& c) { return c.isFinished() && !c.isError(); }));
            qInfo("killed after %d of %d calls had been answered", answered, int(pending.size()));
            QVERIFY2(answered < pending.size(), "the burst was over before the kill");

            rig = Start();
            QVERIFY(SimulatorProcess::IsNameOwned());
            QVERIFY2(!rig->ErrorOutput().contains("damaged"), qPrintable(rig->ErrorOutput()));
            QVERIFY2(outcomes.contains(SimulatorProcess::Fetch("GetStatus")), "the state after the kill is none of those sent");
            rig->Stop();
        }
    }
};

QTEST_GUILESS_MAIN(SimulatorStateTest)
#include "SimulatorStateTest.moc"
