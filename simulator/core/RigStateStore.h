#pragma once

#include <QString>

#include <string>

// The file that keeps a rig's state across restarts, in a folder the store
// locks for as long as it lives, so that only one service writes there. Only a
// regular file of sane size is read, without following a link or blocking on
// a pipe; every save replaces the file whole (written and synced beside it,
// then renamed over it), so a process killed at any moment leaves either the
// old state or the new one, and a save that fails leaves the old one.
class RigStateStore
{
public:
    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;

    // $XDG_STATE_HOME/vornlight, or ~/.local/state/vornlight when that is not
    // set to an absolute path.
    static QString DefaultDirectory();

    static constexpr const char* DefaultFileName = "rig-state.xml";

    // fileName: the file in directory; each rig keeps its own, so that one
    // never takes the other's devices and defaults for its own.
    explicit RigStateStore(const QString& directory,
                           const QString& fileName = QString::fromLatin1(DefaultFileName));
    ~RigStateStore();
    RigStateStore(const RigStateStore&) = delete;
    RigStateStore& operator=(const RigStateStore&) = delete;

    QString FilePath() const { return path; }

    // Creates the folder and takes its lock, then clears what interrupted
    // saves left there; false with the reason (another service holding the
    // lock among them).
    bool Open(QString& error);

    enum class Found
    {
        Text,    // read into text
        Nothing, // no saved state yet
        Refused, // there is something that must not be read or replaced; error says what
    };
    Found Read(std::string& text, QString& error) const;
    bool Save(const std::string& text, QString& error) const;
    // Moves a damaged file out of the way under a name of its own; returns
    // that name, or an empty string when it could not be moved.
    QString SetAside() const;

private:
    QString directory;
    QString path;
    QByteArray name; // the file's name in the folder
    int folder = -1; // the open, locked folder
};
