#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

// A private X server (Xvfb) for driving the real panel as a user would: find
// its windows by title, click into them and press keys (through xdotool).
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // False when Xvfb or xdotool is missing or the server does not come up.
    bool Start();
    // ":N", for DISPLAY.
    QString Name() const { return display; }

    // The id of a visible window titled exactly title; empty when none.
    QString FindWindow(const QString& title) const;
    // Waits up to timeoutMs for such a window.
    QString WaitForWindow(const QString& title, int timeoutMs) const;
    // Left click at (x, y) inside the window.
    bool Click(const QString& window, int x, int y) const;
    // Gives the window the keyboard and presses key ("Return").
    bool PressKey(const QString& window, const QString& key) const;

private:
    bool Xdotool(const QStringList& arguments, QByteArray* output = nullptr) const;

    QProcess server;
    QString display;
};
