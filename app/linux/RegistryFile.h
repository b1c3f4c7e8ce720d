#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dali {

// The Linux registry: a read-only text file in the Windows registry export
// format ("REGEDIT4" or "Windows Registry Editor Version 5.00", UTF-8 or
// UTF-16LE with its byte-order mark). Understands string, dword:, hex:,
// hex(N): values, continuation lines and the deletion forms [-key] and
// "name"=-. Key paths and value names compare without regard to case, as
// the registry's do.
class RegistryFile
{
public:
    struct Value
    {
        QString name;
        uint32_t type = 0;
        // Strings as UTF-8 bytes (a multi-string keeps its NUL separators),
        // everything else as the raw bytes of the export.
        std::string data;
    };
    using ValueList = std::vector<Value>;

    // One listed key: its values in no particular order, found by name
    // through an index so that a key with many values costs no more per
    // value than a small one.
    struct Key
    {
        ValueList values;
        // Case-folded name -> position in values.
        QHash<QString, int> byName;

        const Value* find(const QString& name) const;
    };

    static constexpr uint32_t TypeString = 1;
    static constexpr uint32_t TypeExpandString = 2;
    static constexpr uint32_t TypeBinary = 3;
    static constexpr uint32_t TypeDword = 4;
    static constexpr uint32_t TypeMultiString = 7;

    // $VORNLIGHT_REGISTRY when set, else the system-wide file.
    static std::string DefaultPath();

    // The registry file at DefaultPath(), parsed once and shared by every
    // reader for as long as the file stays as it was (same file, size, times
    // and owner); a changed file is parsed afresh. A missing, unreadable,
    // oversized or malformed file is an empty registry, and so is one that is
    // not owned by root or the current user or that group or others may
    // write: the panel starts a program named in it.
    static std::shared_ptr<const RegistryFile> Shared();

    // Parses the text of an export, in time linear in its size.
    static RegistryFile Parse(const QByteArray& bytes);

    // fullPath starts with the root's name ("HKEY_LOCAL_MACHINE\Software").
    // A key exists when it is listed or has a listed descendant.
    bool hasKey(const QString& fullPath) const;
    // The listed key; null when it has no entry of its own.
    const Key* key(const QString& fullPath) const;
    // The values of a key; empty when it has none or does not exist.
    ValueList values(const QString& fullPath) const;
    uint32_t subKeyCount(const QString& fullPath) const;

    // The work the parse took: one step per line, per look-up of a key or a
    // value name, and per key removed with a deleted parent. Grows with the
    // size of the file alone, never with the square of a key's values.
    quint64 parseSteps() const { return steps; }

private:
    static QString NormalizePath(const QString& path);
    void parseValueLine(const QString& line, bool unicode, Key& into);
    // Removes the key and everything below it.
    void removeKeys(const QString& path);

    // Lower-case full path -> the key's values.
    std::map<QString, Key> keys;
    quint64 steps = 0;
};

} // namespace dali
