#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

class VirtualDisplay;

// The built panel as a process: its single-instance lock in a runtime folder
// and its registry file of the test's choosing, on a private X server or, with
// no display named, on the offscreen platform. Killed if still running when
// the object goes.
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
    static const char* const Title;

    // A copy of the registry file fixture in dir that the panel trusts (only
    // its owner may write it); empty when it could not be made.
    static QString TrustedRegistry(const QString& fixture, const QString& dir);

    PanelProcess(const QString& runtimeDir, const QString& registry, const QString& display = QString());
    ~PanelProcess() override;

    void SetEnvironment(const QString& name, const QString& value);
    // Starts the panel; false when the program could not be started.
    bool Launch(const QStringList& arguments = {});
    // Waits for the panel's main window on display; empty (and the panel
    // killed) when none appeared.
    QString WaitForWindow(const VirtualDisplay& display, int timeoutMs = 20000);
    // Waits for the end, killing the panel after timeoutMs; true when it
    // ended normally with code.
    bool EndsWith(int code, int timeoutMs = 15000);

private:
    QProcessEnvironment environment;
};
