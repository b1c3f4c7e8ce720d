#pragma once

#include <QPoint>
#include <QProcess>

struct xcb_connection_t;

// A private X server (Xvfb, from tools/virtual-screen.sh) of its own, so suites
// run side by side, for driving the real panel as a user would: windows found
// by title, clicked through xdotool.
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // True once the server is ours and takes connections (Xvfb and xdotool needed).
    bool Start();
    // ":N", for DISPLAY.
    QString Name() const { return name; }

    // The id of a visible window titled exactly title; empty when none appeared in time.
    QString WaitForWindow(const QString& title, int timeoutMs = 20000) const;
    bool Click(const QString& window, QPoint at) const;
    // Presses the left button at from and lets go at to, by way of the middle.
    bool Drag(const QString& window, QPoint from, QPoint to) const;
    // Gives the window the keyboard and presses key ("Return").
    bool PressKey(const QString& window, const QString& key) const;
    // Maps a plain top-level window titled title (WM_NAME), as another program would.
    void OpenWindow(const QByteArray& title);

private:
    bool Xdotool(const QStringList& arguments, QByteArray* output = nullptr) const;

    QProcess server; // the script that holds the X server
    QString name;
    xcb_connection_t* connection = nullptr; // for the windows the tests open themselves
};
