#include "PanelProcess.h"

#include "VirtualDisplay.h"

#include <QDir>
#include <QFileInfo>

const char* const PanelProcess::Title = "Vornlight Beta";

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
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    environment.insert(QStringLiteral("VORNLIGHT_REGISTRY"), registry);
    environment.remove(QStringLiteral("VORNLIGHT_QUIT_AFTER_MS"));
    environment.remove(QStringLiteral("DISPLAY"));
    if (display.isEmpty()) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), display);
    }
    setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

PanelProcess::~PanelProcess()
{
    if (state() != QProcess::NotRunning) {
        kill();
        waitForFinished(10000);
    }
}

void PanelProcess::SetEnvironment(const QString& name, const QString& value)
{
    environment.insert(name, value);
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
    if (!waitForFinished(timeoutMs)) {
        kill();
        waitForFinished(10000);
        return false;
    }
    return exitStatus() == QProcess::NormalExit && exitCode() == code;
}
