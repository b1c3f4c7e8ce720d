#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The folder for the lock file: $XDG_RUNTIME_DIR, which is the user's own.
// Without it, a folder of the user's own under the temporary folder, made
// for the purpose: in the shared temporary folder itself another user could
// plant the lock file. An existing folder is taken only when it is a real
// folder (not a link), owned by this user and writable by nobody else;
// otherwise the result is empty and why says what is wrong.
QString LockFolder(QString& why)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QString::fromLocal8Bit(runtime);
    const QString folder = QDir::tempPath() + QStringLiteral("/vornlight-%1").arg(geteuid());
    const QByteArray path = QFile::encodeName(folder);
    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        why = QStringLiteral("%1 cannot be made (%2)").arg(folder, QString::fromLocal8Bit(strerror(errno)));
        return QString();
    }
    struct stat st {};
    if (lstat(path.constData(), &st) != 0)
        why = QStringLiteral("%1 cannot be read (%2)").arg(folder, QString::fromLocal8Bit(strerror(errno)));
    else if (!S_ISDIR(st.st_mode))
        why = QStringLiteral("%1 is not a folder").arg(folder);
    else if (st.st_uid != geteuid())
        why = QStringLiteral("%1 belongs to another user").arg(folder);
    else if (st.st_mode & (S_IWGRP | S_IWOTH))
        why = QStringLiteral("%1 may be written by others").arg(folder);
    return why.isEmpty() ? folder : QString();
}

} // namespace

struct SingleInstance::Claim
{
    explicit Claim(const QString& path) : lock(path) {}
    QLockFile lock;
};

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire()
{
    QString why;
    const QString dir = LockFolder(why);
    if (dir.isEmpty()) {
        // Refusing to start would let anyone who can write the temporary
        // folder keep every other user's panel from starting.
        qWarning("vornlight: %s; running without the check for a panel already running", qPrintable(why));
        return true;
    }
    claim = std::make_unique<Claim>(dir + QLatin1Char('/') + QLatin1String(Name) + QStringLiteral(".lock"));
    // The panel holds the lock for as long as it runs: it must never be taken
    // as stale for its age, only when its owner has gone.
    claim->lock.setStaleLockTime(0);
    if (claim->lock.tryLock(0))
        return true;
    return claim->lock.error() != QLockFile::LockFailedError;
}
