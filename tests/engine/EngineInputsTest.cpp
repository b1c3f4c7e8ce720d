// The engine's outside inputs: the CPU temperature from a hardware-monitor
// tree laid out in a temporary folder, the sound level's arithmetic, and the
// sound monitor with a private sound server and with none.
#include "simulator/engine/CpuTemperature.h"
#include "simulator/engine/SoundLevel.h"
#include "simulator/engine/SoundMonitor.h"

#include <QElapsedTimer>
#include <QLibrary>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <optional>

namespace {

const std::optional<float> NoReading;

void Write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// 16 kHz mono samples of a 440 Hz sine.
QByteArray Sine(double amplitude, int count)
{
    QByteArray bytes(count * 2, '\0');
    auto* samples = reinterpret_cast<std::int16_t*>(bytes.data());
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(amplitude * 32767.0 * std::sin(2 * M_PI * 440.0 * i / 16000.0)));
    return bytes;
}

float Rms(const QByteArray& bytes)
{
    return SoundLevel::Rms(reinterpret_cast<const std::int16_t*>(bytes.constData()), size_t(bytes.size() / 2));
}

// Sound clients and servers started from here keep their files in home and
// meet at socket, away from any sound server of the machine's.
void PrivateSound(const QTemporaryDir& home, const QString& socket)
{
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, home.path().toUtf8());
    qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
}

// A monitor that retries quickly, talks to the sound server at socket with
// its files in home, and collects what it says from its thread.
struct Monitor
{
    QMutex lock;
    QStringList said;
    std::unique_ptr<SoundMonitor> monitor;

    Monitor(const QTemporaryDir& home, const QString& socket, std::chrono::milliseconds retry, const QString& library)
    {
        PrivateSound(home, socket);
        SoundMonitor::Options options;
        options.retry = retry;
        options.library = library;
        options.report = [this](const QString& text) {
            QMutexLocker locked(&lock);
            said << text;
        };
        monitor = std::make_unique<SoundMonitor>(options);
        monitor->Start();
    }
    QStringList Said()
    {
        QMutexLocker locked(&lock);
        return said;
    }
    // After several retries it has said it once and hears nothing.
    void SaidOnce(const QString& what)
    {
        QTest::qWait(300);
        QCOMPARE(monitor->Level(), NoReading);
        monitor->Stop();
        QCOMPARE(Said().size(), 1);
        QVERIFY2(Said().first().contains(what), qPrintable(Said().first()));
    }
};

} // namespace

class EngineInputsTest : public QObject
{
    Q_OBJECT

private slots:
    void temperatureComesFromTheCpuSensor()
    {
        QTemporaryDir root;
        // The board's zone and a drive come first by number; the CPU's driver wins.
        const std::pair<const char*, QByteArray> files[] = {
            {"hwmon0/name", "acpitz\n"},        {"hwmon0/temp1_input", "27800\n"},  {"hwmon2/name", "nvme\n"},
            {"hwmon2/temp1_input", "39000\n"},  {"hwmon10/name", "k10temp\n"},      {"hwmon10/temp3_input", "61250\n"},
            {"hwmon10/temp2_input", "58000\n"}};
        for (const auto& [file, text] : files)
            Write(root.filePath(file), text);
        CpuTemperature cpu(root.path());
        QCOMPARE(cpu.Read(), std::optional<float>(58.0f));
        QVERIFY(cpu.SensorPath().endsWith(QLatin1String("hwmon10/temp2_input")));
        Write(root.filePath("hwmon10/temp2_input"), "72125\n");
        QCOMPARE(cpu.Read(), std::optional<float>(72.125f));

        // The driver reloads as another monitor: found again. Without it, the ACPI zone.
        QVERIFY(QDir(root.path()).rename("hwmon10", "hwmon11"));
        QCOMPARE(cpu.Read(), std::optional<float>(72.125f));
        QVERIFY(QDir(root.filePath("hwmon11")).removeRecursively());
        QCOMPARE(cpu.Read(), std::optional<float>(27.8f));

        // A sensor that reads nonsense, and no sensor at all, give no temperature.
        Write(root.filePath("hwmon0/temp1_input"), "-273150\n");
        QCOMPARE(cpu.Read(), NoReading);
        QVERIFY(QDir(root.filePath("hwmon0")).removeRecursively());
        QCOMPARE(cpu.Read(), NoReading);
        // Only whole millidegrees between -40 and 150 degrees are a reading.
        QCOMPARE(CpuTemperature::ParseMillidegrees(" -5000\n"), std::optional<float>(-5.0f));
        for (const char* text : {"", "hot", "45.5", "150001", "-40001", "99999999999999999999"})
            QCOMPARE(CpuTemperature::ParseMillidegrees(text), NoReading);
    }

    void soundLevelFollowsLoudness()
    {
        // A sine's RMS is its amplitude over the square root of two; on the
        // level's scale -3 dB is loud, -43 dB quiet but not silent.
        QVERIFY(std::fabs(Rms(Sine(1.0, 320)) - 0.7071f) < 0.002f);
        QCOMPARE(Rms(QByteArray::fromHex("0080").repeated(32)), 1.0f); // -32768 throughout
        QCOMPARE(SoundLevel::Rms(nullptr, 0), 0.0f);
        QCOMPARE(SoundLevel::FromRms(Rms(Sine(1.0, 320))), 1.0f);
        QVERIFY(std::fabs(SoundLevel::FromRms(Rms(Sine(0.01, 320))) - 17.0f / 54.0f) < 0.01f);
        for (float silent : {0.0f, 1e-9f, std::nanf("")})
            QCOMPARE(SoundLevel::FromRms(silent), 0.0f);

        // Rising is quick, falling slow, and nonsense never leaves 0..1.
        const float up = SoundLevel::Follow(0.0f, 1.0f, 0.02), down = SoundLevel::Follow(1.0f, 0.0f, 0.02);
        QVERIFY(up > 0.4f && up < 1.0f);
        QVERIFY(1.0f - down < up / 4);
        QCOMPARE(SoundLevel::Follow(0.3f, 0.8f, 0.0), 0.3f);
        QCOMPARE(SoundLevel::Follow(0.3f, 0.8f, 1e9), 0.8f);
        QCOMPARE(SoundLevel::Follow(std::nanf(""), 5.0f, std::nan("")), 0.0f);
    }

    void soundMonitorHearsWhatTheOutputPlays()
    {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() || QStandardPaths::findExecutable("pacat").isEmpty())
            QSKIP("needs pulseaudio and pacat (tools/install-deps.sh installs them)");
        // A private sound server whose only output is a null sink.
        QTemporaryDir home;
        const QString socket = home.filePath("native");
        PrivateSound(home, socket);
        // Made before the server so that a failed check ends the server first:
        // the monitor's thread waits in a read that only the server can end.
        std::optional<Monitor> monitor;
        QProcess server, player;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Without shared memory: a client library that holds a block of a
        // server's shared memory can hang for ever when that server is killed.
        server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--disable-shm",
                                    "--log-level=error", "-L", "module-null-sink sink_name=speakers", "-L",
                                    "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
        monitor.emplace(home, socket, std::chrono::milliseconds(100), "pulse-simple");
        const auto level = [&] { return monitor->monitor->Level().value_or(-1.0f); };
        // A sine at half of full scale is -9 dB: 51/54 of the level's scale. Then silence.
        for (double amplitude : {0.5, 0.0}) {
            player.start("pacat", {"--raw", "--format=s16le", "--rate=16000", "--channels=1", "--latency-msec=50"});
            QVERIFY(player.waitForStarted());
            player.write(Sine(amplitude, 16000 * 20));
            player.closeWriteChannel();
            QTRY_VERIFY_WITH_TIMEOUT(amplitude > 0 ? level() > 0.9f : level() >= 0.0f && level() < 0.05f, 15000);
            QVERIFY(level() < 0.96f);
            player.kill();
            player.waitForFinished();
        }
        // The server going away ends the input, and the monitor says so once.
        server.kill();
        server.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(monitor->monitor->Level(), NoReading, 5000);
        monitor->SaidOnce("stopped");
    }

    void soundMonitorWithoutServerReportsNoInputOnce()
    {
        // A server address where nothing listens, or no library to reach one.
        const QString texts[][2] = {{"vornlight-no-such-library", "cannot load"},
                                    {"pulse-simple", "cannot open @DEFAULT_MONITOR@"}};
        for (const auto& [library, named] : texts) {
            QTemporaryDir home;
            Monitor monitor(home, home.filePath("nothing"), std::chrono::milliseconds(20), library);
            QTRY_COMPARE_WITH_TIMEOUT(monitor.Said().size(), 1, 5000);
            monitor.SaidOnce(named);
            QVERIFY(monitor.Said().first().contains("breathes gently"));
        }
    }

    void stopLeavesAStuckSoundLibraryBehind()
    {
        QLibrary stuck(STUCK_PULSE_LIBRARY, 0);
        QVERIFY2(stuck.load(), qPrintable(stuck.errorString()));
        const auto* reads = reinterpret_cast<std::atomic<int>*>(stuck.resolve("stuck_pulse_reads"));
        QVERIFY(reads);
        QTemporaryDir home;
        Monitor monitor(home, home.filePath("nothing"), std::chrono::milliseconds(20), STUCK_PULSE_LIBRARY);
        // Stopped while its thread waits in a read that never returns, and
        // started again: each time the owner is free within the bound.
        for (int round = 1; round <= 2; ++round) {
            QTRY_COMPARE_WITH_TIMEOUT(reads->load(), round, 5000);
            QElapsedTimer stopping;
            stopping.start();
            monitor.monitor->Stop();
            QVERIFY(stopping.elapsed() < SoundMonitor::StopWithin.count() + 1000);
            QCOMPARE(monitor.monitor->Level(), NoReading);
            QCOMPARE(monitor.Said().size(), round);
            QVERIFY2(monitor.Said().last().contains("left behind"), qPrintable(monitor.Said().last()));
            if (round == 1)
                monitor.monitor->Start();
        }
    }
};

QTEST_GUILESS_MAIN(EngineInputsTest)
#include "EngineInputsTest.moc"
