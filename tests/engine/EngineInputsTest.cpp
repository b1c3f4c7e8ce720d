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

// The client's files go to a private home; the server is the one at socket.
void PrivateSound(const QTemporaryDir& home, const QString& socket)
{
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
}

// A monitor's options that retry quickly and collect what the monitor says.
class Messages
{
public:
    SoundMonitor::Options Options(std::chrono::milliseconds retry)
    {
        SoundMonitor::Options options;
        options.retry = retry;
        options.report = [this](const QString& text) {
            QMutexLocker locked(&lock);
            said << text;
        };
        return options;
    }
    QStringList Said()
    {
        QMutexLocker locked(&lock);
        return said;
    }

private:
    QMutex lock;
    QStringList said;
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
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("pacat")).isEmpty())
            QSKIP("needs pulseaudio and pacat (tools/install-deps.sh installs them)");
        // A private sound server whose only output is a null sink.
        QTemporaryDir home;
        const QString socket = home.filePath(QStringLiteral("native"));
        PrivateSound(home, socket);
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start(QStringLiteral("pulseaudio"),
                     {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                      QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                      QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=speakers"), QStringLiteral("-L"),
                      QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

        Messages messages;
        SoundMonitor monitor(messages.Options(std::chrono::milliseconds(100)));
        monitor.Start();
        const auto level = [&] { return monitor.Level().value_or(-1.0f); };
        // A sine at half of full scale is -9 dB: 51/54 of the level's scale.
        QProcess player;
        Play(player, Sine(0.5, 16000 * 20));
        QTRY_VERIFY_WITH_TIMEOUT(level() > 0.9f, 15000);
        QVERIFY(level() < 0.96f);
        player.kill();
        player.waitForFinished();
        Play(player, QByteArray(2 * 16000 * 20, '\0'));
        QTRY_VERIFY_WITH_TIMEOUT(level() >= 0.0f && level() < 0.05f, 15000);
        player.kill();
        player.waitForFinished();

        // The server going away ends the input, and the monitor says so once.
        server.kill();
        server.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(monitor.Level(), NoReading, 5000);
        QTest::qWait(300);
        monitor.Stop();
        const QStringList said = messages.Said();
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
        // A server address where nothing listens.
        QTemporaryDir home;
        PrivateSound(home, home.filePath(QStringLiteral("nothing")));
        Messages messages;
        SoundMonitor::Options options = messages.Options(std::chrono::milliseconds(20));
        options.library = library;
        SoundMonitor monitor(options);
        monitor.Start();
        QTRY_COMPARE_WITH_TIMEOUT(messages.Said().size(), 1, 5000);
        // Several retries later it still has said it once and hears nothing.
        QTest::qWait(200);
        QCOMPARE(monitor.Level(), NoReading);
        monitor.Stop();
        const QStringList said = messages.Said();
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(named) && said.first().contains(QLatin1String("breathes gently")),
                 qPrintable(said.first()));
    }
};

QTEST_GUILESS_MAIN(EngineInputsTest)
#include "EngineInputsTest.moc"
