#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>

class CallJournal;
class LightingService;

// The object at /ServiceMediator: the four operations of the lighting service.
// Text arrives and leaves as UTF-16; the documents inside are byte strings,
// narrowed by keeping the low byte of each unit and widened byte by byte, as
// the panel does on its side; a profile holding anything but 7-bit text is
// refused before it is narrowed.
class ServiceMediator : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "OvTarskLumetService.ServiceMediator")

public:
    static const char* const ServiceName;
    static const char* const ObjectPath;
    // Error names of the replies that refuse a call.
    static const char* const InvalidProfileError;
    static const char* const NotSupportedError;

    ServiceMediator(LightingService& service, CallJournal* journal, QObject* parent = nullptr);

public slots:
    void SetProfile(const QString& key, const QString& document);
    QString Exchange(const QString& document);
    QString GetStatus();
    QString GetCapability();

private:
    LightingService& service;
    CallJournal* journal;
};
