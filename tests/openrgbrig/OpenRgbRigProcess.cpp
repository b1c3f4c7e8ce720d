#include "tests/openrgbrig/OpenRgbRigProcess.h"

#include "app/NumberText.h"
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/LedInfo.h"
#include "simulator/core/ColorMath.h"
#include "simulator/openrgb/OpenRgbClient.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace {

// Polls test until it holds, up to timeoutMs.
bool Until(const std::function<bool()>& test, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!test()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

bool OpenRgbRigProcess::StartService(const QStringList& extra)
{
    service = std::make_unique<SimulatorProcess>(
        QStringList{QStringLiteral("--openrgb"), QStringLiteral("127.0.0.1:%1").arg(server.Port()),
                    QStringLiteral("--state-dir"), dir.filePath(QStringLiteral("state"))}
            + extra,
        SimulatorProcess::Program(QStringLiteral("vornlight-service")));
    return service->Start();
}

bool OpenRgbRigProcess::Start(const QStringList& extra)
{
    if (!server.Start())
        problem = server.Error();
    else if (!StartService(extra))
        problem = QStringLiteral("vornlight-service did not start: ") + service->ErrorOutput();
    else if (!Until([] { return !GroupLeds().empty(); }, 10000))
        problem = QStringLiteral("vornlight-service lists no group; it said: ") + service->ErrorOutput();
    else
        return true;
    return false;
}

void OpenRgbRigProcess::StopService()
{
    if (service)
        service->Stop();
}

std::optional<OpenRgbRigProcess::Devices> OpenRgbRigProcess::Read()
{
    OpenRgbClient client;
    if (!client.Connect("127.0.0.1", server.Port()))
        return std::nullopt;
    return client.Controllers();
}

bool OpenRgbRigProcess::WaitFor(const std::function<bool(const Devices&)>& test, int timeoutMs)
{
    return Until(
        [&] {
            std::optional<Devices> read = Read();
            if (read)
                last = std::move(*read);
            return read && test(last);
        },
        timeoutMs);
}

std::vector<std::string> OpenRgbRigProcess::GroupLeds()
{
    const CapabilityParser::Result model =
        CapabilityParser::Parse(SimulatorProcess::Fetch(QStringLiteral("GetCapability")).toStdString());
    std::vector<std::string> keys;
    for (const LedInfo* led : model.group ? model.group->GetLeds() : std::vector<LedInfo*>())
        keys.push_back(led->GetKey());
    return keys;
}

std::string OpenRgbRigProcess::Profile(int mode, unsigned color, const std::string& ledSpeed, const std::string& extra,
                                       const std::vector<std::string>& leds)
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

std::string OpenRgbRigProcess::RainbowValues(int speed, bool startToEnd)
{
    return "<color_type>Cycle</color_type><start_end_color_cycle_start>0.000000</start_end_color_cycle_start>"
           "<start_end_color_cycle_end>1.000000</start_end_color_cycle_end>"
           "<start_end_color_cycle_range>1.000000</start_end_color_cycle_range>"
           "<start_to_end_or_end_to_start>"
        + std::string(startToEnd ? "1" : "0") + "</start_to_end_or_end_to_start><effect_path_order/><effect_speed>"
        + std::to_string(speed) + "</effect_speed>";
}

bool OpenRgbRigProcess::Apply(const std::string& document, const char* key)
{
    return SimulatorProcess::SetProfile(QLatin1String(key), QString::fromStdString(document)).type()
        == QDBusMessage::ReplyMessage;
}

bool OpenRgbRigProcess::Shows(const OpenRgb::Device& device, OpenRgb::Color color)
{
    return std::all_of(device.colors.begin(), device.colors.end(), [&](OpenRgb::Color c) { return c == color; });
}

bool OpenRgbRigProcess::AllShow(const Devices& devices, OpenRgb::DeviceType type, OpenRgb::Color color)
{
    bool found = false;
    for (const OpenRgb::Device& d : devices) {
        if (d.type == type && !Shows(d, color))
            return false;
        found = found || d.type == type;
    }
    return found;
}
