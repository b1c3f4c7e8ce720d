#include "simulator/core/ServiceProgram.h"
#include "simulator/openrgb-rig/OpenRgbRig.h"

#include <csignal>

namespace {

const QString Server = QStringLiteral("openrgb");
const QString Fps = QStringLiteral("fps");
const QString Hwmon = QStringLiteral("hwmon");
const QString HardwareModes = QStringLiteral("hardware-modes");

std::unique_ptr<Rig> MakeRig(const QCommandLineParser& parser, QString& error)
{
    OpenRgbRig::Options options;
    // D-Bus activation starts the service with the bus's environment: the
    // variable names a server for a whole session.
    QString server = parser.value(Server);
    if (server.isEmpty())
        server = QString::fromLocal8Bit(qgetenv("VORNLIGHT_OPENRGB"));
    if (!server.isEmpty() && !OpenRgbRig::ParseServer(server, options, error))
        return nullptr;
    if (parser.isSet(Fps)) {
        bool number = false;
        options.fps = parser.value(Fps).toInt(&number);
        if (!number || options.fps < FrameClock::MinFps || options.fps > FrameClock::MaxFps) {
            error = QStringLiteral("--fps takes a whole number from %1 to %2, not \"%3\"")
                        .arg(FrameClock::MinFps)
                        .arg(FrameClock::MaxFps)
                        .arg(parser.value(Fps));
            return nullptr;
        }
    }
    if (parser.isSet(Hwmon))
        options.hwmonRoot = parser.value(Hwmon);
    options.preferHardware = parser.isSet(HardwareModes);
    return std::make_unique<OpenRgbRig>(options);
}

} // namespace

int main(int argc, char** argv)
{
    // A server that goes away must not end the service with a broken pipe
    // (the client's sends say so themselves; this covers every other socket).
    std::signal(SIGPIPE, SIG_IGN);
    ServiceProgram program(
        argc, argv, QStringLiteral("vornlight-service"),
        QStringLiteral("The lighting service of Vornlight on the D-Bus session bus (name and interface "
                       "OvTarskLumetService.ServiceMediator, object /ServiceMediator). It drives the memory "
                       "modules, main boards and peripherals that an OpenRGB SDK server serves (OpenRGB started "
                       "with --server); its state is kept across restarts."));
    // Its own file: the simulated service's devices and defaults are not these.
    program.SetStateFile(QStringLiteral("openrgb-state.xml"));
    program.AddRigOption({Server,
                          QStringLiteral("The OpenRGB SDK server, as HOST:PORT (default: $VORNLIGHT_OPENRGB, else "
                                         "127.0.0.1:6742)."),
                          QStringLiteral("HOST:PORT")});
    program.AddRigOption({Fps,
                          QStringLiteral("Frames a second while an effect moves, %1 to %2 (default %3).")
                              .arg(FrameClock::MinFps)
                              .arg(FrameClock::MaxFps)
                              .arg(FrameClock::DefaultFps),
                          QStringLiteral("N")});
    program.AddRigOption({Hwmon,
                          QStringLiteral("Read the CPU temperature from the hardware monitors under PATH (default "
                                         "/sys/class/hwmon)."),
                          QStringLiteral("PATH")});
    program.AddRigOption({HardwareModes,
                          QStringLiteral("Let devices run static, breathing, strobing, colour cycle, rainbow and the "
                                         "LEDs switched off with modes of their own where these match, instead of "
                                         "the service's frames. Devices without a Direct mode always do.")});
    return program.Run(MakeRig);
}
