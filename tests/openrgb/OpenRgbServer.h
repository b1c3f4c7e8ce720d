#pragma once

#include <QProcess>
#include <QString>

#include <cstdint>

// A TCP socket bound to a port of its own on 127.0.0.1 (port), or -1.
int LoopbackSocket(uint16_t& port);

// A real OpenRGB SDK server with simulated devices (the test server at
// LUMET_OPENRGB_DIR) on 127.0.0.1 and a free port, so that suites can run
// side by side. The server is killed with the object.
class OpenRgbServer
{
public:
    // Stock: two 8-LED memory modules, a 10-LED one, a main board and a
    // keyboard. Modes: a memory module and a main board that declare
    // hardware modes, the board with a resizable zone.
    enum class Devices { Stock, Modes };

    // The test server's folder; empty where it is missing (the suites skip then).
    static QString Folder();

    explicit OpenRgbServer(Devices devices = Devices::Stock) : devices(devices) {}
    ~OpenRgbServer() { Kill(); }
    OpenRgbServer(const OpenRgbServer&) = delete;
    OpenRgbServer& operator=(const OpenRgbServer&) = delete;

    // Starts the server (on the same port after Stop or Kill) and returns
    // once it reports all of its controllers: the port opens before
    // detection ends. False, with the reason in Error(), after 15 s.
    bool Start();
    // SIGTERM or SIGKILL, then waits for the end.
    void Stop();
    void Kill();
    // SIGSTOP and SIGCONT: a server that takes connections but answers nothing.
    void Freeze();
    void Thaw();

    uint16_t Port() const { return port; }
    uint32_t ControllerCount() const { return devices == Devices::Stock ? 5 : 2; }
    QString Error() const { return error; }

private:
    bool StartOnPort();
    void Signal(int signal);

    Devices devices;
    uint16_t port = 0;
    QProcess process;
    QString error;
};
