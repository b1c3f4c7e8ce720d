#include "simulator/openrgb/TcpConnection.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string SystemError(const char* what, int code)
{
    return std::string(what) + ": " + std::strerror(code);
}

} // namespace

int TcpConnection::MsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

TcpConnection::~TcpConnection()
{
    Close();
}

void TcpConnection::Close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

TcpConnection::Waited TcpConnection::Wait(short events, int timeoutMs, std::string& error)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, MsUntil(deadline));
        if (n > 0)
            return Waited::Ready; // errors and hang-ups show in the call that follows
        if (n == 0) {
            error = "timed out after " + std::to_string(timeoutMs) + " ms";
            return Waited::TimedOut;
        }
        if (errno != EINTR) {
            error = SystemError("poll", errno);
            return Waited::Failed;
        }
    }
}

bool TcpConnection::Open(const std::string& host, uint16_t port, int timeoutMs, std::string& error)
{
    Close();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0) {
        error = "cannot resolve " + host + ": " + ::gai_strerror(lookup);
        return false;
    }
    error = "no address for " + host;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            error = SystemError("socket", errno);
            continue;
        }
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            int code = errno;
            if (code == EINPROGRESS) {
                std::string waitError;
                if (Wait(POLLOUT, MsUntil(deadline), waitError) != Waited::Ready) {
                    error = "connecting: " + waitError;
                    Close();
                    continue;
                }
                socklen_t length = sizeof code;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &code, &length) != 0)
                    code = errno;
            }
            if (code != 0) {
                error = SystemError("connect", code);
                Close();
                continue;
            }
        }
        // Frames are small and sent without waiting for a reply: no batching.
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    ::freeaddrinfo(found);
    if (fd < 0)
        return false;
    error.clear();
    return true;
}

bool TcpConnection::Send(const uint8_t* data, size_t size, int timeoutMs, std::string& error)
{
    if (fd < 0) {
        error = "not connected";
        return false;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            std::string waitError;
            if (Wait(POLLOUT, MsUntil(deadline), waitError) != Waited::Ready) {
                error = "sending: " + waitError + " (the server takes nothing)";
                return false;
            }
            continue;
        }
        const int code = n < 0 ? errno : EPIPE;
        error = code == EPIPE || code == ECONNRESET ? "the server closed the connection" : SystemError("send", code);
        return false;
    }
    return true;
}

TcpConnection::Received TcpConnection::Receive(std::vector<uint8_t>& buffer, int timeoutMs, std::string& error)
{
    if (fd < 0) {
        error = "not connected";
        return Received::Failed;
    }
    if (timeoutMs > 0) {
        const Waited waited = Wait(POLLIN, timeoutMs, error);
        if (waited != Waited::Ready)
            return waited == Waited::TimedOut ? Received::Nothing : Received::Failed;
    }
    uint8_t chunk[16384];
    ssize_t n;
    do
        n = ::recv(fd, chunk, sizeof chunk, 0);
    while (n < 0 && errno == EINTR);
    if (n > 0) {
        buffer.insert(buffer.end(), chunk, chunk + n);
        return Received::Data;
    }
    if (n == 0 || errno == ECONNRESET)
        return Received::Closed;
    if (errno == EAGAIN || errno == EWOULDBLOCK)
        return Received::Nothing;
    error = SystemError("recv", errno);
    return Received::Failed;
}
