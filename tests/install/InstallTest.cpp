// The installed program: the layout under a fresh prefix, the files that
// desktops and the session bus read, and the installed panel starting the
// installed service through D-Bus activation.
#include "ui/mainwindow/LumetInstallInfo.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString serviceName = QStringLiteral("OvTarskLumetService.ServiceMediator");

// "key=value" lines of the first group of a desktop-style file.
QMap<QString, QString> ReadEntries(const QString& path)
{
    QMap<QString, QString> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !line.startsWith(QLatin1Char('#')))
            entries.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return entries;
}

bool IsExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.isExecutable();
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;
    QString prefix;

    QString Installed(const QString& relative) const { return prefix + QLatin1Char('/') + relative; }
    QString RegistryFile() const { return Installed(QStringLiteral("etc/vornlight/registry.reg")); }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        prefix = scratch.filePath(QStringLiteral("prefix"));
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(LUMET_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(LUMET_BUILD_DIR), QStringLiteral("--prefix"), prefix});
        QVERIFY(install.waitForFinished(120000));
        const QByteArray log = install.readAll();
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0, log.constData());
    }

    // The program folder holds the panel and its translations; bin/ links to
    // it, so the panel still finds its files when started through the link.
    void programFolderAndLink()
    {
        const QString program = Installed(QStringLiteral("lib/vornlight/vornlight"));
        QVERIFY(IsExecutableFile(program));
        QVERIFY(QFile::exists(Installed(QStringLiteral("lib/vornlight/lumet_de.qm"))));
        QVERIFY(QFile::exists(Installed(QStringLiteral("lib/vornlight/lumet_zh_CN.qm"))));
        const QFileInfo link(Installed(QStringLiteral("bin/vornlight")));
        QVERIFY(link.isSymLink());
        QVERIFY2(!QFileInfo(link.symLinkTarget()).isAbsolute() || link.symLinkTarget().startsWith(prefix),
                 "the link must stay inside the prefix");
        QCOMPARE(link.canonicalFilePath(), QFileInfo(program).canonicalFilePath());
        QVERIFY(IsExecutableFile(Installed(QStringLiteral("bin/vornlight-service-sim"))));
    }

    void desktopEntryAndIcons()
    {
        const auto entry = ReadEntries(Installed(QStringLiteral("share/applications/vornlight.desktop")));
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QVERIFY(!entry.value(QStringLiteral("Name")).isEmpty());
        QVERIFY(IsExecutableFile(entry.value(QStringLiteral("Exec"))));
        QCOMPARE(QFileInfo(entry.value(QStringLiteral("Exec"))).canonicalFilePath(),
                 QFileInfo(Installed(QStringLiteral("lib/vornlight/vornlight"))).canonicalFilePath());
        const QString iconName = entry.value(QStringLiteral("Icon"));
        QCOMPARE(iconName, QStringLiteral("vornlight"));
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QString path = Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(iconName));
            QImage icon(path);
            QVERIFY2(!icon.isNull(), qPrintable(path));
            QCOMPARE(icon.size(), QSize(size, size));
            // A tile with transparent corners and more than one colour inside.
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QSet<QRgb> colours;
            for (int y = 0; y < size; y += qMax(1, size / 16))
                for (int x = 0; x < size; x += qMax(1, size / 16))
                    colours.insert(icon.pixel(x, y));
            QVERIFY(colours.size() > 4);
        }
    }

    void activationFileNamesInstalledService()
    {
        const auto entry = ReadEntries(Installed(QStringLiteral("share/dbus-1/services/") + serviceName + QStringLiteral(".service")));
        QCOMPARE(entry.value(QStringLiteral("Name")), serviceName);
        QCOMPARE(entry.value(QStringLiteral("Exec")), Installed(QStringLiteral("bin/vornlight-service-sim")));
    }

    // The version label reads the uninstall entry through the registry reader.
    void registryFileGivesVersion()
    {
        QVERIFY(QFile::exists(RegistryFile()));
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(RegistryFile()));
        QCOMPARE(LumetInstallInfo::ReadVersion(), std::string(LUMET_VERSION));
        QVERIFY(!LumetInstallInfo::IsRebootPending());
        qunsetenv("VORNLIGHT_REGISTRY");
    }

    // A bus of its own that knows only the installed activation file: the
    // service runs only if the installed panel's first call starts it.
    void installedPanelStartsInstalledService()
    {
        const QString home = scratch.filePath(QStringLiteral("home"));
        for (const char* dir : {"home/data", "home/state", "home/run"})
            QVERIFY(QDir().mkpath(scratch.filePath(QLatin1String(dir))));
        QFile::setPermissions(home + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), Installed(QStringLiteral("share")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/state"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));

        QProcess bus;
        bus.setProcessEnvironment(env);
        bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--print-address=1")});
        QVERIFY(bus.waitForStarted());
        QByteArray address;
        QTRY_VERIFY_WITH_TIMEOUT((address += bus.readAllStandardOutput()).contains('\n'), 10000);
        address = address.trimmed();
        auto stopBus = qScopeGuard([&bus] {
            bus.terminate();
            bus.waitForFinished(5000);
        });

        QDBusConnection connection = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("install"));
        QVERIFY(connection.isConnected());
        QVERIFY(!connection.interface()->isServiceRegistered(serviceName).value());

        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(address));
        env.insert(QStringLiteral("VORNLIGHT_REGISTRY"), RegistryFile());
        env.insert(QStringLiteral("VORNLIGHT_QUIT_AFTER_MS"), QStringLiteral("1500"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess panel;
        panel.setProcessEnvironment(env);
        panel.setProcessChannelMode(QProcess::MergedChannels);
        panel.start(Installed(QStringLiteral("bin/vornlight")), {QStringLiteral("-capXml"), QStringLiteral("-statusXml")});
        QVERIFY(panel.waitForStarted());
        const bool finished = panel.waitForFinished(60000);
        if (!finished)
            panel.kill();
        QVERIFY2(finished, "the installed panel did not end");
        QVERIFY2(panel.exitStatus() == QProcess::NormalExit && panel.exitCode() == 0, panel.readAll().constData());

        QVERIFY(connection.interface()->isServiceRegistered(serviceName).value());
        // The switches dump what the service sent into the program folder,
        // which the panel found through the link in bin/.
        QFile capability(Installed(QStringLiteral("lib/vornlight/CapabilityModel.xml")));
        QVERIFY(capability.open(QIODevice::ReadOnly));
        QVERIFY(capability.readAll().contains("key=\"Group\""));
        QFile status(Installed(QStringLiteral("lib/vornlight/Status.xml")));
        QVERIFY(status.open(QIODevice::ReadOnly));
        QVERIFY(status.size() > 0);
        QDBusConnection::disconnectFromBus(QStringLiteral("install"));
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "InstallTest.moc"
