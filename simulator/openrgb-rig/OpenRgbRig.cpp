#include "simulator/openrgb-rig/OpenRgbRig.h"

#include "simulator/core/RigService.h"

#include <algorithm>
#include <chrono>

bool OpenRgbRig::ParseServer(const QString& text, Options& options, QString& error)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    QString host = colon > 0 ? text.left(colon) : QString();
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool number = false;
    const uint port = colon > 0 ? text.midRef(colon + 1).toUInt(&number) : 0;
    const bool printable =
        std::all_of(host.begin(), host.end(), [](QChar c) { return c.unicode() > 32 && c.unicode() < 127; });
    if (host.isEmpty() || !printable || host.contains(QLatin1Char('[')) || host.contains(QLatin1Char(']'))
        || (host.contains(QLatin1Char(':')) && !text.startsWith(QLatin1Char('['))) || !number || port == 0
        || port > 65535) {
        error = QStringLiteral("\"%1\" is not HOST:PORT (a host name or address, a colon and a port from 1 to "
                               "65535; an IPv6 address in brackets)").arg(text);
        return false;
    }
    options.host = host.toStdString();
    options.port = static_cast<uint16_t>(port);
    return true;
}

OpenRgbRig::OpenRgbRig(Options options) : options(std::move(options))
{
    thread.setObjectName(QStringLiteral("OpenRGB"));
}

OpenRgbRig::~OpenRgbRig()
{
    if (!worker)
        return;
    OpenRgbWorker* w = worker;
    QMetaObject::invokeMethod(
        w,
        [w] {
            w->Finish();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    thread.wait();
}

void OpenRgbRig::Begin(RigService& s)
{
    service = &s;
    worker = new OpenRgbWorker(
        options, [this](const RigLayout& layout, const RigState& shown) { Announced(layout, shown); },
        [this] {
            const std::lock_guard<std::mutex> hold(first.lock);
            first.over = true;
            first.ended.notify_all();
        });
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    thread.start();
    OpenRgbWorker* w = worker;
    QMetaObject::invokeMethod(w, [w] { w->Start(); }, Qt::QueuedConnection);

    // A panel that has the bus start the service asks for the capability at
    // once: a server that answers soon is in it. Later layouts come by the
    // event loop.
    std::optional<std::pair<RigLayout, RigState>> found;
    {
        std::unique_lock<std::mutex> hold(first.lock);
        first.ended.wait_for(hold, std::chrono::milliseconds(FirstLookMs), [this] { return first.over; });
        first.waiting = false;
        found = std::move(first.found);
    }
    if (found)
        service->SetLayout(found->first, found->second);
}

void OpenRgbRig::Announced(const RigLayout& layout, const RigState& shown)
{
    {
        const std::lock_guard<std::mutex> hold(first.lock);
        if (first.waiting) {
            first.found.emplace(layout, shown);
            return;
        }
    }
    // Layouts come from the worker's thread and are taken in this one.
    QMetaObject::invokeMethod(
        this, [this, layout, shown] { service->SetLayout(layout, shown); }, Qt::QueuedConnection);
}

void OpenRgbRig::Show(const RigLayout&, const RigState& state)
{
    if (!worker)
        return;
    OpenRgbWorker* w = worker;
    QMetaObject::invokeMethod(
        w, [w, state, defaults = service->Defaults()] { w->Show(state, defaults); }, Qt::QueuedConnection);
}

OpenRgbWorker::Statistics OpenRgbRig::Statistics()
{
    OpenRgbWorker::Statistics stats;
    if (worker) {
        OpenRgbWorker* w = worker;
        QMetaObject::invokeMethod(w, [w, &stats] { stats = w->TakeStatistics(); }, Qt::BlockingQueuedConnection);
    }
    return stats;
}
