// 10,000 calls in a row against the virtual rig: they all complete, and the
// service's memory does not grow beyond a small bound. Prints its figures.
#include "SimulatorProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Resident set of a process in KiB, from /proc; -1 when unknown.
long ResidentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

QString Profile(const char* color)
{
    return QStringLiteral("<root><header>ORVEL_LUMET</header><version>1.1</version><funcid>4</funcid>"
                          "<device key=\"Group\"><scene><state>S0</state><mode key=\"1\"><iscolorsynced>0"
                          "</iscolorsynced><led key=\"DIMM_A1\"><color>%1</color><hue>na</hue><saturation>na"
                          "</saturation><lightness>na</lightness><speed>na</speed><direction>na</direction></led>"
                          "</mode></scene></device></root>")
        .arg(QString::fromLatin1(color));
}

} // namespace

class SimulatorLoadTest : public QObject
{
    Q_OBJECT

private slots:
    void tenThousandCalls()
    {
        QTemporaryDir dir;
        SimulatorProcess rig({"--state-dir", dir.path(), "--reset"});
        QVERIFY(rig.Start());

        const QString profiles[2] = {Profile("255"), Profile("65280")};
        const QString bad = QString(profiles[0]).replace("<color>255", "<color>-5");
        // One round: the two fetches, an applied profile and a refused one.
        auto round = [&](int i) {
            bool ok = !SimulatorProcess::Fetch("GetStatus").isEmpty();
            ok = ok && !SimulatorProcess::Fetch("GetCapability").isEmpty();
            ok = ok && SimulatorProcess::SetProfile("Group", profiles[i % 2]).type() == QDBusMessage::ReplyMessage;
            ok = ok && SimulatorProcess::SetProfile("Group", bad).type() == QDBusMessage::ErrorMessage;
            return ok;
        };
        for (int i = 0; i < 50; ++i)
            QVERIFY(round(i));
        const long before = ResidentKiB(rig.Pid());

        QElapsedTimer clock;
        clock.start();
        const int rounds = 2500;
        for (int i = 0; i < rounds; ++i)
            QVERIFY2(round(i), qPrintable(QStringLiteral("call round %1 failed").arg(i)));
        const double seconds = clock.nsecsElapsed() / 1e9;
        const long after = ResidentKiB(rig.Pid());

        qInfo("%d calls in %.2f s: %.0f calls/s; service RSS %ld KiB before, %ld KiB after (%+ld KiB)", rounds * 4,
              seconds, rounds * 4 / seconds, before, after, after - before);
        QVERIFY(before > 0 && after > 0);
        // Generous: a leak of even 1 KiB per call would pass 8 MiB.
        QVERIFY2(after - before < 8 * 1024, "the service's memory grew under load");
    }
};

QTEST_GUILESS_MAIN(SimulatorLoadTest)
#include "SimulatorLoadTest.moc"
