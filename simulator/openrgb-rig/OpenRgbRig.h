#pragma once

#include "simulator/core/Rig.h"
#include "simulator/openrgb-rig/OpenRgbWorker.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

// The rig of real lights: the devices an OpenRGB SDK server serves. The
// service's thread only hands states over and takes layouts back; the worker
// (OpenRgbWorker) does everything that talks to the server in a thread of its
// own, so that the bus is answered whatever the server does. The defaults it
// hands over are what the devices showed when first met, with a note of the
// mode each one ran, so that DEFAULT gives them back.
class OpenRgbRig : public QObject, public Rig
{
    Q_OBJECT

public:
    using Options = OpenRgbWorker::Options;

    // HOST:PORT ("[::1]:6742" for an IPv6 address) into options; false with
    // the reason in error.
    static bool ParseServer(const QString& text, Options& options, QString& error);

    explicit OpenRgbRig(Options options);
    ~OpenRgbRig() override;

    bool KeepsDefaults() const override { return true; }
    void Begin(RigService& service) override;
    void Show(const RigLayout& layout, const RigState& state) override;

    // The worker's frame statistics, for measuring; waits for the worker.
    OpenRgbWorker::Statistics Statistics();

    // How long Begin waits for the server's devices at most, so that a panel
    // that starts the service finds them in its first capability.
    static constexpr int FirstLookMs = 1500;

private:
    void Announced(const RigLayout& layout, const RigState& shown);

    // The first look: Begin waits for it to end, and takes the layout it
    // found itself.
    struct FirstLook
    {
        std::mutex lock;
        std::condition_variable ended;
        bool waiting = true;
        bool over = false;
        std::optional<std::pair<RigLayout, RigState>> found;
    };
    FirstLook first;

    Options options;
    RigService* service = nullptr;
    QThread thread;
    OpenRgbWorker* worker = nullptr; // lives in thread, deleted as it ends
};
