#include "VirtualDisplay.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

VirtualDisplay::~VirtualDisplay()
{
    if (server.state() != QProcess::NotRunning) {
        server.kill();
        server.waitForFinished(5000);
    }
}

bool VirtualDisplay::Start()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return false;
    // -displayfd: the server picks a free display and writes its number.
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1024x768x24")});
    if (!server.waitForStarted(10000))
        return false;
    QByteArray number;
    QElapsedTimer clock;
    clock.start();
    while (!number.contains('\n') && clock.elapsed() < 15000 && server.state() == QProcess::Running) {
        server.waitForReadyRead(50);
        number += server.readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return false;
    display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return true;
}

bool VirtualDisplay::Xdotool(const QStringList& arguments, QByteArray* output) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(10000))
        return false;
    if (output)
        *output = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QString VirtualDisplay::FindWindow(const QString& title) const
{
    QByteArray ids;
    const QString pattern = QLatin1Char('^') + title + QLatin1Char('$');
    if (!Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern}, &ids))
        return QString();
    return QString::fromLatin1(ids).split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
}

QString VirtualDisplay::WaitForWindow(const QString& title, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    do {
        const QString id = FindWindow(title);
        if (!id.isEmpty())
            return id;
        QThread::msleep(100);
    } while (clock.elapsed() < timeoutMs);
    return QString();
}

bool VirtualDisplay::Click(const QString& window, int x, int y) const
{
    return Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
                    QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
}

bool VirtualDisplay::PressKey(const QString& window, const QString& key) const
{
    return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window, QStringLiteral("key"), key});
}
