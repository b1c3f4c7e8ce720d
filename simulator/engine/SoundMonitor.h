#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// The sound level of what the computer plays: a record stream on the monitor
// of the default output, through PulseAudio's simple API (PipeWire serves the
// same API). The library is loaded at run time, so the service runs, without
// music, where it is missing. A background thread reads blocks of samples and
// keeps the latest level; Level() never blocks. When no monitor can be
// opened the monitor says so once, reports no input and tries again now and
// then, so that a sound server started later is found.
class SoundMonitor
{
public:
    struct Options
    {
        // The library's base name and major version: libpulse-simple.so.0.
        QString library = QStringLiteral("pulse-simple");
        int libraryVersion = 0;
        // The stream's source: the monitor of the default output.
        QByteArray device = QByteArrayLiteral("@DEFAULT_MONITOR@");
        std::chrono::milliseconds retry{10000};
        // Where the one message about a missing or lost monitor goes; stderr
        // when empty.
        std::function<void(const QString&)> report;
    };

    // A level older than this is stale: the stream has stopped delivering.
    static constexpr std::chrono::milliseconds StaleAfter{500};

    SoundMonitor();
    explicit SoundMonitor(Options options);
    ~SoundMonitor();
    SoundMonitor(const SoundMonitor&) = delete;
    SoundMonitor& operator=(const SoundMonitor&) = delete;

    // How long Stop waits for the thread. A read returns within one block,
    // but a sound server that dies at the wrong moment can leave the library
    // waiting for ever, and whoever stops the monitor must not wait with it.
    static constexpr std::chrono::milliseconds StopWithin{2000};

    // Starts the background thread; a second call does nothing.
    void Start();
    // Ends the stream and the thread; a thread that does not end within
    // StopWithin is left behind (said once) and a later Start makes a new one.
    void Stop();

    // The latest level, 0..1; empty while no monitor delivers sound.
    std::optional<float> Level() const;

private:
    using Clock = std::chrono::steady_clock;
    // What the thread works on. The thread holds it too, so that a thread
    // left behind never points into a monitor that is gone.
    struct Shared;

    static void Run(const std::shared_ptr<Shared>& shared);
    // Opens the stream and reads from it until it fails or Stop is called;
    // false with the reason when it could not open or failed.
    static bool Listen(Shared& shared, QString& problem);

    Options options;
    std::shared_ptr<Shared> shared;
    std::thread worker;
};
