#include "tests/openrgb/OpenRgbServer.h"

#include "simulator/openrgb/OpenRgbClient.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <csignal>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

int LoopbackSocket(uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

QString OpenRgbServer::Folder()
{
    const QString folder = QStringLiteral(LUMET_OPENRGB_DIR);
    return QFileInfo(folder + QStringLiteral("/run-server.sh")).isFile() ? QDir(folder).absolutePath() : QString();
}

bool OpenRgbServer::Start()
{
    if (process.state() != QProcess::NotRunning)
        return true;
    if (port != 0)
        return StartOnPort();
    // Another program may take the free port before the server binds it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = LoopbackSocket(port);
        ::close(fd);
        if (fd >= 0 && StartOnPort())
            return true;
        Kill();
    }
    return false;
}

bool OpenRgbServer::StartOnPort()
{
    // Through bash, which the script replaces with the server (same PID), so
    // that a copy without execute bits works; through setpriv, so that the
    // server ends with the test even when the test crashes.
    QStringList arguments{QStringLiteral("--pdeathsig"), QStringLiteral("TERM"), QStringLiteral("bash"),
                          Folder() + QStringLiteral("/run-server.sh")};
    if (devices == Devices::Modes)
        arguments << QStringLiteral("--modes");
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("setpriv"), arguments << QString::number(port));
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
    while (clock.elapsed() < 15000 && process.state() != QProcess::NotRunning) {
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
                .arg(count ? QString::number(*count) : QStringLiteral("none"), QString::fromStdString(client.Error()),
                     QString::fromLocal8Bit(process.readAll()));
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
    Signal(SIGKILL);
    process.waitForFinished(10000);
}

void OpenRgbServer::Freeze()
{
    Signal(SIGSTOP);
    // The stop is reported once every thread of the server has stopped: from
    // then on nothing is answered. WNOWAIT leaves the report for the process's
    // own bookkeeping.
    siginfo_t info{};
    QElapsedTimer clock;
    clock.start();
    while (info.si_pid == 0 && clock.elapsed() < 2000
           && ::waitid(P_PID, id_t(process.processId()), &info, WSTOPPED | WNOHANG | WNOWAIT) == 0)
        QThread::msleep(1);
}

void OpenRgbServer::Thaw()
{
    Signal(SIGCONT);
}
