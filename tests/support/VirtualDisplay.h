#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

struct xcb_connection_t;

// A private X server (Xvfb) for driving the real panel as a user would: its
// windows are found by title and clicked through xdotool. Each takes a free
// display of its own, so suites can run side by side.
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // True once the server is ours and takes connections; false when Xvfb or
    // xdotool is missing or no server came up.
    bool Start();
    // ":N", for DISPLAY.
    QString Name() const { return name; }

    // Maps a plain window titled title, as another program would.
    void OpenWindow(const QByteArray& title);
    // The id of a visible window titled exactly title, waiting up to timeoutMs;
    // empty when none appeared.
    QString WaitForWindow(const QString& title, int timeoutMs = 20000) const;
    // A left click at a point of the window.
    bool Click(const QString& window, QPoint at) const;
    // Gives the window the keyboard and presses key ("Return").
    bool PressKey(const QString& window, const QString& key) const;

private:
    bool Launch();
    void Stop();
    bool Xdotool(const QStringList& arguments, QByteArray* output = nullptr) const;

    QProcess server;
    QString name;
    // Held while the server runs: also keeps it from resetting between clients.
    xcb_connection_t* connection = nullptr;
};
