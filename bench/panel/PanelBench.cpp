// The real panel against the simulated service: start-up and peak memory of
// `vornlight` against the minimal window, both ending as soon as their event
// loop runs (for the panel, once its first status is shown); then one APPLY
// without the 1000 ms settle (profile built and printed, SetProfile, status
// reload, view re-made) against a bare D-Bus round trip (Peer.Ping).

#include "bench/common/BenchSession.h"
#include "bench/common/BenchTiming.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>

int main(int argc, char** argv)
{
    using namespace BenchTiming;
    const int startRuns = Runs(argc, argv, 15), applyRuns = argc > 2 ? std::atoi(argv[2]) : 40;
    BenchSession session;
    qputenv("VORNLIGHT_QUIT_AFTER_MS", "0");
    if (!session.Start())
        return 1;
    BenchSession::Run panel{LUMET_BIN_DIR "/vornlight"}, minimal{LUMET_BIN_DIR "/bench_minimal_window"};
    if (!session.Alternate(startRuns, panel, minimal))
        return Fail("a run of the panel or the minimal window failed");
    Report("start-up to first status shown", Median(panel.ms), "ms", Median(minimal.ms), "minimal window", "<= 1.5");
    Report("peak memory", Median(panel.peakMiB), "MiB", Median(minimal.peakMiB), "minimal window", "<= 1.3");

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    Lumet::SetApplySettleTime(0);
    Lumet window(nullptr, false, false, false);
    window.show();
    window.GetEffectButtonGroup()->Select("1"); // the static effect
    if (!window.GetCurrentView() || window.GetCurrentView()->GetXmlProfile().empty())
        return Fail("the static effect's view builds no profile to send");
    const double applyMs = MedianMs(applyRuns, [&] { window.OnApplyClicked(); });
    if (!window.GetCurrentView() || window.GetCurrentView()->GetEffectId() != 1)
        return Fail("APPLY did not come back to the static effect");
    const QDBusMessage ping = QDBusMessage::createMethodCall(SimulatorProcess::ServiceName, "/ServiceMediator",
                                                             "org.freedesktop.DBus.Peer", "Ping");
    const double pingMs = MedianMs(applyRuns * 5, [&] {
        if (QDBusConnection::sessionBus().call(ping, QDBus::Block, 5000).type() != QDBusMessage::ReplyMessage)
            std::abort();
    });
    Report("APPLY without the settle time", applyMs, "ms", pingMs, "bare D-Bus round trip", "<= 20");
    return 0;
}
