#include "simulator/core/ServiceProgram.h"
#include "simulator/virtual/VirtualRig.h"

int main(int argc, char** argv)
{
    ServiceProgram program(argc, argv, QStringLiteral("vornlight-service-sim"),
                           QStringLiteral("The lighting service of Vornlight on the D-Bus session bus (name and "
                                          "interface OvTarskLumetService.ServiceMediator, object /ServiceMediator). "
                                          "Without --capability and --status it drives a virtual rig whose state is "
                                          "kept across restarts."));
    return program.Run([](const QCommandLineParser&, QString&) { return std::make_unique<VirtualRig>(); });
}
