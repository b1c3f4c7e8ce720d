#include "simulator/engine/SoundMonitor.h"

#include "simulator/engine/SoundLevel.h"

#include <QLibrary>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace {

// Mono at 16 kHz is plenty for a level; 320 samples make a block of 20 ms,
// more than one level per frame at 30 frames a second.
constexpr std::uint32_t SampleRate = 16000;
constexpr std::size_t BlockSamples = 320;

// The functions of the simple API, typed by the library's own declarations.
struct PulseSimple
{
    decltype(&pa_simple_new) open = nullptr;
    decltype(&pa_simple_read) read = nullptr;
    decltype(&pa_simple_free) close = nullptr;
    decltype(&pa_strerror) describe = nullptr;

    bool Load(QLibrary& library, QString& problem)
    {
        if (!library.load()) {
            problem = QStringLiteral("cannot load the PulseAudio simple API: %1").arg(library.errorString());
            return false;
        }
        open = reinterpret_cast<decltype(open)>(library.resolve("pa_simple_new"));
        read = reinterpret_cast<decltype(read)>(library.resolve("pa_simple_read"));
        close = reinterpret_cast<decltype(close)>(library.resolve("pa_simple_free"));
        describe = reinterpret_cast<decltype(describe)>(library.resolve("pa_strerror"));
        if (!open || !read || !close || !describe) {
            problem = QStringLiteral("%1 lacks the functions of the PulseAudio simple API").arg(library.fileName());
            return false;
        }
        return true;
    }
};

} // namespace

struct SoundMonitor::Shared
{
    explicit Shared(const Options& options) : options(options) {}

    void Say(const QString& text) const
    {
        if (options.report)
            options.report(text);
        else
            std::fprintf(stderr, "vornlight-service: %s\n", qPrintable(text));
    }

    const Options options;
    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::condition_variable wake; // the stop for the thread, the thread's end for Stop
    bool ended = false;           // under lock
    std::atomic<float> level{0.0f};
    std::atomic<Clock::rep> levelTime{0};
    std::atomic<bool> listening{false};
};

SoundMonitor::SoundMonitor() : SoundMonitor(Options()) {}

SoundMonitor::SoundMonitor(Options options) : options(std::move(options)) {}

SoundMonitor::~SoundMonitor()
{
    Stop();
}

void SoundMonitor::Start()
{
    if (worker.joinable())
        return;
    shared = std::make_shared<Shared>(options);
    worker = std::thread(&SoundMonitor::Run, shared);
}

void SoundMonitor::Stop()
{
    if (!worker.joinable())
        return;
    bool ended = false;
    {
        std::unique_lock<std::mutex> locked(shared->lock);
        shared->stopping = true;
        shared->wake.notify_all();
        ended = shared->wake.wait_for(locked, StopWithin, [this] { return shared->ended; });
    }
    if (ended) {
        worker.join();
    } else {
        worker.detach();
        shared->Say(QStringLiteral("the sound monitor did not end within %1 ms (the sound library is stuck); "
                                   "it is left behind")
                        .arg(StopWithin.count()));
    }
    shared.reset();
}

std::optional<float> SoundMonitor::Level() const
{
    if (!shared || !shared->listening)
        return std::nullopt;
    const Clock::time_point at{Clock::duration(shared->levelTime.load())};
    if (Clock::now() - at > StaleAfter)
        return std::nullopt;
    return shared->level.load();
}

void SoundMonitor::Run(const std::shared_ptr<Shared>& shared)
{
    bool said = false;
    while (!shared->stopping) {
        QString problem;
        const bool heard = Listen(*shared, problem);
        if (shared->stopping)
            break;
        // Say it once for each time the sound goes away, not at every retry.
        if (heard)
            said = false;
        if (!said) {
            shared->Say(
                QStringLiteral("no sound input for the music effect (%1); it breathes gently instead").arg(problem));
            said = true;
        }
        std::unique_lock<std::mutex> locked(shared->lock);
        shared->wake.wait_for(locked, shared->options.retry, [&] { return shared->stopping.load(); });
    }
    std::lock_guard<std::mutex> locked(shared->lock);
    shared->ended = true;
    shared->wake.notify_all();
}

bool SoundMonitor::Listen(Shared& shared, QString& problem)
{
    const Options& options = shared.options;
    // QLibrary never unloads on destruction, so one load per attempt is cheap.
    QLibrary library(options.library, options.libraryVersion);
    PulseSimple pulse;
    if (!pulse.Load(library, problem))
        return false;

    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16LE;
    spec.rate = SampleRate;
    spec.channels = 1;
    // A small fragment, or the server would hand over seconds at a time.
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(-1);
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    buffer.minreq = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(BlockSamples * sizeof(std::int16_t));
    int error = 0;
    pa_simple* stream = pulse.open(nullptr, "Vornlight", PA_STREAM_RECORD, options.device.constData(),
                                   "sound level", &spec, nullptr, &buffer, &error);
    if (!stream) {
        problem = QStringLiteral("cannot open %1: %2").arg(QString::fromLatin1(options.device),
                                                            QString::fromUtf8(pulse.describe(error)));
        return false;
    }
    bool heard = false;
    float shown = 0.0f;
    std::int16_t block[BlockSamples];
    while (!shared.stopping) {
        if (pulse.read(stream, block, sizeof block, &error) < 0) {
            problem = QStringLiteral("the sound monitor stopped: %1").arg(QString::fromUtf8(pulse.describe(error)));
            break;
        }
        const double seconds = static_cast<double>(BlockSamples) / SampleRate;
        shown = SoundLevel::Follow(shown, SoundLevel::FromRms(SoundLevel::Rms(block, BlockSamples)), seconds);
        shared.level = shown;
        shared.levelTime = Clock::now().time_since_epoch().count();
        shared.listening = true;
        heard = true;
    }
    shared.listening = false;
    pulse.close(stream);
    return heard;
}
