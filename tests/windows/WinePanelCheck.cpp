// The Windows panel under wine against the COM lighting service, beside the
// Linux panel against the D-Bus one, on one private X server: each is
// started, looked at and driven alike, and what each sends must be the same
// bytes. tools/windows-check.sh builds both and prepares the wine prefix:
//   VORNLIGHT_WINDOWS_BIN    the Windows build's programs and translations
//   VORNLIGHT_CRASH_LIBRARY  the crash-report stand-in built for Windows
//   VORNLIGHT_SCREENSHOTS    where the screenshots are kept
//   WINEPREFIX               the prepared prefix
#include "tests/simulator/SimulatorProcess.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/SimulatorJournal.h"
#include "tests/support/VirtualDisplay.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QSize WindowSize(860, 700);
const QRect VersionLabel(724, 680, 112, 12);
// The window's background and its text colour.
const QRgb Background = qRgb(0x16, 0x17, 0x1a);
const QRgb Text = qRgb(0xc8, 0xc8, 0xc8);
const char* const UninstallKey =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}";
const char* const PanelKey = "HKLM\\Software\\ORVEL\\LUMET";

// The host's root is the drive Z: of a wine prefix.
QString WinePath(const QString& path)
{
    return QStringLiteral("Z:") + QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString Fixture(const char* name)
{
    return QStringLiteral(LUMET_TEST_DATA "/mainwindow/") + QLatin1String(name);
}

// A Windows program (with its arguments) under wine, started.
std::unique_ptr<QProcess> StartWine(const QStringList& command, const QProcessEnvironment& environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QStringLiteral(LUMET_WINE_RUN), command);
    process->waitForStarted(10000);
    return process;
}

// Whether a started program ends normally with code in time; stopped if not.
bool EndsWith(QProcess& process, int code, int timeoutMs = 60000)
{
    if (process.waitForFinished(timeoutMs))
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == code;
    process.terminate();
    process.waitForFinished(10000);
    return false;
}

// Runs a Windows program under wine to its end: true on exit code 0.
bool RunWine(const QStringList& command)
{
    return EndsWith(*StartWine(command, QProcessEnvironment::systemEnvironment()), 0);
}

// The same for a program whose output and result do not matter.
void RunWineQuietly(const QStringList& command)
{
    QProcess process;
    process.start(QStringLiteral(LUMET_WINE_RUN), command);
    process.waitForFinished(60000);
}

// The raw journal line of the first SetProfile call.
QByteArray SetProfileLine(const QString& path)
{
    QFile file(path);
    const QList<QByteArray> lines = file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    for (const QByteArray& line : lines)
        if (line.startsWith("{\"op\":\"SetProfile\""))
            return line;
    return QByteArray();
}

// xdotool on the check's display: whether it succeeded, and its output.
bool Xdotool(const VirtualDisplay& display, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display.Name());
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool done = tool.waitForFinished(20000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (output)
        *output = tool.readAllStandardOutput();
    return done;
}

// Where the window stands on the screen.
QPoint Position(const VirtualDisplay& display, const QString& window)
{
    QByteArray geometry;
    Xdotool(display, {"getwindowgeometry", "--shell", window}, &geometry);
    const QRegularExpressionMatch at = QRegularExpression("X=(-?\\d+)\nY=(-?\\d+)").match(QString(geometry));
    return at.hasMatch() ? QPoint(at.captured(1).toInt(), at.captured(2).toInt()) : QPoint(-1, -1);
}

QImage Grab(const VirtualDisplay& display, const QString& window, const QString& file)
{
    QProcess import;
    import.start(QStringLiteral("import"), {"-display", display.Name(), "-window", window, file});
    import.waitForFinished(30000);
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The share of the pixels in area that pass.
double Share(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& passes)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += passes(image.pixel(x, y));
    return area.isEmpty() ? 0.0 : double(count) / (area.width() * area.height());
}

// Colourful, as the effect list's and views' colour dots are.
bool Saturated(QRgb pixel)
{
    return QColor(pixel).hsvSaturation() > 150 && QColor(pixel).value() > 100;
}

// The share of the pixels that differ little between two pictures of one size.
double Agreement(const QImage& a, const QImage& b)
{
    int same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += Near(a.pixel(x, y), b.pixel(x, y), 24);
    return double(same) / (a.width() * a.height());
}

} // namespace

class WinePanelCheck : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    VirtualDisplay display;
    const QString programDir = scratch.filePath(QStringLiteral("program"));
    const QString panelProgram = WinePath(programDir + QStringLiteral("/vornlight.exe"));
    const QString comJournal = scratch.filePath(QStringLiteral("com.jsonl"));
    const QString crashRecord = scratch.filePath(QStringLiteral("crash.txt"));
    const QString secondCrashRecord = scratch.filePath(QStringLiteral("crash-second.txt"));
    const QDir screenshots{qEnvironmentVariable("VORNLIGHT_SCREENSHOTS")};
    // What the Linux panel showed and sent.
    QImage linuxShot;
    QByteArray linuxApply;
    QString serviceProgram;
    // The Windows panel of the running case; stopped after each.
    std::unique_ptr<QProcess> panel;

    // crashRecord: the file the crash library stand-in writes its calls to.
    QProcessEnvironment PanelEnvironment(const QString& crashRecord) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", display.Name());
        environment.insert("CRASH_TEST_RECORD", WinePath(crashRecord));
        environment.insert("CRASH_TEST_NOT_READY", "3");
        return environment;
    }

    // The wine registry as the fixture says, after the panel's keys are gone.
    bool Registry(const char* fixture = nullptr) const
    {
        for (const char* key : {UninstallKey, PanelKey})
            RunWineQuietly({"reg", "delete", key, "/f"});
        return !fixture || RunWine({"regedit", "/S", WinePath(Fixture(fixture))});
    }

    // The Windows panel started; its window's id, empty when none showed.
    QString StartPanel(const QString& crashRecord)
    {
        QFile::remove(crashRecord);
        panel = StartWine({panelProgram}, PanelEnvironment(crashRecord));
        return display.WaitForWindow(QLatin1String(PanelProcess::Title), 90000);
    }

    // Whether the crash library was initialised at start and polled, three
    // times not ready, before the end.
    static bool CrashLibraryServed(const QString& crashRecord)
    {
        QFile file(crashRecord);
        // Written as a Windows text file.
        const QStringList calls = file.open(QIODevice::ReadOnly | QIODevice::Text)
            ? QString(file.readAll()).split('\n', Qt::SkipEmptyParts)
            : QStringList();
        const bool served = calls.size() == 6 && calls.at(0) == QLatin1String("GetVersionFromApp")
            && calls.at(1).startsWith("InitCrashRpt size=64 guid=A1C4E7F0-3B52-4D86-9E1A-7C0F5B2D8E43")
            && calls.mid(2) == QStringList{"IsReadyToExit false", "IsReadyToExit false", "IsReadyToExit false",
                                           "IsReadyToExit true"};
        if (!served)
            qWarning("crash library calls: %s", qPrintable(calls.join(QLatin1String(" / "))));
        return served;
    }

private slots:
    void initTestCase()
    {
        const QDir windowsBin(qEnvironmentVariable("VORNLIGHT_WINDOWS_BIN"));
        QVERIFY2(windowsBin.exists(QStringLiteral("vornlight.exe")), "VORNLIGHT_WINDOWS_BIN names no Windows build");
        QVERIFY(screenshots.mkpath(QStringLiteral(".")));
        QVERIFY(display.Start());
        // The program folder: the panel, its translations and the crash library.
        QVERIFY(QDir().mkpath(programDir));
        for (const QString& file : windowsBin.entryList({"lumet_*.qm", "vornlight.exe"}))
            QVERIFY(QFile::copy(windowsBin.filePath(file), programDir + QLatin1Char('/') + file));
        QVERIFY(QFile::copy(qEnvironmentVariable("VORNLIGHT_CRASH_LIBRARY"), programDir + "/crashrpt.dll"));
        // COM starts the service on the panel's first call.
        serviceProgram = windowsBin.filePath(QStringLiteral("vornlight-com-service.exe"));
        QVERIFY(RunWine({WinePath(serviceProgram), "/RegServer",
                         "--capability", WinePath(Fixture("capability.xml")), "--status",
                         WinePath(Fixture("status.xml")), "--journal", WinePath(comJournal)}));
    }

    // The prefix as it was: the suites that run there expect no service and
    // no installation.
    void cleanupTestCase()
    {
        Registry();
        RunWineQuietly({WinePath(serviceProgram), "/UnregServer"});
    }

    // A case that failed half-way leaves no panel behind to hold the mutex.
    void cleanup()
    {
        if (panel && panel->state() != QProcess::NotRunning) {
            panel->terminate();
            panel->waitForFinished(10000);
        }
        panel.reset();
    }

    // The Linux panel against the same documents, for comparison.
    void linuxReference()
    {
        const SimulatorJournal journal(scratch.filePath(QStringLiteral("dbus.jsonl")));
        SimulatorProcess simulator(QStringList{"--capability", Fixture("capability.xml"), "--status",
                                               Fixture("status.xml")}
                                   + journal.Arguments());
        QVERIFY2(simulator.Start(), qPrintable(simulator.ErrorOutput()));
        PanelProcess linuxPanel(scratch.path(), PanelProcess::TrustedRegistry(Fixture("installed.reg"), scratch.path()),
                           display.Name());
        QVERIFY(linuxPanel.Launch());
        const QString window = linuxPanel.WaitForWindow(display);
        QVERIFY(!window.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus"}), 10000);
        QTest::qWait(1000);
        linuxShot = Grab(display, window, screenshots.filePath(QStringLiteral("linux-panel.png")));
        QCOMPARE(linuxShot.size(), WindowSize);

        // The last effect (Sleep), then APPLY.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(6)));
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops().size(), 4, 15000);
        linuxApply = SetProfileLine(journal.Arguments().last());
        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(linuxPanel.EndsWith(0, 10000));
    }

    // Start, the documents through COM, the window, one instance, APPLY, the
    // crash library, and an orderly end.
    void windowsPanel()
    {
        QVERIFY2(!linuxApply.isEmpty(), "no Linux panel to compare with");
        QVERIFY(Registry("installed.reg"));
        const SimulatorJournal journal(comJournal);
        const QString window = StartPanel(crashRecord);
        QVERIFY2(!window.isEmpty(), "the panel showed no window under wine");
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus"}), 30000);
        QTest::qWait(1000);

        // What the window shows: the panel's background and colours, the
        // version from wine's registry, and mostly what the Linux panel shows.
        const QImage shot = Grab(display, window, screenshots.filePath(QStringLiteral("wine-panel.png")));
        QCOMPARE(shot.size(), WindowSize);
        const QRect all(QPoint(0, 0), WindowSize);
        const double background = Share(shot, all, [](QRgb p) { return Near(p, Background, 6); });
        const double colourful = Share(shot, all, Saturated);
        QVERIFY2(background > 0.3 && colourful > 0.005,
                 qPrintable(QStringLiteral("background %1, colourful %2").arg(background).arg(colourful)));
        for (const QImage* image : {&shot, static_cast<const QImage*>(&linuxShot)}) {
            const double label = Share(*image, VersionLabel, [](QRgb p) { return Near(p, Text, 60); });
            QVERIFY2(label > 0.05, qPrintable(QStringLiteral("version label: %1").arg(label)));
        }
        const double agreement = Agreement(shot, linuxShot);
        qInfo("background %.3f, colourful %.3f, agreement with the Linux panel %.3f", background, colourful,
              agreement);
        QVERIFY2(agreement > 0.9, qPrintable(QStringLiteral("agreement with Linux: %1").arg(agreement)));

        // A second start ends at once through the named mutex, asking nothing.
        QVERIFY(EndsWith(*StartWine({panelProgram}, PanelEnvironment(secondCrashRecord)), 0));
        QCOMPARE(journal.Calls().size(), 2);
        QVERIFY(CrashLibraryServed(secondCrashRecord));

        // The same clicks send the same bytes as the Linux panel.
        QVERIFY(display.Click(window, PanelProcess::EffectButton(6)));
        QVERIFY(display.Click(window, PanelProcess::ApplyButton));
        QTRY_COMPARE_WITH_TIMEOUT(journal.Ops(), (QStringList{"GetCapability", "GetStatus", "SetProfile", "GetStatus"}),
                                  30000);
        QCOMPARE(SetProfileLine(comJournal), linuxApply);

        // Dragging the free surface moves the window through the window
        // system's caption drag.
        const QPoint before = Position(display, window);
        QVERIFY(Xdotool(display, {"mousemove", "--window", window, "400", "40", "mousedown", "1", "sleep", "0.3",
                                  "mousemove_relative", "--", "50", "30", "sleep", "0.3", "mousemove_relative", "--",
                                  "50", "30", "sleep", "0.3", "mouseup", "1"}));
        QTRY_COMPARE_WITH_TIMEOUT(Position(display, window), before + QPoint(100, 60), 5000);

        // The close button ends the panel, once the crash library is ready.
        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(EndsWith(*panel, 0));
        QVERIFY(CrashLibraryServed(crashRecord));
    }

    // Without the uninstall entry the version label stays empty.
    void versionComesFromTheRegistry()
    {
        QVERIFY(Registry());
        const QString window = StartPanel(crashRecord);
        QVERIFY(!window.isEmpty());
        QTest::qWait(1000);
        const QImage shot = Grab(display, window, screenshots.filePath(QStringLiteral("wine-panel-unversioned.png")));
        QCOMPARE(shot.size(), WindowSize);
        QCOMPARE(Share(shot, VersionLabel, [](QRgb p) { return Near(p, Text, 60); }), 0.0);
        QVERIFY(display.Click(window, PanelProcess::CloseButton));
        QVERIFY(EndsWith(*panel, 0));
    }

    // A pending reboot is reported before the service is asked; OK ends the
    // panel with 0.
    void pendingRebootWarnsAndEnds()
    {
        QVERIFY(Registry("reboot.reg"));
        const int before = SimulatorJournal(comJournal).Calls().size();
        panel = StartWine({panelProgram}, PanelEnvironment(crashRecord));
        const QString box = display.WaitForWindow(QStringLiteral("WARNING"), 90000);
        QVERIFY2(!box.isEmpty(), "no reboot message");
        QTest::qWait(500);
        Grab(display, box, screenshots.filePath(QStringLiteral("wine-reboot.png")));
        QVERIFY2(display.PressKey(box, QStringLiteral("Return")), "the reboot message cannot be confirmed");
        QVERIFY(EndsWith(*panel, 0));
        QCOMPARE(SimulatorJournal(comJournal).Calls().size(), before);
        QVERIFY(Registry());
    }
};

QTEST_GUILESS_MAIN(WinePanelCheck)
#include "WinePanelCheck.moc"
