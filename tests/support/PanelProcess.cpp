#include "PanelProcess.h"

#include "VirtualDisplay.h"

#include <QDir>
#include <QFileInfo>

QString PanelProcess::TrustedRegistry(const QString& fixture, const QString& dir)
{
    const QString copy = QDir(dir).filePath(QFileInfo(fixture).fileName());
    QFile::remove(copy);
    return QFile::copy(fixture, copy) && QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner) ? copy
                                                                                                          : QString();
}

PanelProcess::PanelProcess(const QString& runtimeDir, const QString& registry, const QString& display)
    : environment(QProcessEnvironment::systemEnvironment())
{
    environment.insert("XDG_RUNTIME_DIR", runtimeDir);
    environment.insert("VORNLIGHT_REGISTRY", registry);
    environment.remove("VORNLIGHT_QUIT_AFTER_MS");
    environment.insert("QT_QPA_PLATFORM", display.isEmpty() ? "offscreen" : "xcb");
    environment.insert("DISPLAY", display); // empty: none
    setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

PanelProcess::~PanelProcess()
{
    kill();
    waitForFinished(10000);
}

bool PanelProcess::Launch(const QStringList& arguments)
{
    setProcessEnvironment(environment);
    start(QStringLiteral(LUMET_BIN_DIR "/vornlight"), arguments);
    return waitForStarted(10000);
}

QString PanelProcess::WaitForWindow(const VirtualDisplay& display, int timeoutMs)
{
    const QString window = display.WaitForWindow(QLatin1String(Title), timeoutMs);
    if (window.isEmpty())
        kill();
    return window;
}

bool PanelProcess::EndsWith(int code, int timeoutMs)
{
    if (waitForFinished(timeoutMs))
        return exitStatus() == QProcess::NormalExit && exitCode() == code;
    kill();
    waitForFinished(10000);
    return false;
}
