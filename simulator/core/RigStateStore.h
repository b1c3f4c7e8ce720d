#pragma once

#include <QString>

#include <string>

// The file that keeps a rig's state across restarts. Every save replaces the
// file whole (written beside it, then renamed over it), so a process killed
// at any moment leaves either the old state or the new one.
class RigStateStore
{
public:
    // $XDG_STATE_HOME/vornlight, or ~/.local/state/vornlight when that is not
    // set to an absolute path.
    static QString DefaultDirectory();

    explicit RigStateStore(const QString& directory);

    QString FilePath() const { return path; }

    // Creates the directory; false with the reason when it cannot.
    bool Prepare(QString& error) const;
    // False when there is no saved state (or it cannot be read).
    bool Read(std::string& text) const;
    bool Save(const std::string& text, QString& error) const;
    // Moves a damaged file out of the way under a name of its own; returns
    // that name, or an empty string when it could not be moved.
    QString SetAside() const;

private:
    QString directory;
    QString path;
};
