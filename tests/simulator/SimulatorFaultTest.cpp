// The simulated service when its storage or its callers misbehave: a failed
// save is answered as a failure and changes nothing; a state file it must not
// read or replace is left alone and the service ends at once; a second service
// on the same state folder gives way; a journal that cannot be written is said
// once; text that is not 7-bit is refused.
#include "tests/simulator/SimulatorProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Sim = SimulatorProcess;

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What a path is, without following a link: kind, size, link target, and the
// content of a small regular file.
QString Fingerprint(const QString& path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("none");
    const bool small = S_ISREG(info.st_mode) && info.st_size < 4096;
    return QStringLiteral("%1 %2 %3 %4")
        .arg(info.st_mode & S_IFMT)
        .arg(info.st_size)
        .arg(QFileInfo(path).symLinkTarget(), small ? QString::fromLatin1(Sim::ReadFile(path).toHex()) : QString());
}

// A process in a group of its own, so that whatever it starts (a bus of its
// own) ends with it.
class ProcessGroup : public QProcess
{
public:
    ~ProcessGroup() override
    {
        Signal(SIGKILL);
        waitForFinished(5000);
    }
    void Signal(int signal)
    {
        if (state() != QProcess::NotRunning)
            ::kill(-static_cast<pid_t>(processId()), signal);
    }

    // Runs a service that is expected to give up on its own; one that does
    // not is sent SIGTERM, which must end it promptly whatever it is doing.
    bool byItself = false, ended = false;
    int code = -1;
    QString errors;
    void RunToEnd(const QString& program, const QStringList& arguments)
    {
        start(program, arguments);
        byItself = waitForFinished(10000);
        Signal(SIGTERM);
        ended = byItself || waitForFinished(2000);
        if (exitStatus() == QProcess::NormalExit)
            code = exitCode();
        errors = QString::fromLocal8Bit(readAllStandardError());
    }

protected:
    void setupChildProcess() override { ::setsid(); }
};

} // namespace

class SimulatorFaultTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString stateDir, stateFile, mounted;

    std::unique_ptr<Sim> Start(const QStringList& extra = {}) { return Sim::Started(stateDir, extra); }

    void ExpectRefusal(const ProcessGroup& rig, const QString& reason)
    {
        QVERIFY2(rig.ended, "SIGTERM did not end the service");
        QVERIFY2(rig.byItself, "the service went on instead of refusing the state file");
        QVERIFY(rig.code > 0);
        QVERIFY2(rig.errors.contains(stateFile) && rig.errors.contains(reason), qPrintable(rig.errors));
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        stateDir = dir->filePath("state");
        stateFile = stateDir + "/rig-state.xml";
        QVERIFY(dir->isValid() && QDir().mkpath(stateDir));
    }

    void cleanup()
    {
        if (!mounted.isEmpty())
            QProcess::execute("umount", {mounted});
        mounted.clear();
        dir.reset();
    }

    // The save fails for want of room: the call says why, the status and the
    // file stay as they were, and once there is room the same profile is
    // saved (the service never took it as kept).
    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("cause");
        QTest::newRow("full disk") << true << "No space left on device";
        QTest::newRow("file size limit") << false << "File too large";
    }
    void failedSaveChangesNothing()
    {
        QFETCH(bool, fullDisk);
        QFETCH(QString, cause);
        if (fullDisk) {
            if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", stateDir}) != 0)
                QSKIP("no small file system can be mounted here; the file size limit makes the same fault");
            mounted = stateDir;
        }
        auto rig = Start({"--reset"});
        const QString before = Sim::Fetch("GetStatus");
        QVERIFY(!before.isEmpty());
        QCOMPARE(Sim::ReadFile(stateFile), before.toLatin1());

        const QString filler = stateDir + "/filler";
        const pid_t pid = static_cast<pid_t>(rig->Pid());
        struct rlimit limit = {};
        QVERIFY(::prlimit(pid, RLIMIT_FSIZE, nullptr, &limit) == 0);
        if (fullDisk) {
            QFile fill(filler);
            QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(1024, 'x');
            for (int i = 0; i < 256 && fill.write(block) == block.size(); ++i) {
            }
        } else {
            const struct rlimit small = {4096, limit.rlim_max};
            QVERIFY(::prlimit(pid, RLIMIT_FSIZE, &small, nullptr) == 0);
        }

        const QString red = Sim::GroupProfile("255", "MB_STRIP");
        const QDBusMessage reply = Sim::SetProfile("Group", red);
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.Failed"));
        QVERIFY2(reply.errorMessage().contains(cause) && reply.errorMessage().contains(stateFile),
                 qPrintable(reply.errorMessage()));
        QCOMPARE(Sim::Fetch("GetStatus"), before);
        QCOMPARE(Sim::ReadFile(stateFile), before.toLatin1());
        QCOMPARE(QDir(stateDir).entryList(QDir::Files).join(' '),
                 QString(fullDisk ? "filler rig-state.xml" : "rig-state.xml"));

        QVERIFY(fullDisk ? QFile::remove(filler) : ::prlimit(pid, RLIMIT_FSIZE, &limit, nullptr) == 0);
        QVERIFY(Sim::Applied(Sim::SetProfile("Group", red)));
        const QString after = Sim::Fetch("GetStatus");
        QVERIFY(after != before);
        QCOMPARE(Sim::ReadFile(stateFile), after.toLatin1());
        rig->Stop();
        rig = Start();
        QCOMPARE(Sim::Fetch("GetStatus"), after);
    }

    // What stands where the state file belongs is neither read nor replaced,
    // nor is anything created through it; the service says why and ends.
    void unusableStateFileLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("named pipe") << "pipe" << "named pipe";
        QTest::newRow("folder") << "folder" << "folder";
        QTest::newRow("over 16 MiB") << "huge" << "larger than";
        QTest::newRow("link to nowhere") << "dangling" << "symbolic link";
        QTest::newRow("link to a file") << "link" << "symbolic link";
    }
    void unusableStateFileLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString target = dir->filePath("elsewhere.xml");
        // A pipe with a writer that never writes: reading would wait for ever.
        QFile file(stateFile);
        if (kind == "pipe")
            QVERIFY(::mkfifo(QFile::encodeName(stateFile).constData(), 0600) == 0
                    && file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        if (kind == "folder")
            QVERIFY(QDir().mkpath(stateFile));
        if (kind == "huge")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(16 * 1024 * 1024 + 1));
        if (kind == "link")
            QVERIFY(WriteFile(target, "someone else's file"));
        if (kind == "dangling" || kind == "link")
            QVERIFY(QFile::link(target, stateFile));
        const QString before = Fingerprint(stateFile) + " / " + Fingerprint(target);

        ProcessGroup rig;
        rig.RunToEnd(Sim::Program(), {"--state-dir", stateDir});
        ExpectRefusal(rig, reason);
        QCOMPARE(Fingerprint(stateFile) + " / " + Fingerprint(target), before);
    }

    // A state file the service's user may not read is not replaced by the
    // defaults. Root reads everything, so there the service runs as nobody,
    // on a session bus of its own.
    void unreadableStateFileKept()
    {
        const QByteArray unreadable = "a state someone could not read";
        QVERIFY(WriteFile(stateFile, unreadable));
        QVERIFY(::chmod(QFile::encodeName(stateFile).constData(), 0200) == 0);
        ProcessGroup rig;
        if (::geteuid() != 0) {
            rig.RunToEnd(Sim::Program(), {"--state-dir", stateDir});
        } else {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || QStandardPaths::findExecutable("setpriv").isEmpty())
                QSKIP("no user nobody or no setpriv to run the service as another user");
            // Its own copy of the program, where nobody may run it; the state
            // folder and file are nobody's, the file write-only.
            const QString program = dir->filePath("vornlight-service-sim");
            QVERIFY(QFile::copy(Sim::Program(), program));
            for (const QString& path : {dir->path(), program, stateDir})
                QVERIFY(::chmod(QFile::encodeName(path).constData(), 0755) == 0);
            for (const QString& path : {stateDir, stateFile})
                QVERIFY(::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) == 0);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("HOME", dir->path());
            env.insert("ASAN_OPTIONS", "detect_leaks=0");
            env.remove("LSAN_OPTIONS");
            env.remove("XDG_RUNTIME_DIR");
            rig.setProcessEnvironment(env);
            rig.RunToEnd("setpriv", {"--reuid=" + QString::number(nobody->pw_uid),
                                     "--regid=" + QString::number(nobody->pw_gid), "--clear-groups",
                                     "dbus-run-session", "--", program, "--state-dir", stateDir});
        }
        ExpectRefusal(rig, "Permission denied");
        QCOMPARE(Sim::ReadFile(stateFile), unreadable);
    }

    // A second service on the same state folder, even with --reset, says why
    // and ends, leaving the first one's state alone: on the same bus, where
    // the name is taken, and on a bus of its own, where only the folder is.
    void secondServiceOnTheFolderGivesWay()
    {
        auto first = Start({"--reset"});
        QVERIFY(Sim::Applied(Sim::SetProfile("Group", Sim::GroupProfile("255"))));
        const QString status = Sim::Fetch("GetStatus");
        const QStringList arguments{Sim::Program(), "--state-dir", stateDir, "--reset"};
        for (bool ownBus : {false, true}) {
            ProcessGroup second;
            second.RunToEnd(ownBus ? "dbus-run-session" : Sim::Program(),
                            ownBus ? QStringList{"--"} + arguments : arguments.mid(1));
            QVERIFY2(second.byItself && second.code > 0, "the second service ran on");
            QVERIFY2(second.errors.contains(ownBus ? "in use by another lighting service" : "already taken"),
                     qPrintable(second.errors));
            QCOMPARE(Sim::ReadFile(stateFile), status.toLatin1());
            QCOMPARE(Sim::Fetch("GetStatus"), status);
        }
    }

    void journalFailureSaidOnce()
    {
        auto rig = Start({"--journal", "/dev/full"});
        QVERIFY(!Sim::Fetch("GetStatus").isEmpty());
        QVERIFY(!Sim::Fetch("GetCapability").isEmpty());
        QVERIFY(Sim::Applied(Sim::SetProfile("Group", Sim::GroupProfile("255"))));
        rig->Stop();
        const QString errors = rig->ErrorOutput();
        QCOMPARE(errors.count("journal"), 1);
        QVERIFY2(errors.contains("/dev/full") && errors.contains("No space left on device"), qPrintable(errors));
    }

    // Narrowing keeps the low byte of each unit: U+0147 would read as "G".
    void textBeyondSevenBitRefused()
    {
        const QString good = Sim::GroupProfile("255");
        const std::pair<QString, QString> calls[] = {
            {QChar(0x147) + QString("roup"), good},
            {"Group", QString(good).replace("LUMET", QString("LUM") + QChar(0x145) + "T")},
            {"Group", QString(good).replace(">255<", QString(">255") + QChar(0xe9) + "<")}};
        auto rig = Start();
        const QString before = Sim::Fetch("GetStatus");
        for (const auto& [key, document] : calls) {
            const QDBusMessage reply = Sim::SetProfile(key, document);
            QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
            QVERIFY2(reply.errorMessage().contains("not 7-bit text"), qPrintable(reply.errorMessage()));
            QCOMPARE(Sim::Fetch("GetStatus"), before);
        }
    }
};

QTEST_GUILESS_MAIN(SimulatorFaultTest)
#include "SimulatorFaultTest.moc"
