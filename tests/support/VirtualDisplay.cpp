#include "VirtualDisplay.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>

// Closing its input ends the script, which stops the server politely so that
// it leaves no lock or socket behind.
VirtualDisplay::~VirtualDisplay()
{
    if (connection)
        xcb_disconnect(connection);
    if (server.state() != QProcess::NotRunning) {
        server.closeWriteChannel();
        if (!server.waitForFinished(10000)) {
            server.terminate();
            server.waitForFinished(10000);
        }
    }
}

bool VirtualDisplay::Start()
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        return false;
    // The script the screenshots use prints the display and holds the screen until its input closes.
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QStringLiteral(LUMET_SOURCE_DIR "/tools/virtual-screen.sh"), {"-s", "1024x768x24"});
    if (!server.waitForStarted(10000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!server.canReadLine() && server.state() == QProcess::Running && clock.elapsed() < 60000)
        server.waitForReadyRead(100);
    if (!server.canReadLine())
        return false;
    name = QString::fromLatin1(server.readLine().trimmed());
    connection = xcb_connect(name.toLatin1().constData(), nullptr);
    return !xcb_connection_has_error(connection);
}

void VirtualDisplay::OpenWindow(const QByteArray& title)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(title.size()), title.constData());
    xcb_map_window(connection, window);
    // A round trip: everything above has reached the server.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

bool VirtualDisplay::Xdotool(const QStringList& arguments, QByteArray* output) const
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", name);
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool ok = tool.waitForFinished(20000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (output)
        *output = tool.readAllStandardOutput();
    return ok;
}

QString VirtualDisplay::WaitForWindow(const QString& title, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    do {
        QByteArray ids;
        if (Xdotool({"search", "--onlyvisible", "--name", '^' + title + '$'}, &ids))
            return QString::fromLatin1(ids).section(QLatin1Char('\n'), 0, 0);
        QThread::msleep(100);
    } while (clock.elapsed() < timeoutMs);
    return QString();
}

bool VirtualDisplay::Click(const QString& window, QPoint at) const
{
    return Xdotool({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

bool VirtualDisplay::Drag(const QString& window, QPoint from, QPoint to) const
{
    const QPoint middle = (from + to) / 2;
    QStringList arguments;
    for (const QPoint& p : {from, middle, to})
        arguments << "mousemove" << "--window" << window << QString::number(p.x()) << QString::number(p.y())
                  << (p == from ? "mousedown" : p == to ? "mouseup" : "sleep") << (p == middle ? "0.1" : "1");
    return Xdotool(arguments);
}

bool VirtualDisplay::PressKey(const QString& window, const QString& key) const
{
    return Xdotool({"windowfocus", "--sync", window, "key", key});
}
