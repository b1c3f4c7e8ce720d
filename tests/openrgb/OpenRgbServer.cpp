#include "tests/openrgb/OpenRgbServer.h"

#include "simulator/openrgb/OpenRgbClient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A port nobody listens on now: the kernel's pick for a socket bound to port 0.
uint16_t FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

} // namespace

QString OpenRgbServer::Folder()
{
    const QString folder = QStringLiteral(LUMET_OPENRGB_DIR);
    return QFileInfo(folder + QStringLiteral("/run-server.sh")).isFile() ? QDir(folder).absolutePath() : QString();
}

OpenRgbServer::OpenRgbServer(Devices devices) : devices(devices)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
}

OpenRgbServer::~OpenRgbServer()
{
    Kill();
}

bool OpenRgbServer::Start()
{
    if (process.state() != QProcess::NotRunning)
        return true;
    if (port != 0)
        return StartOnPort();
    // Another program may take the free port before the server binds it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        port = FreePort();
        if (StartOnPort())
            return true;
        Kill();
    }
    return false;
}

bool OpenRgbServer::StartOnPort()
{
    QStringList arguments;
    if (devices == Devices::Modes)
        arguments << QStringLiteral("--modes");
    arguments << QString::number(port);
    // Through bash, which the script replaces with the server (same PID),
    // so that a copy of the folder without execute bits on the script works;
    // and through setpriv, so that the server ends with the test even when
    // the test crashes.
    arguments.prepend(Folder() + QStringLiteral("/run-server.sh"));
    arguments.prepend(QStringLiteral("bash"));
    arguments = QStringList{QStringLiteral("--pdeathsig"), QStringLiteral("TERM")} + arguments;
    process.start(QStringLiteral("setpriv"), arguments);
    if (!process.waitForStarted(5000)) {
        error = QStringLiteral("the OpenRGB server did not start: ") + process.errorString();
        return false;
    }
    OpenRgbClient::Options options;
    options.clientName = "Vornlight test set-up";
    options.connectTimeoutMs = 500;
    options.replyTimeoutMs = 1000;
    OpenRgbClient client(options);
    std::optional<uint32_t> count;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
        if (process.state() == QProcess::NotRunning)
            break;
        if (client.IsConnected() || client.Connect("127.0.0.1", port)) {
            count = client.ControllerCount();
            if (count == ControllerCount())
                return true;
        }
        QThread::msleep(20);
    }
    error = QStringLiteral("the OpenRGB server on port %1 did not report %2 controllers (last: %3, %4); its output:\n%5")
                .arg(port)
                .arg(ControllerCount())
                .arg(count ? QString::number(*count) : QStringLiteral("none"))
                .arg(QString::fromStdString(client.Error()))
                .arg(QString::fromLocal8Bit(process.readAll()));
    return false;
}

void OpenRgbServer::Signal(int signal)
{
    if (process.state() != QProcess::NotRunning)
        ::kill(static_cast<pid_t>(process.processId()), signal);
}

void OpenRgbServer::Stop()
{
    Signal(SIGTERM);
    Signal(SIGCONT); // a frozen server takes the signal once it runs again
    process.waitForFinished(10000);
}

void OpenRgbServer::Kill()
{
    Signal(SIGCONT);
    Signal(SIGKILL);
    process.waitForFinished(10000);
}

void OpenRgbServer::Freeze()
{
    Signal(SIGSTOP);
    // The signal is delivered in its own time: wait until every thread of
    // the server has stopped, so that nothing is answered after this.
    const QString tasks = QStringLiteral("/proc/%1/task").arg(process.processId());
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2000) {
        bool stopped = true;
        for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(tasks + QLatin1Char('/') + task + QStringLiteral("/stat"));
            if (stat.open(QIODevice::ReadOnly)) {
                // "pid (name) S ...": the state follows the name's closing parenthesis.
                const QByteArray line = stat.readAll();
                const int state = line.lastIndexOf(')') + 2;
                stopped = stopped && state < line.size() && line[state] == 'T';
            }
        }
        if (stopped)
            return;
        QThread::msleep(1);
    }
}

void OpenRgbServer::Thaw()
{
    Signal(SIGCONT);
}
