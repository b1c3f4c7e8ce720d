// The simulated service when its storage or its callers misbehave: a save that
// fails (full disk, file size limit) is answered as a failure and changes
// nothing; a state file it must not read or replace (pipe, folder, huge,
// link, unreadable) is left alone and the service ends at once; a second
// service on the same state folder gives way; a journal that cannot be written
// is said once; text that is not 7-bit is refused.
#include "tests/simulator/SimulatorProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Sim = SimulatorProcess;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What a path is, without following a link: kind, size, link target, and the
// content of a regular file.
QString Fingerprint(const QString& path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("none");
    return QStringLiteral("%1 %2 %3 %4")
        .arg(info.st_mode & S_IFMT)
        .arg(info.st_size)
        .arg(QFileInfo(path).symLinkTarget(), S_ISREG(info.st_mode) && info.st_size < 4096
                                                  ? QString::fromLatin1(ReadFile(path).toHex()) : QString());
}

struct Ending
{
    bool byItself = false;
    bool ended = false;
    int code = -1;
    QString errors;
};

// A process in a group of its own, so that whatever it starts (a bus of its
// own) ends with it.
class ProcessGroup : public QProcess
{
public:
    ~ProcessGroup() override { Signal(SIGKILL); waitForFinished(5000); }
    void Signal(int signal)
    {
        if (state() != QProcess::NotRunning)
            ::kill(-static_cast<pid_t>(processId()), signal);
    }

protected:
    void setupChildProcess() override { ::setsid(); }
};

// Runs a service that is expected to give up on its own; a service that does
// not is sent SIGTERM, which must end it promptly whatever it is doing.
Ending RunToEnd(ProcessGroup& process)
{
    Ending ending;
    process.start();
    ending.byItself = process.waitForFinished(10000);
    process.Signal(SIGTERM);
    ending.ended = ending.byItself || process.waitForFinished(2000);
    if (process.exitStatus() == QProcess::NormalExit)
        ending.code = process.exitCode();
    ending.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return ending;
}

bool Applied(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

class SimulatorFaultTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString stateDir;
    QString stateFile;
    QString mounted;

    std::unique_ptr<Sim> Start(const QStringList& extra = {})
    {
        auto rig = std::make_unique<Sim>(QStringList{"--state-dir", stateDir} + extra);
        if (!rig->Start())
            qWarning("the simulator did not start: %s", qPrintable(rig->ErrorOutput()));
        return rig;
    }

    void ExpectRefusal(const Ending& ending, const char* reason)
    {
        QVERIFY2(ending.ended, "SIGTERM did not end the service");
        QVERIFY2(ending.byItself, "the service went on instead of refusing the state file");
        QVERIFY(ending.code > 0);
        QVERIFY2(ending.errors.contains(stateFile) && ending.errors.contains(QLatin1String(reason)),
                 qPrintable(ending.errors));
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        stateDir = dir->filePath("state");
        stateFile = stateDir + "/rig-state.xml";
        QVERIFY(QDir().mkpath(stateDir));
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
            QProcess mount;
            mount.start("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", stateDir});
            if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
                QSKIP(qPrintable("no small file system can be mounted here (" + mount.readAllStandardError().trimmed()
                                 + "); the file size limit makes the same fault"));
            mounted = stateDir;
        }
        auto rig = Start({"--reset"});
        const QString before = Sim::Fetch("GetStatus");
        QVERIFY(!before.isEmpty());
        const QByteArray saved = ReadFile(stateFile);
        QCOMPARE(saved, before.toLatin1());

        const QString filler = stateDir + "/filler";
        struct rlimit limit = {};
        QVERIFY(::prlimit(static_cast<pid_t>(rig->Pid()), RLIMIT_FSIZE, nullptr, &limit) == 0);
        if (fullDisk) {
            QFile fill(filler);
            QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(1024, 'x');
            for (int i = 0; i < 256 && fill.write(block) == block.size(); ++i) {
            }
        } else {
            const struct rlimit small = {4096, limit.rlim_max};
            QVERIFY(::prlimit(static_cast<pid_t>(rig->Pid()), RLIMIT_FSIZE, &small, nullptr) == 0);
        }

        const QString red = Sim::GroupProfile("255", "MB_STRIP");
        const QDBusMessage reply = Sim::SetProfile("Group", red);
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.Failed"));
        QVERIFY2(reply.errorMessage().contains(cause) && reply.errorMessage().contains(stateFile),
                 qPrintable(reply.errorMessage()));
        QCOMPARE(Sim::Fetch("GetStatus"), before);
        QCOMPARE(ReadFile(stateFile), saved);
        QCOMPARE(QDir(stateDir).entryList(QDir::Files).join(' '),
                 QString(fullDisk ? "filler rig-state.xml" : "rig-state.xml"));

        if (fullDisk)
            QVERIFY(QFile::remove(filler));
        else
            QVERIFY(::prlimit(static_cast<pid_t>(rig->Pid()), RLIMIT_FSIZE, &limit, nullptr) == 0);
        QVERIFY(Applied(Sim::SetProfile("Group", red)));
        const QString after = Sim::Fetch("GetStatus");
        QVERIFY(after != before);
        QCOMPARE(ReadFile(stateFile), after.toLatin1());
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
        const QByteArray path = QFile::encodeName(stateFile);
        // A writer that never writes: reading would wait for ever.
        QFile writer(stateFile);
        if (kind == "pipe")
            QVERIFY(::mkfifo(path.constData(), 0600) == 0 && writer.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        if (kind == "folder")
            QVERIFY(QDir().mkpath(stateFile));
        if (kind == "huge") {
            QFile huge(stateFile);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(16 * 1024 * 1024 + 1));
        }
        if (kind == "link")
            QVERIFY(WriteFile(target, "someone else's file"));
        if (kind == "dangling" || kind == "link")
            QVERIFY(QFile::link(target, stateFile));
        const QString before = Fingerprint(stateFile) + " / " + Fingerprint(target);

        ProcessGroup rig;
        rig.setProgram(Sim::Program());
        rig.setArguments({"--state-dir", stateDir});
        ExpectRefusal(RunToEnd(rig), qPrintable(reason));
        QCOMPARE(Fingerprint(stateFile) + " / " + Fingerprint(target), before);
    }

    // A state file the service's user may not read is not replaced by the
    // defaults. Root reads everything, so there the service runs as nobody,
    // on a session bus of its own.
    void unreadableStateFileKept()
    {
        QVERIFY(WriteFile(stateFile, "a state someone could not read"));
        QVERIFY(::chmod(QFile::encodeName(stateFile).constData(), 0200) == 0);
        ProcessGroup rig;
        if (::geteuid() != 0) {
            rig.setProgram(Sim::Program());
            rig.setArguments({"--state-dir", stateDir});
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
            rig.setProgram("setpriv");
            rig.setArguments({"--reuid=" + QString::number(nobody->pw_uid), "--regid=" + QString::number(nobody->pw_gid),
                              "--clear-groups", "dbus-run-session", "--", program, "--state-dir", stateDir});
        }
        ExpectRefusal(RunToEnd(rig), "Permission denied");
        QCOMPARE(ReadFile(stateFile), QByteArray("a state someone could not read"));
    }

    // Two services on two buses share one state folder: the second says why
    // and ends, leaving the first one's state alone.
    void secondServiceOnTheFolderGivesWay()
    {
        auto first = Start({"--reset"});
        QVERIFY(Applied(Sim::SetProfile("Group", Sim::GroupProfile("255"))));
        const QString status = Sim::Fetch("GetStatus");
        ProcessGroup second;
        second.setProgram("dbus-run-session");
        second.setArguments({"--", Sim::Program(), "--state-dir", stateDir, "--reset"});
        const Ending ending = RunToEnd(second);
        QVERIFY2(ending.byItself && ending.code > 0, "the second service ran on");
        QVERIFY2(ending.errors.contains("in use by another lighting service"), qPrintable(ending.errors));
        QCOMPARE(ReadFile(stateFile), status.toLatin1());
        QCOMPARE(Sim::Fetch("GetStatus"), status);
    }

    void journalFailureSaidOnce()
    {
        auto rig = Start({"--journal", "/dev/full"});
        QVERIFY(!Sim::Fetch("GetStatus").isEmpty());
        QVERIFY(!Sim::Fetch("GetCapability").isEmpty());
        QVERIFY(Applied(Sim::SetProfile("Group", Sim::GroupProfile("255"))));
        rig->Stop();
        const QString errors = rig->ErrorOutput();
        QCOMPARE(errors.count("journal"), 1);
        QVERIFY2(errors.contains("/dev/full") && errors.contains("No space left on device"), qPrintable(errors));
    }

    // Narrowing keeps the low byte of each unit: U+0147 would read as "G".
    void textBeyondSevenBitRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("document");
        const QString good = Sim::GroupProfile("255");
        QTest::newRow("key") << QString(QChar(0x147)) + "roup" << good;
        QTest::newRow("header") << "Group" << QString(good).replace("LUMET", QString("LUM") + QChar(0x145) + "T");
        QTest::newRow("latin-1 in a value") << "Group" << QString(good).replace(">255<", QString(">255") + QChar(0xe9) + "<");
    }
    void textBeyondSevenBitRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, document);
        auto rig = Start();
        const QString before = Sim::Fetch("GetStatus");
        const QDBusMessage reply = Sim::SetProfile(key, document);
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
        QVERIFY2(reply.errorMessage().contains("not 7-bit text"), qPrintable(reply.errorMessage()));
        QCOMPARE(Sim::Fetch("GetStatus"), before);
    }
};

QTEST_GUILESS_MAIN(SimulatorFaultTest)
#include "SimulatorFaultTest.moc"
