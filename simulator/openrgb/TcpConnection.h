#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One TCP connection over a non-blocking POSIX socket where every wait has a
// limit, so that a silent or frozen peer costs at most that long. Not shared
// between threads.
class TcpConnection
{
public:
    enum class Received { Data, Nothing, Closed, Failed };
    using Clock = std::chrono::steady_clock;

    // Whole milliseconds until deadline; 0 once it has passed.
    static int MsUntil(Clock::time_point deadline);

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Closes any earlier connection, then connects to host (a name or an
    // address) within timeoutMs.
    bool Open(const std::string& host, uint16_t port, int timeoutMs, std::string& error);
    void Close();
    bool IsOpen() const { return fd >= 0; }

    // Sends all of data, waiting at most timeoutMs for room in the socket.
    bool Send(const uint8_t* data, size_t size, int timeoutMs, std::string& error);
    // Appends to buffer what arrives within timeoutMs (0: only what is
    // already there), up to one chunk of 16 KiB.
    Received Receive(std::vector<uint8_t>& buffer, int timeoutMs, std::string& error);

private:
    enum class Waited { Ready, TimedOut, Failed };
    Waited Wait(short events, int timeoutMs, std::string& error);

    int fd = -1;
};
