#pragma once

#include <QFile>
#include <QString>

// Appends one JSON object per line for every call the service receives, so
// that a test can see exactly what the panel sent. Each line is written as
// soon as the call arrives. The journal is a diagnostic: a line that cannot
// be written is said on stderr (the first time only) and the call goes on.
class CallJournal
{
public:
    // Opens the file for appending; false (with the reason in error) when it
    // cannot be opened.
    bool Open(const QString& path, QString& error);
    bool IsOpen() const { return file.isOpen(); }

    // key and document are left out of the line when null.
    void Record(const char* op, const QString* key = nullptr, const QString* document = nullptr);

    // JSON string literal (quotes included) for text, as UTF-8.
    static QByteArray Quote(const QString& text);

private:
    QFile file;
    bool failed = false;
};
