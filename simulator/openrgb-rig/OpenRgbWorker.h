#pragma once

#include "simulator/core/RigState.h"
#include "simulator/engine/CpuTemperature.h"
#include "simulator/engine/EffectEngine.h"
#include "simulator/engine/FrameClock.h"
#include "simulator/engine/SoundMonitor.h"
#include "simulator/openrgb-rig/OpenRgbMapping.h"
#include "simulator/openrgb-rig/ShowPlan.h"
#include "simulator/openrgb/OpenRgbClient.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The OpenRGB rig's worker: it lives in a thread of its own and owns the SDK
// client, the frame clock and the engine's inputs, so that a slow or stalled
// server never holds up the service's bus. It connects (and reconnects with a
// short back-off), reads the devices at the start and whenever the server
// says its list changed, hands each new layout to the service, and shows the
// latest state: a mode or a frame once where that suffices, the engine's
// frames at the frame rate while an effect moves, nothing that a device
// already shows.
class OpenRgbWorker : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        std::string host = "127.0.0.1";
        uint16_t port = 6742; // the SDK server's own default
        int fps = FrameClock::DefaultFps;
        QString hwmonRoot = QString::fromLatin1(CpuTemperature::DefaultRoot);
        bool preferHardware = false;
    };

    // The layout a read found, with what the devices showed then; called in
    // the worker's thread.
    using Announce = std::function<void(const RigLayout& layout, const RigState& shown)>;
    // Called once, in the worker's thread, when the first look for the server
    // and its devices has ended, found or not.
    using Looked = std::function<void()>;

    struct Statistics
    {
        // How late the frame clock's latest ticks came, and the time between
        // the latest ticks that sent a frame, in nanoseconds.
        std::vector<qint64> latenessNs;
        std::vector<qint64> intervalsNs;
        qint64 missedFrames = 0;
        qint64 framesSent = 0;
    };

    OpenRgbWorker(Options options, Announce announce, Looked looked);
    ~OpenRgbWorker() override;

    // Called in the worker's thread.
    void Start();
    void Show(const RigState& state, const RigState& defaults);
    // Stops the timers and the sound monitor and lets go of the server.
    void Finish();
    Statistics TakeStatistics() const;

private:
    // What was last set on a controller, as far as the worker knows.
    struct Sent
    {
        bool direct = false;
        std::optional<HardwareMode::Choice> mode;
        std::vector<OpenRgb::Color> colors;
    };

    void FirstLookEnded();
    void TryConnect();
    void ScheduleConnect();
    void ReadDevices();
    void Lost(const std::string& reason);
    void Poll();
    void AnnounceLayout(const RigLayout& layout, const RigState& shown);
    // Makes the plan afresh and sends what it changes.
    void Replan();
    void OnTick(qint64 frame, qint64 dueNs);
    // Renders the framed units at nowNs (worker time) and sends what changed.
    void SendFrames(qint64 nowNs, bool onlyMoving);
    bool SendColors(size_t controller, const std::vector<OpenRgb::Color>& colors);
    bool SendMode(size_t controller, const HardwareMode::Choice& mode);
    // A command failed: the connection or the list may have gone.
    void CommandFailed();
    EffectEngine::Inputs InputsFor(const ShowPlan::Unit& unit, qint64 nowNs);
    void UpdateInputs();
    void UpdateClock();

    Options options;
    Announce announce;
    Looked looked;
    OpenRgbClient client;
    QTimer retry;
    QTimer poll;
    QTimer grace;
    QTimer reread;
    FrameClock clock;
    QElapsedTimer epoch;
    qint64 clockStartNs = 0;
    int retryMs = 0;
    bool outageSaid = false;
    std::string announced; // the capability last handed over

    std::vector<OpenRgb::Device> devices;
    OpenRgbMapping mapping;
    std::optional<RigState> state;
    RigState defaults;
    ShowPlan plan;
    std::vector<Sent> sent; // per controller of the mapping
    // Per unit: the values it started with and when, so that an effect runs
    // from its start once and goes on through later plans that keep it.
    std::map<std::string, std::pair<RigState::Device, qint64>> started;
    std::vector<EffectEngine::Rgb> frame;
    std::vector<std::vector<OpenRgb::Color>> buffers;

    CpuTemperature temperature;
    std::optional<float> celsius;
    qint64 celsiusReadNs = -1;
    std::unique_ptr<SoundMonitor> sound;

    std::string complaint; // the last refusal said
    // When the latest ticks sent a frame.
    std::vector<qint64> sendTimes;
    qint64 framesSent = 0;
};
