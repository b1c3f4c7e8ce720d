#pragma once

#include <QProcess>
#include <QString>

#include <cstdint>

// A real OpenRGB SDK server with simulated devices (the test server kept
// beside the source tree, see LUMET_OPENRGB_DIR), on 127.0.0.1 and a port
// of its own, so that suites can run side by side. The server is killed
// when the object goes.
class OpenRgbServer
{
public:
    // Stock: two 8-LED memory modules, a 10-LED one, a main board and a
    // keyboard. Modes: a memory module and a main board that declare
    // hardware modes, the main board with a resizable zone.
    enum class Devices { Stock, Modes };

    // The folder of the test server; empty when it is not there (the suites
    // skip then).
    static QString Folder();

    explicit OpenRgbServer(Devices devices = Devices::Stock);
    ~OpenRgbServer();
    OpenRgbServer(const OpenRgbServer&) = delete;
    OpenRgbServer& operator=(const OpenRgbServer&) = delete;

    // Starts the server (on a free port the first time, on the same port
    // after Stop or Kill) and returns once it reports all of its
    // controllers: the port opens before detection ends. False, with the
    // reason in Error(), when it does not within 15 s. True at once while
    // it runs.
    bool Start();
    // SIGTERM, or SIGKILL; either waits for the process to end.
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
