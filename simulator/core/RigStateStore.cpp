#include "simulator/core/RigStateStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device");
    return QStringLiteral("it is not a regular file");
}

} // namespace

QString RigStateStore::DefaultDirectory()
{
    QString base = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/vornlight");
}

RigStateStore::RigStateStore(const QString& directory, const QString& fileName)
    : directory(directory), path(directory + QLatin1Char('/') + fileName), name(QFile::encodeName(fileName))
{
}

RigStateStore::~RigStateStore()
{
    if (folder >= 0)
        ::close(folder);
}

bool RigStateStore::Open(QString& error)
{
    if (folder >= 0)
        return true;
    if (!QDir().mkpath(directory)) {
        error = QStringLiteral("cannot create the state directory %1").arg(directory);
        return false;
    }
    folder = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        error = QStringLiteral("cannot open the state directory %1: %2").arg(directory, Reason(errno));
        return false;
    }
    // Released by the system however the process ends.
    if (::flock(folder, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK
            ? QStringLiteral("the state directory %1 is in use by another lighting service (it holds the "
                             "directory's lock)").arg(directory)
            : QStringLiteral("cannot lock the state directory %1: %2").arg(directory, Reason(errno));
        ::close(folder);
        folder = -1;
        return false;
    }
    const QStringList left = QDir(directory).entryList({QString::fromLatin1(name + ".new-*")},
                                                        QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : left)
        ::unlinkat(folder, QFile::encodeName(file).constData(), 0);
    return true;
}

RigStateStore::Found RigStateStore::Read(std::string& text, QString& error) const
{
    auto refuse = [&](const QString& why) {
        error = QStringLiteral("cannot read the saved lighting state %1: %2; it is left as it is and the service "
                               "does not start").arg(path, why);
        return Found::Refused;
    };
    // Not blocking: a named pipe would hold the start for ever.
    const int fd = ::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return Found::Nothing;
        return refuse(errno == ELOOP ? QStringLiteral("it is a symbolic link, which the service does not follow")
                                     : Reason(errno));
    }
    struct stat info = {};
    QString why;
    if (::fstat(fd, &info) != 0)
        why = Reason(errno);
    else if (!S_ISREG(info.st_mode))
        why = KindOf(info.st_mode);
    else if (info.st_size > MaxBytes)
        why = QStringLiteral("it is larger than %1 bytes").arg(MaxBytes);
    std::string read;
    while (why.isEmpty()) {
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            why = Reason(errno);
        else if (n == 0)
            break;
        else if (read.size() + static_cast<size_t>(n) > static_cast<size_t>(MaxBytes))
            why = QStringLiteral("it is larger than %1 bytes").arg(MaxBytes);
        else
            read.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!why.isEmpty())
        return refuse(why);
    text = std::move(read);
    return Found::Text;
}

bool RigStateStore::Save(const std::string& text, QString& error) const
{
    auto fail = [&](const QString& why) {
        error = QStringLiteral("cannot save the lighting state to %1: %2").arg(path, why);
        return false;
    };
    if (folder < 0)
        return fail(QStringLiteral("the state directory is not open"));
    // A name of our own beside the file, never a link followed: created here or not at all.
    static unsigned serial = 0;
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = name + ".new-" + QByteArray::number(::getpid()) + '-' + QByteArray::number(++serial);
        fd = ::openat(folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return fail(Reason(errno));
    auto discard = [&](int cause, bool open) {
        if (open)
            ::close(fd);
        ::unlinkat(folder, temporary.constData(), 0);
        return fail(Reason(cause));
    };
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return discard(n < 0 ? errno : EIO, true);
        done += static_cast<size_t>(n);
    }
    // On the disk before the name points at it, so that a crash never finds an empty file.
    if (::fsync(fd) != 0)
        return discard(errno, true);
    if (::close(fd) != 0)
        return discard(errno, false);
    if (::renameat(folder, temporary.constData(), folder, name.constData()) != 0)
        return discard(errno, false);
    // The rename itself is durable once the folder is synced (where it can be).
    if (::fsync(folder) != 0 && errno != EINVAL)
        return fail(Reason(errno));
    return true;
}

QString RigStateStore::SetAside() const
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    const QString aside = path + QStringLiteral(".damaged-") + stamp;
    const QByteArray asideName = QFile::encodeName(aside.mid(directory.size() + 1));
    return ::renameat(folder, name.constData(), folder, asideName.constData()) == 0 ? aside : QString();
}
