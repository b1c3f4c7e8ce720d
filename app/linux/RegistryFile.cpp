#include "app/linux/RegistryFile.h"

#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <set>

#ifndef LUMET_SYSCONFDIR
#define LUMET_SYSCONFDIR "/etc"
#endif

namespace dali {

namespace {

// Far beyond any real export; keeps a wrong path from filling memory.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

// Reads a quoted, backslash-escaped text starting at text[pos] == '"'.
// Returns the index after the closing quote, or -1 when there is none.
int ReadQuoted(const QString& text, int pos, QString& out)
{
    out.clear();
    for (int i = pos + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            out += text[++i];
        } else if (c == QLatin1Char('"')) {
            return i + 1;
        } else {
            out += c;
        }
    }
    return -1;
}

// "aa,bb, cc" -> bytes; false on anything that is not a list of hex bytes.
bool ParseHexBytes(const QString& text, std::string& out)
{
    out.clear();
    if (text.trimmed().isEmpty())
        return true;
    const QStringList parts = text.split(QLatin1Char(','));
    for (int i = 0; i < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        // regedit ends a continued line with a comma, which leaves an empty last part.
        if (part.isEmpty() && i == parts.size() - 1)
            break;
        bool ok = false;
        const uint byte = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2 || byte > 0xff)
            return false;
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

// String data given as hex bytes: UTF-16LE in version 5 exports, ANSI bytes in
// REGEDIT4 ones. The result is UTF-8 with any NULs kept.
std::string DecodeHexText(const std::string& bytes, bool unicode)
{
    if (!unicode)
        return bytes;
    QString text;
    text.reserve(static_cast<int>(bytes.size() / 2));
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<ushort>(static_cast<unsigned char>(bytes[i])
                                          | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

bool IsStringType(uint32_t type)
{
    return type == RegistryFile::TypeString || type == RegistryFile::TypeExpandString
        || type == RegistryFile::TypeMultiString;
}

} // namespace

std::string RegistryFile::DefaultPath()
{
    const char* env = getenv("VORNLIGHT_REGISTRY");
    if (env && *env)
        return env;
    return LUMET_SYSCONFDIR "/vornlight/registry.reg";
}

std::shared_ptr<const RegistryFile> RegistryFile::Shared()
{
    // What identifies the file as read: a rewrite changes its times or size,
    // a replacement its inode, and the trust checks look at owner and mode.
    struct Identity
    {
        std::string path;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        uid_t owner = 0;
        mode_t mode = 0;

        bool operator==(const Identity& o) const
        {
            return path == o.path && device == o.device && inode == o.inode && size == o.size
                && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
                && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec && owner == o.owner
                && mode == o.mode;
        }
    };
    static std::mutex guard;
    static Identity sharedIdentity;
    static std::shared_ptr<const RegistryFile> shared;
    static const auto empty = std::make_shared<const RegistryFile>();

    const std::string path = DefaultPath();
    // Checked on the open descriptor, so the file judged is the file read.
    // O_NONBLOCK keeps a FIFO from stalling start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return empty;
    struct stat st {};
    const bool trusted = fstat(fd, &st) == 0 && S_ISREG(st.st_mode)
        && (st.st_uid == 0 || st.st_uid == geteuid()) && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0
        && st.st_size <= MaxFileSize;
    if (!trusted) {
        ::close(fd);
        return empty;
    }
    const Identity identity{path, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, st.st_uid, st.st_mode};
    std::lock_guard<std::mutex> lock(guard);
    if (shared && identity == sharedIdentity) {
        ::close(fd);
        return shared;
    }
    QByteArray bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || bytes.size() + n > MaxFileSize)
            break;
        bytes.append(buf, static_cast<int>(n));
    }
    ::close(fd);
    shared = std::make_shared<const RegistryFile>(Parse(bytes));
    sharedIdentity = identity;
    return shared;
}

RegistryFile RegistryFile::Parse(const QByteArray& bytes)
{
    QString text;
    if (bytes.startsWith("\xff\xfe")) {
        const int units = (bytes.size() - 2) / 2;
        text.reserve(units);
        for (int i = 0; i < units; ++i)
            text += QChar(static_cast<ushort>(static_cast<unsigned char>(bytes[2 + 2 * i])
                                              | (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8)));
    } else if (bytes.startsWith("\xef\xbb\xbf")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else {
        text = QString::fromUtf8(bytes);
    }

    RegistryFile file;
    const QStringList lines = text.split(QLatin1Char('\n'));
    int i = 0;
    while (i < lines.size() && lines[i].trimmed().isEmpty())
        ++i;
    if (i == lines.size())
        return file;
    const QString header = lines[i++].trimmed();
    bool unicode = false;
    if (header == QLatin1String("Windows Registry Editor Version 5.00"))
        unicode = true;
    else if (header != QLatin1String("REGEDIT4"))
        return file;

    Key* current = nullptr;
    for (; i < lines.size(); ++i) {
        ++file.steps;
        QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            current = nullptr;
            if (!line.endsWith(QLatin1Char(']')))
                continue;
            QString path = line.mid(1, line.size() - 2);
            if (path.startsWith(QLatin1Char('-'))) {
                file.removeKeys(NormalizePath(path.mid(1)));
                continue;
            }
            path = NormalizePath(path);
            if (!path.isEmpty()) {
                ++file.steps;
                current = &file.keys[path];
            }
            continue;
        }
        // Long hex data continues on the next lines after a trailing backslash.
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.midRef(eq + 1).trimmed().startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            while (line.endsWith(QLatin1Char('\\')) && i + 1 < lines.size()) {
                ++file.steps;
                line.chop(1);
                line += lines[++i].trimmed();
            }
        }
        if (current)
            file.parseValueLine(line, unicode, *current);
    }
    return file;
}

void RegistryFile::parseValueLine(const QString& line, bool unicode, Key& into)
{
    Value value;
    int pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else if (line.startsWith(QLatin1Char('"'))) {
        pos = ReadQuoted(line, 0, value.name);
        if (pos < 0)
            return;
    } else {
        return;
    }
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    if (pos >= line.size() || line[pos] != QLatin1Char('='))
        return;
    const QString data = line.mid(pos + 1).trimmed();

    // Names compare as the registry's do, without regard to case.
    const QString folded = value.name.toCaseFolded();
    ++steps;
    const auto existing = into.byName.constFind(folded);

    if (data == QLatin1String("-")) {
        if (existing == into.byName.constEnd())
            return;
        // The last value takes the place of the deleted one.
        const int at = existing.value();
        into.byName.erase(existing);
        const int last = static_cast<int>(into.values.size()) - 1;
        if (at != last) {
            ++steps;
            into.values[static_cast<size_t>(at)] = std::move(into.values.back());
            into.byName.insert(into.values[static_cast<size_t>(at)].name.toCaseFolded(), at);
        }
        into.values.pop_back();
        return;
    }
    if (data.startsWith(QLatin1Char('"'))) {
        QString text;
        if (ReadQuoted(data, 0, text) < 0)
            return;
        value.type = TypeString;
        const QByteArray utf8 = text.toUtf8();
        value.data.assign(utf8.constData(), static_cast<size_t>(utf8.size()));
    } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8)
            return;
        value.type = TypeDword;
        for (int b = 0; b < 4; ++b)
            value.data.push_back(static_cast<char>((number >> (8 * b)) & 0xff));
    } else if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        const int colon = data.indexOf(QLatin1Char(':'));
        if (colon < 0)
            return;
        const QString kind = data.left(colon);
        if (kind.compare(QLatin1String("hex"), Qt::CaseInsensitive) == 0) {
            value.type = TypeBinary;
        } else {
            if (!kind.endsWith(QLatin1Char(')')) || kind.size() < 6 || kind[3] != QLatin1Char('('))
                return;
            bool ok = false;
            value.type = kind.mid(4, kind.size() - 5).toUInt(&ok, 16);
            if (!ok)
                return;
        }
        std::string bytes;
        if (!ParseHexBytes(data.mid(colon + 1), bytes))
            return;
        value.data = IsStringType(value.type) ? DecodeHexText(bytes, unicode) : bytes;
    } else {
        return;
    }

    if (existing != into.byName.constEnd()) {
        into.values[static_cast<size_t>(existing.value())] = std::move(value);
    } else {
        into.byName.insert(folded, static_cast<int>(into.values.size()));
        into.values.push_back(std::move(value));
    }
}

void RegistryFile::removeKeys(const QString& path)
{
    // Descendants sort together right after their prefix.
    ++steps;
    keys.erase(path);
    const QString prefix = path + QLatin1Char('\\');
    for (auto it = keys.lower_bound(prefix); it != keys.end() && it->first.startsWith(prefix);) {
        ++steps;
        it = keys.erase(it);
    }
}

const RegistryFile::Value* RegistryFile::Key::find(const QString& name) const
{
    const auto it = byName.constFind(name.toCaseFolded());
    return it == byName.constEnd() ? nullptr : &values[static_cast<size_t>(it.value())];
}

QString RegistryFile::NormalizePath(const QString& path)
{
    QString out = path.trimmed().toLower();
    while (out.endsWith(QLatin1Char('\\')))
        out.chop(1);
    return out;
}

bool RegistryFile::hasKey(const QString& fullPath) const
{
    const QString path = NormalizePath(fullPath);
    if (keys.count(path))
        return true;
    // Descendants sort together right after their prefix.
    const QString prefix = path + QLatin1Char('\\');
    const auto it = keys.lower_bound(prefix);
    return it != keys.end() && it->first.startsWith(prefix);
}

const RegistryFile::Key* RegistryFile::key(const QString& fullPath) const
{
    const auto it = keys.find(NormalizePath(fullPath));
    return it == keys.end() ? nullptr : &it->second;
}

RegistryFile::ValueList RegistryFile::values(const QString& fullPath) const
{
    const Key* listed = key(fullPath);
    return listed ? listed->values : ValueList();
}

uint32_t RegistryFile::subKeyCount(const QString& fullPath) const
{
    const QString prefix = NormalizePath(fullPath) + QLatin1Char('\\');
    std::set<QString> children;
    for (auto it = keys.lower_bound(prefix); it != keys.end() && it->first.startsWith(prefix); ++it)
        children.insert(it->first.mid(prefix.size()).section(QLatin1Char('\\'), 0, 0));
    return static_cast<uint32_t>(children.size());
}

} // namespace dali
