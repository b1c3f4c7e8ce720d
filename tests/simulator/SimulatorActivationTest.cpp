// The installed activation file lets the bus start the service on the
// panel's first call.
#include "SimulatorProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>

#include <csignal>

class SimulatorActivationTest : public QObject
{
    Q_OBJECT

private slots:
    void firstCallStartsTheService()
    {
        QVERIFY(!SimulatorProcess::IsNameOwned());
        const QString capability = SimulatorProcess::Fetch("GetCapability");
        QVERIFY2(capability.contains("<device key=\"Group\">"), qPrintable(capability));
        QVERIFY(SimulatorProcess::IsNameOwned());

        // The bus started it, so nobody else ends it when the test is over.
        const QDBusReply<uint> pid =
            QDBusConnection::sessionBus().interface()->servicePid(SimulatorProcess::ServiceName);
        QVERIFY(pid.isValid() && pid.value() > 0);
        QCOMPARE(::kill(static_cast<pid_t>(pid.value()), SIGTERM), 0);
        QVERIFY(SimulatorProcess::WaitForName(false, 5000));
    }
};

QTEST_GUILESS_MAIN(SimulatorActivationTest)
#include "SimulatorActivationTest.moc"
