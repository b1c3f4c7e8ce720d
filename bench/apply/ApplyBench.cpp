// One APPLY of the real main window against the simulated service, without
// the 1000 ms the window gives the service to settle: the view's profile is
// built and printed, sent with SetProfile over D-Bus, the status is read back
// and the view made again. Against one bare D-Bus round trip to the same
// service (a Peer.Ping, answered by its bus connection).

#include "bench/common/BenchTiming.h"
#include "tests/simulator/SimulatorProcess.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 40;

    QTemporaryDir work;
    qputenv("VORNLIGHT_REGISTRY", (work.path() + QStringLiteral("/none.reg")).toLocal8Bit());
    SimulatorProcess service({QStringLiteral("--state-dir"), work.path() + QStringLiteral("/state"),
                              QStringLiteral("--reset")});
    if (!service.Start()) {
        std::fprintf(stderr, "the simulated service did not start: %s\n", qPrintable(service.ErrorOutput()));
        return 1;
    }

    Lumet::SetApplySettleTime(0);
    Lumet window(nullptr, false, false, false);
    window.show();
    // The static effect when its view sends a profile, else colour cycle.
    const char* effect = nullptr;
    for (const char* id : {"1", "4"}) {
        window.GetEffectButtonGroup()->Select(id);
        if (window.GetCurrentView() && !window.GetCurrentView()->GetXmlProfile().empty()) {
            effect = id;
            break;
        }
    }
    if (!effect) {
        std::fprintf(stderr, "no effect view builds a profile to send\n");
        return 1;
    }

    const double applyMs = BenchTiming::MedianMs(runs, [&] { window.OnApplyClicked(); });
    if (!window.GetCurrentView() || window.GetCurrentView()->GetEffectId() != std::atoi(effect)) {
        std::fprintf(stderr, "APPLY did not come back to effect %s\n", effect);
        return 1;
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusMessage ping = QDBusMessage::createMethodCall(QLatin1String(SimulatorProcess::ServiceName),
                                                             QStringLiteral("/ServiceMediator"),
                                                             QStringLiteral("org.freedesktop.DBus.Peer"),
                                                             QStringLiteral("Ping"));
    const double pingMs = BenchTiming::MedianMs(runs * 5, [&] {
        if (bus.call(ping, QDBus::Block, 5000).type() != QDBusMessage::ReplyMessage)
            std::abort();
    });
    // The two calls APPLY makes, alone: what the service and the bus take.
    const std::string profile = window.GetCurrentView()->GetXmlProfile();
    QDBusMessage setProfile = QDBusMessage::createMethodCall(QLatin1String(SimulatorProcess::ServiceName),
                                                             QStringLiteral("/ServiceMediator"),
                                                             QLatin1String(SimulatorProcess::ServiceName),
                                                             QStringLiteral("SetProfile"));
    setProfile << QStringLiteral("Group") << QString::fromLatin1(profile.c_str());
    QDBusMessage getStatus = QDBusMessage::createMethodCall(QLatin1String(SimulatorProcess::ServiceName),
                                                            QStringLiteral("/ServiceMediator"),
                                                            QLatin1String(SimulatorProcess::ServiceName),
                                                            QStringLiteral("GetStatus"));
    const double setProfileMs = BenchTiming::MedianMs(runs, [&] { bus.call(setProfile, QDBus::Block, 5000); });
    const double getStatusMs = BenchTiming::MedianMs(runs, [&] { bus.call(getStatus, QDBus::Block, 5000); });

    std::printf("(APPLY of effect %s; of it SetProfile alone %.3f ms, GetStatus alone %.3f ms)\n", effect,
                setProfileMs, getStatusMs);
    BenchTiming::Report("APPLY without the settle time", applyMs, "ms", pingMs, "bare D-Bus round trip", "<= 20");
    return 0;
}
