#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>

struct SingleInstance::Claim
{
    explicit Claim(const QString& path) : lock(path) {}
    QLockFile lock;
};

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QString dir = runtime.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(runtime);
    claim = std::make_unique<Claim>(dir + QLatin1Char('/') + QLatin1String(Name) + QStringLiteral(".lock"));
    // The panel holds the lock for as long as it runs: it must never be taken
    // as stale for its age, only when its owner has gone.
    claim->lock.setStaleLockTime(0);
    if (claim->lock.tryLock(0))
        return true;
    return claim->lock.error() != QLockFile::LockFailedError;
}
