#include "app/Startup.h"

#include "app/HandOver.h"
#include "app/NumberText.h"
#include "app/ProgramDirectory.h"
#include "app/RegReader.h"
#include "app/SingleInstance.h"
#include "ui/controls/LumetStyle.h"
#include "ui/mainwindow/Lumet.h"

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QResource>
#include <QTimer>

#include <cstdlib>
#include <string>

namespace {

// Test runs end the panel on their own with VORNLIGHT_QUIT_AFTER_MS: the
// event loop quits that many milliseconds after it starts.
void ArmTestQuitTimer(QApplication& app)
{
    const char* text = std::getenv("VORNLIGHT_QUIT_AFTER_MS");
    const std::optional<int> ms = text ? NumberText::ParseInt(text) : std::nullopt;
    if (ms && *ms >= 0)
        QTimer::singleShot(*ms, &app, &QCoreApplication::quit);
}

} // namespace

int RunPanel(int argc, char** argv)
{
    // Images compiled into the program, then the optional external ones; a
    // missing "Custom.rcc" only means the images it would provide are absent.
    Q_INIT_RESOURCE(lumet_resources);
    const std::string customResources = GetProgramDirectory() + "Custom.rcc";
    QResource::registerResource(QString::fromLocal8Bit(customResources.c_str()), QString());

    // Another installed program may take over: the panel's key must hold more
    // than one value, one of them "LUMET" naming the program.
    dali::RegReader registry;
    std::string handOverProgram;
    const bool handOver = registry.open(dali::RegRoot::LocalMachine, "Software\\ORVEL\\LUMET", false, false)
        && registry.values().count() > 1 && registry.readString("LUMET", handOverProgram);
    registry.close();
    // A name too long for the command line refuses the hand-over.
    if (handOver && HandOver::Run(handOverProgram))
        return 0;

    // Outlives the application object: the claim is held until the very end.
    SingleInstance instance;
    // The window follows the desktop's scale (Xft.dpi, QT_SCALE_FACTOR,
    // QT_SCREEN_SCALE_FACTORS) and takes the images drawn for it; Qt reads
    // both only before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    if (!instance.Acquire())
        return 0;
    QApplication::setStyle(new LumetStyle);

    QCommandLineOption capXml(QStringLiteral("capXml"));
    QCommandLineOption statusXml(QStringLiteral("statusXml"));
    QCommandLineOption setProfileXml(QStringLiteral("setProfileXml"));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(capXml);
    parser.addOption(statusXml);
    parser.addOption(setProfileXml);
    // An undeclared option ends the process here with the parser's report.
    parser.process(app);

    Lumet window(nullptr, parser.isSet(capXml), parser.isSet(statusXml), parser.isSet(setProfileXml));
    window.show();
    ArmTestQuitTimer(app);
    return app.exec();
}
