#include "SimulatorProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <csignal>

const char* const SimulatorProcess::ServiceName = "OvTarskLumetService.ServiceMediator";

QString SimulatorProcess::Program(const QString& name)
{
    return QStringLiteral(LUMET_BIN_DIR "/") + name;
}

SimulatorProcess::SimulatorProcess(const QStringList& arguments, const QString& program) : arguments(arguments)
{
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setReadChannel(QProcess::StandardError);
}

SimulatorProcess::~SimulatorProcess()
{
    if (process.state() != QProcess::NotRunning)
        Kill();
}

std::unique_ptr<SimulatorProcess> SimulatorProcess::Started(const QString& stateDir, const QStringList& extra)
{
    auto service = std::make_unique<SimulatorProcess>(QStringList{QStringLiteral("--state-dir"), stateDir} + extra);
    if (!service->Start())
        qWarning("the simulator did not start: %s", qPrintable(service->ErrorOutput()));
    return service;
}

bool SimulatorProcess::Start()
{
    process.start();
    if (!process.waitForStarted(5000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (process.state() == QProcess::NotRunning)
            return false;
        if (IsNameOwned())
            return true;
        process.waitForFinished(20);
    }
    return false;
}

void SimulatorProcess::Stop()
{
    End(SIGTERM);
}

void SimulatorProcess::Kill()
{
    End(SIGKILL);
}

void SimulatorProcess::End(int signal)
{
    if (process.state() == QProcess::NotRunning)
        return;
    ::kill(static_cast<pid_t>(process.processId()), signal);
    process.waitForFinished(10000);
    WaitForName(false, 5000);
}

QString SimulatorProcess::ErrorOutput()
{
    // Without an event loop, what the process wrote may still sit in the pipe.
    while (process.state() == QProcess::Running && process.waitForReadyRead(100))
        errorOutput += process.readAllStandardError();
    errorOutput += process.readAllStandardError();
    return QString::fromUtf8(errorOutput);
}

QDBusMessage SimulatorProcess::Call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName),
                                                          QStringLiteral("/ServiceMediator"),
                                                          QString::fromLatin1(ServiceName), method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, 10000);
}

QString SimulatorProcess::Fetch(const QString& method)
{
    const QDBusMessage reply = Call(method);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return reply.arguments().first().toString();
}

QDBusMessage SimulatorProcess::SetProfile(const QString& key, const QString& document)
{
    return Call(QStringLiteral("SetProfile"), {key, document});
}

QByteArray SimulatorProcess::ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString SimulatorProcess::GroupProfile(const QString& color, const QString& led, int mode)
{
    return QStringLiteral("<root><header>ORVEL_LUMET</header><version>1.1</version><funcid>4</funcid><device key=\"Group\">"
                          "<scene><state>S0</state><mode key=\"%1\"><iscolorsynced>0</iscolorsynced><led key=\"%2\"><color>%3</color>"
                          "<hue>0.333333</hue><saturation>1.000000</saturation><lightness>0.500000</lightness><speed>na</speed>"
                          "<direction>na</direction></led></mode></scene></device></root>").arg(mode).arg(led, color);
}

bool SimulatorProcess::IsNameOwned()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString::fromLatin1(ServiceName));
}

bool SimulatorProcess::WaitForName(bool owned, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (IsNameOwned() != owned) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(10);
    }
    return true;
}
