// The engine's outside inputs: the CPU temperature from a hardware-monitor
// tree laid out in a temporary folder, the sound level's arithmetic, and the
// sound monitor where no sound server can be reached.
#include "simulator/engine/CpuTemperature.h"
#include "simulator/engine/SoundLevel.h"
#include "simulator/engine/SoundMonitor.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <vector>

Q_DECLARE_METATYPE(std::optional<float>)

namespace {

const std::optional<float> NoReading;

void Write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// A monitor folder hwmonN with a name and temperature inputs.
void Monitor(const QTemporaryDir& root, int number, const QByteArray& name, const QMap<QString, QByteArray>& inputs)
{
    const QString dir = root.filePath(QStringLiteral("hwmon%1").arg(number));
    Write(dir + QStringLiteral("/name"), name + '\n');
    for (auto it = inputs.begin(); it != inputs.end(); ++it)
        Write(dir + QLatin1Char('/') + it.key(), it.value());
}

std::vector<std::int16_t> Sine(double amplitude, size_t count)
{
    std::vector<std::int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(amplitude * 32767.0 * std::sin(2 * M_PI * 440.0 * i / 16000.0)));
    return samples;
}

QByteArray Bytes(const std::vector<std::int16_t>& samples)
{
    return QByteArray(reinterpret_cast<const char*>(samples.data()), static_cast<int>(samples.size() * 2));
}

// Plays 16 kHz mono samples on the default output until they end or the process is killed.
void Play(QProcess& player, const QByteArray& samples)
{
    player.start(QStringLiteral("pacat"), {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                                           QStringLiteral("--rate=16000"), QStringLiteral("--channels=1"),
                                           QStringLiteral("--latency-msec=50")});
    QVERIFY(player.waitForStarted());
    player.write(samples);
    player.closeWriteChannel();
}

} // namespace

class EngineInputsTest : public QObject
{
    Q_OBJECT

private slots:
    void temperatureComesFromTheCpuSensor()
    {
        QTemporaryDir root;
        // The board's zone and a drive come first by number; the CPU's driver wins.
        Monitor(root, 0, "acpitz", {{QStringLiteral("temp1_input"), "27800\n"}});
        Monitor(root, 2, "nvme", {{QStringLiteral("temp1_input"), "39000\n"}});
        Monitor(root, 10, "k10temp", {{QStringLiteral("temp3_input"), "61250\n"}, {QStringLiteral("temp2_input"), "58000\n"}});
        CpuTemperature cpu(root.path());
        QCOMPARE(cpu.Read(), std::optional<float>(58.0f));
        QVERIFY(cpu.SensorPath().endsWith(QLatin1String("hwmon10/temp2_input")));
        Write(root.filePath(QStringLiteral("hwmon10/temp2_input")), "72125\n");
        QCOMPARE(cpu.Read(), std::optional<float>(72.125f));

        // The driver reloads as another monitor: found again. Without it, the ACPI zone.
        QVERIFY(QDir(root.path()).rename(QStringLiteral("hwmon10"), QStringLiteral("hwmon11")));
        QCOMPARE(cpu.Read(), std::optional<float>(72.125f));
        QVERIFY(QDir(root.filePath(QStringLiteral("hwmon11"))).removeRecursively());
        QCOMPARE(cpu.Read(), std::optional<float>(27.8f));

        // A sensor that reads nonsense, and no sensor at all, give no temperature.
        Write(root.filePath(QStringLiteral("hwmon0/temp1_input")), "-273150\n");
        QCOMPARE(cpu.Read(), NoReading);
        QVERIFY(QDir(root.filePath(QStringLiteral("hwmon0"))).removeRecursively());
        QCOMPARE(cpu.Read(), NoReading);
        QCOMPARE(CpuTemperature(root.filePath(QStringLiteral("missing"))).Read(), NoReading);
    }

    void millidegreesAreCheckedText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::optional<float>>("celsius");
        QTest::newRow("plain") << QByteArray("45500\n") << std::optional<float>(45.5f);
        QTest::newRow("below zero") << QByteArray("-5000") << std::optional<float>(-5.0f);
        QTest::newRow("empty") << QByteArray() << std::optional<float>();
        QTest::newRow("words") << QByteArray("hot\n") << std::optional<float>();
        QTest::newRow("decimal point") << QByteArray("45.5") << std::optional<float>();
        QTest::newRow("too hot") << QByteArray("150001") << std::optional<float>();
        QTest::newRow("overflow") << QByteArray("99999999999999999999999") << std::optional<float>();
    }
    void millidegreesAreCheckedText()
    {
        QFETCH(QByteArray, text);
        QFETCH(std::optional<float>, celsius);
        QCOMPARE(CpuTemperature::ParseMillidegrees(text), celsius);
    }

    void soundLevelFollowsLoudness()
    {
        // A sine's RMS is its amplitude over the square root of two.
        const std::vector<std::int16_t> loud = Sine(1.0, 320), quiet = Sine(0.01, 320);
        QVERIFY(std::fabs(SoundLevel::Rms(loud.data(), loud.size()) - 0.7071f) < 0.002f);
        QCOMPARE(SoundLevel::Rms(nullptr, 0), 0.0f);
        const std::vector<std::int16_t> floor(64, -32768);
        QCOMPARE(SoundLevel::Rms(floor.data(), floor.size()), 1.0f);

        // The decibel scale: -3 dB is loud, -40 dB quiet but not silent.
        QCOMPARE(SoundLevel::FromRms(SoundLevel::Rms(loud.data(), loud.size())), 1.0f);
        const float quietLevel = SoundLevel::FromRms(SoundLevel::Rms(quiet.data(), quiet.size()));
        QVERIFY(std::fabs(quietLevel - (-43.0f + 60.0f) / 54.0f) < 0.01f);
        QCOMPARE(SoundLevel::FromRms(0.0f), 0.0f);
        QCOMPARE(SoundLevel::FromRms(std::nanf("")), 0.0f);
        QCOMPARE(SoundLevel::FromRms(1e-9f), 0.0f);

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
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("pacat")).isEmpty())
            QSKIP("needs pulseaudio and pacat (tools/install-deps.sh installs them)");
        // A private sound server whose only output is a null sink.
        QTemporaryDir home;
        const QString socket = home.filePath(QStringLiteral("native"));
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
        qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QStringLiteral("pulseaudio"),
                     {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                      QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                      QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=speakers"), QStringLiteral("-L"),
                      QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

        QStringList said;
        QMutex lock;
        SoundMonitor::Options options;
        options.retry = std::chrono::milliseconds(100);
        options.report = [&](const QString& text) {
            QMutexLocker locked(&lock);
            said << text;
        };
        SoundMonitor monitor(options);
        monitor.Start();
        const auto level = [&] { return monitor.Level().value_or(-1.0f); };
        // A sine at half of full scale is -9 dB: 51/54 of the level's scale.
        QProcess player;
        Play(player, Bytes(Sine(0.5, 16000 * 20)));
        QTRY_VERIFY_WITH_TIMEOUT(level() > 0.9f, 15000);
        QVERIFY(level() < 0.96f);
        player.kill();
        player.waitForFinished();
        Play(player, Bytes(std::vector<std::int16_t>(16000 * 20)));
        QTRY_VERIFY_WITH_TIMEOUT(level() >= 0.0f && level() < 0.05f, 15000);
        player.kill();
        player.waitForFinished();

        // The server going away ends the input, and the monitor says so once.
        server.kill();
        server.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(monitor.Level(), NoReading, 5000);
        QTest::qWait(300);
        monitor.Stop();
        QMutexLocker locked(&lock);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(QLatin1String("stopped")), qPrintable(said.first()));
    }

    void soundMonitorWithoutServerReportsNoInputOnce_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("named");
        QTest::newRow("no library") << QStringLiteral("vornlight-no-such-library") << QStringLiteral("cannot load");
        QTest::newRow("no server") << QStringLiteral("pulse-simple") << QStringLiteral("cannot open @DEFAULT_MONITOR@");
    }
    void soundMonitorWithoutServerReportsNoInputOnce()
    {
        QFETCH(QString, library);
        QFETCH(QString, named);
        // A server address where nothing listens, and a private home for the
        // client's files.
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
        qputenv("PULSE_SERVER", "unix:" + home.filePath(QStringLiteral("nothing")).toUtf8());
        QStringList said;
        QMutex lock;
        SoundMonitor::Options options;
        options.library = library;
        options.retry = std::chrono::milliseconds(20);
        options.report = [&](const QString& text) {
            QMutexLocker locked(&lock);
            said << text;
        };
        SoundMonitor monitor(options);
        monitor.Start();
        const auto count = [&] {
            QMutexLocker locked(&lock);
            return said.size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(count(), 1, 5000);
        // Several retries later it still has said it once and hears nothing.
        QTest::qWait(200);
        QCOMPARE(monitor.Level(), NoReading);
        monitor.Stop();
        QCOMPARE(count(), 1);
        QVERIFY2(said.first().contains(named) && said.first().contains(QLatin1String("breathes gently")),
                 qPrintable(said.first()));
    }
};

QTEST_GUILESS_MAIN(EngineInputsTest)
#include "EngineInputsTest.moc"
