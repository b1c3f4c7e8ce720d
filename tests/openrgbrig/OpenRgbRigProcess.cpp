#include "tests/openrgbrig/OpenRgbRigProcess.h"

#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/LedInfo.h"
#include "app/NumberText.h"
#include "simulator/core/ColorMath.h"
#include "simulator/openrgb/OpenRgbClient.h"

#include <QElapsedTimer>
#include <QThread>

OpenRgbRigProcess::OpenRgbRigProcess(OpenRgbServer::Devices devices) : server(devices) {}

OpenRgbRigProcess::~OpenRgbRigProcess()
{
    // The service first: it must not see the server go and come back.
    service.reset();
}

bool OpenRgbRigProcess::StartService(const QStringList& extra)
{
    service = std::make_unique<SimulatorProcess>(
        QStringList{QStringLiteral("--openrgb"), QStringLiteral("127.0.0.1:%1").arg(server.Port()),
                    QStringLiteral("--state-dir"), StateDir()}
            + extra,
        SimulatorProcess::Program(QStringLiteral("vornlight-service")));
    return service->Start();
}

bool OpenRgbRigProcess::Start(const QStringList& extra)
{
    if (!server.Start()) {
        problem = server.Error();
        return false;
    }
    if (!StartService(extra)) {
        problem = QStringLiteral("vornlight-service did not start: ") + service->ErrorOutput();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!HasGroup()) {
        if (clock.elapsed() > 10000) {
            problem = QStringLiteral("vornlight-service lists no group; it said: ") + service->ErrorOutput();
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

bool OpenRgbRigProcess::HasGroup()
{
    return CapabilityParser::Parse(SimulatorProcess::Fetch(QStringLiteral("GetCapability")).toStdString()).group
        != nullptr;
}

void OpenRgbRigProcess::StopService()
{
    if (service)
        service->Stop();
}

std::optional<OpenRgbRigProcess::Devices> OpenRgbRigProcess::Read()
{
    OpenRgbClient::Options options;
    options.clientName = "Vornlight test reader";
    OpenRgbClient client(options);
    if (!client.Connect("127.0.0.1", server.Port()))
        return std::nullopt;
    return client.Controllers();
}

bool OpenRgbRigProcess::WaitFor(const std::function<bool(const Devices&)>& test, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        if (std::optional<Devices> read = Read()) {
            last = std::move(*read);
            if (test(last))
                return true;
        }
        QThread::msleep(20);
    } while (clock.elapsed() < timeoutMs);
    return false;
}

std::vector<std::string> OpenRgbRigProcess::GroupLeds()
{
    const CapabilityParser::Result model =
        CapabilityParser::Parse(SimulatorProcess::Fetch(QStringLiteral("GetCapability")).toStdString());
    std::vector<std::string> keys;
    if (model.group) {
        for (const LedInfo* led : model.group->GetLeds())
            keys.push_back(led->GetKey());
    }
    return keys;
}

std::string OpenRgbRigProcess::Profile(int mode, unsigned color, const std::string& ledSpeed, const std::string& extra)
{
    return Profile(GroupLeds(), mode, color, ledSpeed, extra);
}

std::string OpenRgbRigProcess::RainbowValues(int speed, bool startToEnd)
{
    return "<color_type>Cycle</color_type><start_end_color_cycle_start>0.000000</start_end_color_cycle_start>"
           "<start_end_color_cycle_end>1.000000</start_end_color_cycle_end>"
           "<start_end_color_cycle_range>1.000000</start_end_color_cycle_range>"
           "<start_to_end_or_end_to_start>"
        + std::string(startToEnd ? "1" : "0") + "</start_to_end_or_end_to_start><effect_path_order/><effect_speed>"
        + std::to_string(speed) + "</effect_speed>";
}

std::string OpenRgbRigProcess::Profile(const std::vector<std::string>& leds, int mode, unsigned color,
                                       const std::string& ledSpeed, const std::string& extra)
{
    std::string text = "<root><header>ORVEL_LUMET</header><version>1.1</version><funcid>4</funcid>"
                       "<device key=\"Group\"><scene><state>S0</state><mode key=\""
        + std::to_string(mode) + "\"><iscolorsynced>0</iscolorsynced>" + extra;
    const ColorMath::Hsl hsl = ColorMath::HslFromPacked(color);
    for (const std::string& key : leds) {
        text += "<led key=\"" + key + "\"><color>" + std::to_string(color) + "</color><hue>"
            + NumberText::FormatFloat(hsl.hue) + "</hue><saturation>" + NumberText::FormatFloat(hsl.saturation)
            + "</saturation><lightness>" + NumberText::FormatFloat(hsl.lightness) + "</lightness><speed>" + ledSpeed
            + "</speed><direction>na</direction></led>";
    }
    return text + "</mode></scene></device></root>";
}

QDBusMessage OpenRgbRigProcess::Apply(const std::string& document, const char* key)
{
    return SimulatorProcess::SetProfile(QLatin1String(key), QString::fromStdString(document));
}

bool OpenRgbRigProcess::Shows(const Devices& devices, const std::string& name, OpenRgb::Color color)
{
    bool found = false;
    for (const OpenRgb::Device& d : devices) {
        if (d.name != name)
            continue;
        found = true;
        for (const OpenRgb::Color& c : d.colors) {
            if (c != color)
                return false;
        }
    }
    return found;
}

std::vector<const OpenRgb::Device*> OpenRgbRigProcess::Modules(const Devices& devices)
{
    std::vector<const OpenRgb::Device*> modules;
    for (const OpenRgb::Device& d : devices) {
        if (d.type == OpenRgb::DeviceType::Dram)
            modules.push_back(&d);
    }
    return modules;
}
