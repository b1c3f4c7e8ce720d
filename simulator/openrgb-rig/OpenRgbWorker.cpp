#include "simulator/openrgb-rig/OpenRgbWorker.h"

#include "simulator/core/RigDocuments.h"
#include "simulator/core/ServiceLog.h"

#include <algorithm>

namespace {

// Between attempts to connect: from the first retry to the longest, so that
// a server that comes back is found within a second.
constexpr int FirstRetryMs = 250;
constexpr int LongestRetryMs = 1000;
// The server opens its port before it has found its devices: they follow
// within a few milliseconds, with notices that the reading waits out.
constexpr int SettleMs = 100;
constexpr int PollMs = 100;
// A server that went away keeps its devices in the documents this long, so
// that a restart does not take the group from a panel that is open.
constexpr int GraceMs = 3000;
// A server that did not answer in time is asked again only after this long,
// once it has caught up.
constexpr int RereadMs = 1000;
constexpr qint64 TemperatureEveryNs = 1000000000LL;
constexpr size_t KeptSendTimes = 4096;

OpenRgbClient::Options ClientOptions()
{
    OpenRgbClient::Options options;
    options.clientName = "Vornlight";
    return options;
}

QString Where(const OpenRgbWorker::Options& options)
{
    return QStringLiteral("%1:%2").arg(QString::fromStdString(options.host)).arg(options.port);
}

// The client's reason, without the server's address that the message names already.
QString Reason(const OpenRgbWorker::Options& options, const std::string& error)
{
    const QString text = QString::fromStdString(error);
    const QString prefix = QStringLiteral("OpenRGB server %1: ").arg(Where(options));
    return text.startsWith(prefix) ? text.mid(prefix.size()) : text;
}

} // namespace

OpenRgbWorker::OpenRgbWorker(Options options, Announce announce, Looked looked)
    : options(std::move(options)), announce(std::move(announce)), looked(std::move(looked)), client(ClientOptions()),
      retry(this), poll(this), grace(this), reread(this), clock(this), announced(RigDocuments::Capability(RigLayout())),
      temperature(this->options.hwmonRoot)
{
    retry.setSingleShot(true);
    grace.setSingleShot(true);
    reread.setSingleShot(true);
    poll.setInterval(PollMs);
    connect(&retry, &QTimer::timeout, this, &OpenRgbWorker::TryConnect);
    connect(&poll, &QTimer::timeout, this, &OpenRgbWorker::Poll);
    connect(&reread, &QTimer::timeout, this, &OpenRgbWorker::ReadDevices);
    connect(&grace, &QTimer::timeout, this, [this] { AnnounceLayout(RigLayout(), RigState()); });
    connect(&clock, &FrameClock::Tick, this, &OpenRgbWorker::OnTick);
}

OpenRgbWorker::~OpenRgbWorker() = default;

void OpenRgbWorker::Start()
{
    epoch.start();
    TryConnect();
}

void OpenRgbWorker::Finish()
{
    clock.Stop();
    retry.stop();
    poll.stop();
    grace.stop();
    reread.stop();
    sound.reset();
    client.Disconnect();
}

void OpenRgbWorker::FirstLookEnded()
{
    if (looked) {
        looked();
        looked = nullptr;
    }
}

void OpenRgbWorker::TryConnect()
{
    if (client.Connect(options.host, options.port)) {
        ServiceLog::Say(QStringLiteral("connected to the OpenRGB SDK server at %1 (protocol %2)")
                            .arg(Where(options))
                            .arg(client.Protocol()));
        retryMs = 0;
        outageSaid = false;
        grace.stop();
        poll.start();
        reread.start(SettleMs);
        return;
    }
    if (!outageSaid) {
        ServiceLog::Say(QStringLiteral("no OpenRGB SDK server answers at %1 (%2). Until one does the service shows "
                                       "no devices; start OpenRGB with its SDK server (openrgb --server), or name "
                                       "another server with --openrgb HOST:PORT")
                            .arg(Where(options), Reason(options, client.Error())));
        outageSaid = true;
    }
    FirstLookEnded();
    ScheduleConnect();
}

void OpenRgbWorker::ScheduleConnect()
{
    retryMs = retryMs ? std::min(retryMs * 2, LongestRetryMs) : FirstRetryMs;
    retry.start(retryMs);
}

void OpenRgbWorker::Lost(const std::string& reason)
{
    poll.stop();
    reread.stop();
    clock.Stop();
    devices.clear();
    mapping = OpenRgbMapping();
    plan = ShowPlan();
    sent.clear();
    if (!outageSaid) {
        ServiceLog::Say(QStringLiteral("lost the OpenRGB SDK server at %1 (%2); trying again")
                            .arg(Where(options), Reason(options, reason)));
        outageSaid = true;
    }
    if (!grace.isActive())
        grace.start(GraceMs);
    retryMs = 0;
    ScheduleConnect();
}

void OpenRgbWorker::Poll()
{
    if (!client.Poll()) {
        Lost(client.Error());
        return;
    }
    if (client.DeviceListChanged() && !reread.isActive())
        ReadDevices();
}

void OpenRgbWorker::ReadDevices()
{
    if (!client.IsConnected())
        return;
    // A stalled server is not asked more than it owes; it is read once it
    // has caught up.
    std::optional<std::vector<OpenRgb::Device>> read;
    if (!client.AwaitsLateReplies())
        read = client.Controllers();
    if (!read) {
        FirstLookEnded();
        if (!client.IsConnected()) {
            Lost(client.Error());
            return;
        }
        reread.start(RereadMs);
        return;
    }
    devices = std::move(*read);
    mapping = OpenRgbMapping::FromDevices(devices);
    // What the devices show now is what they were last sent.
    sent.assign(mapping.controllers.size(), Sent());
    for (size_t c = 0; c < mapping.controllers.size(); ++c) {
        const OpenRgb::Device& d = devices[mapping.controllers[c].index];
        Sent& s = sent[c];
        s.direct = d.activeMode >= 0 && d.activeMode == HardwareMode::Direct(d);
        if (const OpenRgb::Mode* active = d.ActiveMode())
            s.mode = HardwareMode::Choice{d.activeMode, *active, active->colorMode == OpenRgb::ColorMode::PerLed};
        s.colors = d.colors;
    }
    AnnounceLayout(mapping.layout, mapping.defaults);
    FirstLookEnded();
    Replan();
}

void OpenRgbWorker::AnnounceLayout(const RigLayout& layout, const RigState& shown)
{
    std::string capability = RigDocuments::Capability(layout);
    if (capability == announced)
        return;
    announced = std::move(capability);
    announce(layout, shown);
}

void OpenRgbWorker::Show(const RigState& next, const RigState& kept)
{
    state = next;
    defaults = kept;
    Replan();
}

void OpenRgbWorker::Replan()
{
    if (!state || devices.empty() || !client.IsConnected()) {
        clock.Stop();
        return;
    }
    plan = ShowPlan::Make(mapping, devices, *state, defaults, options.preferHardware);
    const qint64 now = epoch.nsecsElapsed();
    bool music = false;
    for (const ShowPlan::Unit& unit : plan.units) {
        const RigState::Device& values = state->devices.at(unit.deviceKey);
        const auto known = started.find(unit.deviceKey);
        if (known == started.end() || !(known->second.first == values))
            started[unit.deviceKey] = {values, now};
        music = music || (unit.framed && unit.settings.enabled && unit.settings.mode == EffectSettings::Music);
    }
    if (music && !sound) {
        SoundMonitor::Options sounding;
        sounding.report = [](const QString& text) { ServiceLog::Say(text); };
        sound = std::make_unique<SoundMonitor>(sounding);
        sound->Start();
    } else if (!music) {
        sound.reset();
    }

    buffers.resize(mapping.controllers.size());
    for (size_t c = 0; c < mapping.controllers.size(); ++c) {
        buffers[c].resize(devices[mapping.controllers[c].index].leds.size());
        const ShowPlan::ControllerShow& show = plan.controllers[c];
        bool ok = true;
        if (show.way == ShowPlan::Way::Mode) {
            ok = SendMode(c, show.mode) && (!show.mode.ledColors || SendColors(c, show.colors));
        } else if (show.way == ShowPlan::Way::Still) {
            ok = SendColors(c, show.colors);
        }
        if (!ok) {
            CommandFailed();
            return;
        }
    }
    SendFrames(now, false);
    UpdateClock();
}

void OpenRgbWorker::UpdateClock()
{
    EffectEngine::Inputs inputs;
    inputs.cpuCelsius = celsius;
    const int fps = plan.FramesPerSecond(inputs, options.fps);
    if (fps == 0 || !client.IsConnected()) {
        clock.Stop();
        return;
    }
    if (clock.IsRunning() && clock.Fps() == fps)
        return;
    clock.SetFps(fps);
    clock.Start();
    clockStartNs = epoch.nsecsElapsed();
}

EffectEngine::Inputs OpenRgbWorker::InputsFor(const ShowPlan::Unit& unit, qint64 nowNs)
{
    EffectEngine::Inputs inputs;
    const auto known = started.find(unit.deviceKey);
    const qint64 since = known != started.end() ? known->second.second : nowNs;
    inputs.seconds = static_cast<double>(nowNs - since) / 1e9;
    inputs.seed = static_cast<uint32_t>(since ^ (since >> 32));
    if (unit.settings.mode == EffectSettings::Temperature) {
        // The sensors change about once a second; reading them every frame would only cost.
        if (celsiusReadNs < 0 || nowNs - celsiusReadNs >= TemperatureEveryNs) {
            celsius = temperature.Read();
            celsiusReadNs = nowNs;
        }
        inputs.cpuCelsius = celsius;
    }
    if (unit.settings.mode == EffectSettings::Music && sound)
        inputs.soundLevel = sound->Level();
    return inputs;
}

void OpenRgbWorker::SendFrames(qint64 nowNs, bool onlyMoving)
{
    for (const ShowPlan::Unit& unit : plan.units) {
        if (!unit.framed)
            continue;
        if (onlyMoving && EffectEngine::IsStill(unit.settings))
            continue;
        const EffectEngine::Inputs inputs = InputsFor(unit, nowNs);
        EffectEngine::Render(unit.settings, inputs, frame);
        for (size_t k = 0; k < unit.places.size(); ++k) {
            for (const auto& [c, i] : unit.places[k])
                buffers[c][i] = HardwareMode::ToColor(frame[k]);
        }
        for (size_t c = 0; c < plan.controllers.size(); ++c) {
            if (plan.controllers[c].way != ShowPlan::Way::Frames || mapping.controllers[c].deviceKey != unit.deviceKey)
                continue;
            if (!SendColors(c, buffers[c])) {
                CommandFailed();
                return;
            }
        }
    }
}

bool OpenRgbWorker::SendColors(size_t c, const std::vector<OpenRgb::Color>& colors)
{
    Sent& s = sent[c];
    const uint32_t device = static_cast<uint32_t>(mapping.controllers[c].index);
    const bool direct = plan.controllers[c].way != ShowPlan::Way::Mode;
    if (direct && !s.direct) {
        if (!client.SetCustomMode(device))
            return false;
        s.direct = true;
        s.mode.reset();
        s.colors.clear();
    }
    if (colors == s.colors)
        return true;
    if (!client.UpdateLeds(device, colors))
        return false;
    s.colors = colors;
    ++framesSent;
    return true;
}

bool OpenRgbWorker::SendMode(size_t c, const HardwareMode::Choice& mode)
{
    Sent& s = sent[c];
    if (!s.direct && s.mode && HardwareMode::Same(mode, s.mode->index, s.mode->settings))
        return true;
    const uint32_t device = static_cast<uint32_t>(mapping.controllers[c].index);
    if (!client.UpdateMode(device, static_cast<uint32_t>(mode.index), mode.settings))
        return false;
    s.mode = mode;
    s.direct = false;
    s.colors.clear();
    return true;
}

void OpenRgbWorker::CommandFailed()
{
    // Handled once the caller has let go of the plan it was walking.
    QTimer::singleShot(0, this, [this] {
        if (!client.IsConnected()) {
            if (!devices.empty())
                Lost(client.Error());
        } else if (client.DeviceListChanged()) {
            ReadDevices();
        } else if (client.Error() != complaint) {
            // Said once, not with every frame that meets the same refusal.
            complaint = client.Error();
            ServiceLog::Say(QStringLiteral("a command to the OpenRGB SDK server at %1 was refused: %2")
                                .arg(Where(options), Reason(options, complaint)));
        }
    });
}

void OpenRgbWorker::OnTick(qint64, qint64 dueNs)
{
    // A stalled server is sent nothing until it answers what it owes.
    if (client.AwaitsLateReplies())
        return;
    const qint64 before = framesSent;
    SendFrames(clockStartNs + dueNs, true);
    if (framesSent != before) {
        // Kept in order; the older half goes when the list is full.
        if (sendTimes.size() >= 2 * KeptSendTimes)
            sendTimes.erase(sendTimes.begin(), sendTimes.begin() + KeptSendTimes);
        sendTimes.push_back(epoch.nsecsElapsed());
    }
    UpdateClock();
}

OpenRgbWorker::Statistics OpenRgbWorker::TakeStatistics() const
{
    Statistics stats;
    stats.latenessNs = clock.LatenessNs();
    stats.missedFrames = clock.MissedFrames();
    stats.framesSent = framesSent;
    for (size_t i = 1; i < sendTimes.size(); ++i)
        stats.intervalsNs.push_back(sendTimes[i] - sendTimes[i - 1]);
    return stats;
}
