#pragma once

#include <QPoint>
#include <QProcess>

class VirtualDisplay;

// The built panel as a process with its own lock folder and registry file, on a
// private X server or else offscreen; killed if still running when the object goes.
class PanelProcess : public QProcess
{
public:
    // Where the window puts what the tests click (its fixed geometry).
    static QPoint EffectButton(int index) { return QPoint(90, 97 + 33 * index + 16); }
    static constexpr QPoint ApplyButton{780, 655};
    static constexpr QPoint DefaultButton{532, 655};
    static constexpr QPoint UndoButton{656, 655};
    static constexpr QPoint LedSwitch{800, 80};
    static constexpr QPoint CloseButton{839, 19};
    static constexpr const char* Title = "Vornlight Beta";

    // A copy of the registry fixture in dir that the panel trusts; empty on failure.
    static QString TrustedRegistry(const QString& fixture, const QString& dir);

    PanelProcess(const QString& runtimeDir, const QString& registry, const QString& display = QString());
    ~PanelProcess() override;

    void SetEnvironment(const QString& name, const QString& value) { environment.insert(name, value); }
    bool Launch(const QStringList& arguments = {});
    // The panel's main window on display; empty (and the panel killed) when none appeared.
    QString WaitForWindow(const VirtualDisplay& display, int timeoutMs = 20000);
    // True when the panel ends normally with code within timeoutMs; killed if not.
    bool EndsWith(int code, int timeoutMs = 15000);

private:
    QProcessEnvironment environment;
};
