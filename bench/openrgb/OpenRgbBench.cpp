// The OpenRGB rig against the real OpenRGB server's stock devices: APPLY
// through the real panel beside the virtual rig and a fixed-document service
// serving the same documents; the service's CPU share at 30 frames a second
// beside a still effect; the steadiness of the worker's frames.
//
//   bench_openrgb [SECONDS [APPLY_RUNS]]   (default 10 and 40)

#include "bench/common/BenchTiming.h"
#include "simulator/core/RigService.h"
#include "simulator/engine/FrameClock.h"
#include "simulator/openrgb-rig/OpenRgbRig.h"
#include "tests/openrgb/OpenRgbServer.h"
#include "tests/openrgbrig/OpenRgbRigProcess.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

namespace {

using namespace BenchTiming;

// APPLY of the static effect through a fresh main window on the service running now.
double ApplyMs(int runs)
{
    Lumet::SetApplySettleTime(0);
    Lumet window(nullptr, false, false, false);
    window.show();
    window.GetEffectButtonGroup()->Select("1");
    if (!window.GetCurrentView() || window.GetCurrentView()->GetXmlProfile().empty())
        return -1.0;
    return MedianMs(runs, [&] { window.OnApplyClicked(); });
}

// SetProfile with a profile for every LED of the group, then the status read back.
double ServiceMs(int runs)
{
    const std::string profile = OpenRgbRigProcess::Profile(1, 0x0080ff);
    return MedianMs(runs, [&] {
        if (!OpenRgbRigProcess::Apply(profile)
            || SimulatorProcess::Fetch(QStringLiteral("GetStatus")).isEmpty())
            std::abort();
    });
}

// User and system time of a process so far, in seconds.
double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    // After the name's closing parenthesis: the state (3rd field), then on to utime and stime (14th, 15th).
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1.0;
    return (fields[11].toDouble() + fields[12].toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The share of one core the process took over seconds, in per cent.
double CoreShare(qint64 pid, double seconds)
{
    const double before = CpuSeconds(pid);
    QElapsedTimer clock;
    clock.start();
    QThread::msleep(static_cast<unsigned long>(seconds * 1000));
    return (CpuSeconds(pid) - before) / (static_cast<double>(clock.nsecsElapsed()) / 1e9) * 100.0;
}

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const int applyRuns = argc > 2 ? std::atoi(argv[2]) : 40;
    QTemporaryDir work;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", work.path().toLocal8Bit());
    qputenv("VORNLIGHT_REGISTRY", (work.path() + "/none.reg").toLocal8Bit());
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    if (OpenRgbServer::Folder().isEmpty())
        return Fail("the OpenRGB test server is not beside the source tree");

    double applyVirtual = 0.0, serviceVirtual = 0.0;
    {
        SimulatorProcess sim({"--state-dir", work.path() + "/sim", "--reset"});
        if (!sim.Start())
            return Fail("the simulated service did not start: ", qPrintable(sim.ErrorOutput()));
        applyVirtual = ApplyMs(applyRuns);
        serviceVirtual = ServiceMs(applyRuns * 5);
    }
    OpenRgbServer server;
    if (!server.Start())
        return Fail("the OpenRGB server did not start: ", qPrintable(server.Error()));
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.Port());
    double applyReal = 0.0, serviceReal = 0.0, animated = 0.0, still = 0.0;
    QString capability, status;
    {
        SimulatorProcess real({"--openrgb", address, "--state-dir", work.path() + "/real"},
                              SimulatorProcess::Program("vornlight-service"));
        if (!real.Start())
            return Fail("vornlight-service did not start: ", qPrintable(real.ErrorOutput()));
        applyReal = ApplyMs(applyRuns);
        serviceReal = ServiceMs(applyRuns * 5);
        capability = SimulatorProcess::Fetch(QStringLiteral("GetCapability"));
        status = SimulatorProcess::Fetch(QStringLiteral("GetStatus"));
        if (applyReal < 0 || applyVirtual < 0)
            return Fail("the static effect's view builds no profile to send");

        // The rainbow changes every LED in every frame: every frame is sent.
        const std::string rainbow =
            OpenRgbRigProcess::Profile(5, 0xff, "na", OpenRgbRigProcess::RainbowValues(-2, true));
        if (!OpenRgbRigProcess::Apply(rainbow))
            return Fail("the rainbow was refused");
        QThread::msleep(500);
        animated = CoreShare(real.Pid(), seconds);
        if (!OpenRgbRigProcess::Apply(OpenRgbRigProcess::Profile(1, 0xff)))
            return Fail("the static effect was refused");
        QThread::msleep(500);
        still = CoreShare(real.Pid(), seconds);
    }
    double applySame = 0.0;
    {
        auto save = [&](const char* name, const QString& text) {
            QFile file(work.path() + name);
            return file.open(QIODevice::WriteOnly) && file.write(text.toLatin1()) == text.size() ? file.fileName()
                                                                                                 : QString();
        };
        const QString capabilityFile = save("/capability.xml", capability), statusFile = save("/status.xml", status);
        if (capabilityFile.isEmpty() || statusFile.isEmpty())
            return Fail("cannot write the documents");
        SimulatorProcess fixed({"--capability", capabilityFile, "--status", statusFile});
        if (!fixed.Start())
            return Fail("the simulated service did not start: ", qPrintable(fixed.ErrorOutput()));
        applySame = ApplyMs(applyRuns);
    }
    Report("APPLY through the OpenRGB rig", applyReal, "ms", applyVirtual, "through the virtual rig", "<= 1.5");
    Report("APPLY through the OpenRGB rig", applyReal, "ms", applySame, "fixed, the same documents", "<= 1.5");
    Report("SetProfile + GetStatus, OpenRGB rig", serviceReal, "ms", serviceVirtual, "the virtual rig", "(figure)");
    Report("service CPU, rainbow at 30 fps", animated, "% core", still, "static effect", "< 2 %");

    // The worker in this process, so that its clock and sends can be read.
    OpenRgbRig::Options options;
    QString error;
    if (!OpenRgbRig::ParseServer(address, options, error))
        return Fail(qPrintable(error));
    OpenRgbRig rig(options);
    RigService service(rig, nullptr);
    if (!service.Start(false, error) || !service.Layout().FindDevice("Group"))
        return Fail("the rig found no group: ", qPrintable(error));
    std::vector<std::string> leds;
    for (const RigLayout::Led& led : service.Layout().FindDevice("Group")->leds)
        leds.push_back(led.key);
    std::string fault;
    const std::string rainbow =
        OpenRgbRigProcess::Profile(5, 0xff, "na", OpenRgbRigProcess::RainbowValues(-2, true), leds);
    if (service.SetProfile("Group", rainbow, fault) != LightingService::Outcome::Applied)
        return Fail("the rainbow was refused: ", fault.c_str());
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    const OpenRgbWorker::Statistics stats = rig.Statistics();
    std::vector<double> lateness, deviation;
    const double interval = 1000.0 / FrameClock::DefaultFps;
    for (const qint64 ns : stats.latenessNs)
        lateness.push_back(double(ns) / 1e6);
    for (const qint64 ns : stats.intervalsNs)
        deviation.push_back(std::abs(double(ns) / 1e6 - interval));
    std::printf("frames sent %lld (%zu ticks), missed %lld\n", static_cast<long long>(stats.framesSent),
                stats.latenessNs.size(), static_cast<long long>(stats.missedFrames));
    Report("tick lateness p50", FrameClock::Percentile(lateness, 50), "ms", interval, "frame interval", "(figure)");
    Report("tick lateness p99", FrameClock::Percentile(lateness, 99), "ms", interval, "frame interval", "< 5 ms");
    Report("send interval, deviation p99", FrameClock::Percentile(deviation, 99), "ms", interval, "frame interval",
           "< 5 ms");
    return 0;
}
