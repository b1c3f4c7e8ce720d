#include "simulator/core/RigStateStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

QString RigStateStore::DefaultDirectory()
{
    QString base = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/vornlight");
}

RigStateStore::RigStateStore(const QString& directory)
    : directory(directory), path(directory + QStringLiteral("/rig-state.xml"))
{
}

bool RigStateStore::Prepare(QString& error) const
{
    if (QDir().mkpath(directory))
        return true;
    error = QStringLiteral("cannot create the state directory %1").arg(directory);
    return false;
}

bool RigStateStore::Read(std::string& text) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

bool RigStateStore::Save(const std::string& text, QString& error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
        || !file.commit()) {
        error = QStringLiteral("cannot save the lighting state to %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString RigStateStore::SetAside() const
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    const QString aside = path + QStringLiteral(".damaged-") + stamp;
    return QFile::rename(path, aside) ? aside : QString();
}
