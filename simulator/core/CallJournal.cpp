#include "simulator/core/CallJournal.h"

#include "simulator/core/ServiceLog.h"

bool CallJournal::Open(const QString& path, QString& error)
{
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    return true;
}

void CallJournal::Record(const char* op, const QString* key, const QString* document)
{
    if (!file.isOpen())
        return;
    QByteArray line = "{\"op\":" + Quote(QString::fromLatin1(op));
    if (key)
        line += ",\"key\":" + Quote(*key);
    if (document)
        line += ",\"document\":" + Quote(*document);
    line += "}\n";
    if (file.write(line) == line.size() || failed)
        return;
    failed = true;
    ServiceLog::Say(QStringLiteral("cannot write the journal %1: %2; calls are served without it")
                        .arg(file.fileName(), file.errorString()));
}

QByteArray CallJournal::Quote(const QString& text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 0xf];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}
