#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
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

    static constexpr uint32_t TypeString = 1;
    static constexpr uint32_t TypeExpandString = 2;
    static constexpr uint32_t TypeBinary = 3;
    static constexpr uint32_t TypeDword = 4;
    static constexpr uint32_t TypeMultiString = 7;

    // $VORNLIGHT_REGISTRY when set, else the system-wide file.
    static std::string DefaultPath();

    // Reads a registry file. A missing, unreadable, oversized or malformed
    // file is an empty registry, and so is one that is not owned by root or
    // the current user or that group or others may write: the panel starts
    // a program named in it.
    static RegistryFile Load(const std::string& path);

    // Parses the text of an export.
    static RegistryFile Parse(const QByteArray& bytes);

    // fullPath starts with the root's name ("HKEY_LOCAL_MACHINE\\Software").
    // A key exists when it is listed or has a listed descendant.
    bool hasKey(const QString& fullPath) const;
    // The values of a key; empty when it has none or does not exist.
    ValueList values(const QString& fullPath) const;
    uint32_t subKeyCount(const QString& fullPath) const;

private:
    static QString NormalizePath(const QString& path);
    void parseValueLine(const QString& line, bool unicode, ValueList& into);

    // Lower-case full path -> values in file order.
    std::map<QString, ValueList> keys;
};

} // namespace dali
