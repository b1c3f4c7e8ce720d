#pragma once

#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

// A built lighting service (vornlight-service-sim unless another is named),
// started on the test's session bus. Start returns once the service owns its
// bus name; the process is killed when the object goes.
class SimulatorProcess
{
public:
    // The built program of that name.
    static QString Program(const QString& name = QStringLiteral("vornlight-service-sim"));
    static const char* const ServiceName;

    explicit SimulatorProcess(const QStringList& arguments, const QString& program = Program());
    ~SimulatorProcess();
    // A started service keeping its state in stateDir; says why when it did not start.
    static std::unique_ptr<SimulatorProcess> Started(const QString& stateDir, const QStringList& extra = {});

    // False when the process ended, or did not own the name within 10 s.
    bool Start();
    // SIGTERM, then waits for the process and for the bus to drop its name.
    void Stop();
    // SIGKILL, then waits as Stop does.
    void Kill();

    qint64 Pid() const { return process.processId(); }
    QString ErrorOutput();

    // One method call with a bounded wait (no introspection).
    static QDBusMessage Call(const QString& method, const QVariantList& arguments = {});
    // The string a fetching call returns; empty on an error reply.
    static QString Fetch(const QString& method);
    static QDBusMessage SetProfile(const QString& key, const QString& document);
    static bool Applied(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; }
    // A file's bytes; empty when it cannot be read.
    static QByteArray ReadFile(const QString& path);
    // A static profile for one LED of the virtual rig's group, as the panel sends it.
    static QString GroupProfile(const QString& color = QStringLiteral("65280"),
                                const QString& led = QStringLiteral("DIMM_A1"), int mode = 1);

    static bool IsNameOwned();
    static bool WaitForName(bool owned, int timeoutMs);

private:
    // Sends the signal, then waits for the process and for the bus to drop its name.
    void End(int signal);

    QStringList arguments;
    QProcess process;
    QByteArray errorOutput;
};
