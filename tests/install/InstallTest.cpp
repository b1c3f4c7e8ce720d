// The installed program: the layout under a fresh prefix, the files that
// desktops and the session bus read, and the installed panel starting the
// installed service through D-Bus activation, which drives the OpenRGB test
// server named in the bus's environment.
#include "tests/openrgb/OpenRgbServer.h"
#include "ui/mainwindow/LumetInstallInfo.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString serviceName = QStringLiteral("OvTarskLumetService.ServiceMediator");

// The value of one "key=value" line of a desktop-style file.
QString Entry(const QString& path, const QByteArray& key)
{
    QFile file(path);
    const QList<QByteArray> lines = file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    for (const QByteArray& line : lines)
        if (line.startsWith(key + '='))
            return QString::fromUtf8(line.mid(key.size() + 1)).trimmed();
    return QString();
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;

    QString Installed(const QString& relative) const { return scratch.filePath("prefix/" + relative); }

private slots:
    void initTestCase()
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(LUMET_CMAKE_COMMAND, {"--install", LUMET_BUILD_DIR, "--prefix", Installed(QString())});
        QVERIFY2(install.waitForFinished(120000) && install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
                 install.readAll().constData());
    }

    // The program folder holds the panel and its translations; bin/ and the
    // desktop entry lead to it, so the panel finds its files however started.
    void layout()
    {
        const QString program = QFileInfo(Installed("lib/vornlight/vornlight")).canonicalFilePath();
        QVERIFY(QFileInfo(program).isExecutable() && QFileInfo(Installed("bin/vornlight")).isSymLink());
        QCOMPARE(QFileInfo(Installed("bin/vornlight")).canonicalFilePath(), program);
        for (const char* file : {"lib/vornlight/lumet_de.qm", "lib/vornlight/lumet_zh_CN.qm", "bin/vornlight-service-sim",
                                 "bin/vornlight-service"})
            QVERIFY2(QFile::exists(Installed(file)), file);
        const QString desktop = Installed("share/applications/vornlight.desktop");
        QCOMPARE(Entry(desktop, "Type") + ' ' + Entry(desktop, "Icon"), QStringLiteral("Application vornlight"));
        QCOMPARE(QFileInfo(Entry(desktop, "Exec")).canonicalFilePath(), program);
        for (int size : {16, 32, 48, 64, 128, 256})
            QCOMPARE(QImage(Installed(QString("share/icons/hicolor/%1x%1/apps/vornlight.png").arg(size))).size(), QSize(size, size));
        QCOMPARE(Entry(Installed("share/dbus-1/services/" + serviceName + ".service"), "Exec"), Installed("bin/vornlight-service"));
        // The version label reads the uninstall entry through the registry reader.
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(Installed("etc/vornlight/registry.reg")));
        QCOMPARE(LumetInstallInfo::ReadVersion(), std::string(LUMET_VERSION));
        QVERIFY(!LumetInstallInfo::IsRebootPending());
        qunsetenv("VORNLIGHT_REGISTRY");
    }

    // A bus of its own that knows only the installed activation file: the
    // service runs only if the installed panel's first call starts it.
    void installedPanelStartsInstalledService()
    {
        if (OpenRgbServer::Folder().isEmpty())
            QSKIP("the OpenRGB test server is not beside the source tree");
        OpenRgbServer server;
        QVERIFY2(server.Start(), qPrintable(server.Error()));
        const QString home = scratch.filePath("home");
        QVERIFY(QDir().mkpath(home));
        QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", home);
        env.insert("XDG_DATA_HOME", home + "/data");
        env.insert("XDG_STATE_HOME", home + "/state");
        env.insert("XDG_DATA_DIRS", Installed("share"));
        // The bus starts the service with its own environment.
        env.insert("VORNLIGHT_OPENRGB", QString("127.0.0.1:%1").arg(server.Port()));
        QProcess bus;
        bus.setProcessEnvironment(env);
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QByteArray address;
        QTRY_VERIFY_WITH_TIMEOUT((address += bus.readAllStandardOutput()).contains('\n'), 10000);
        auto stopBus = qScopeGuard([&bus] { bus.terminate(); bus.waitForFinished(5000); });
        QDBusConnection connection = QDBusConnection::connectToBus(QString::fromUtf8(address.trimmed()), "install");
        QVERIFY(connection.isConnected());
        QVERIFY(!connection.interface()->isServiceRegistered(serviceName).value());

        env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(address.trimmed()));
        env.insert("VORNLIGHT_REGISTRY", Installed("etc/vornlight/registry.reg"));
        env.insert("VORNLIGHT_QUIT_AFTER_MS", "1500");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess panel;
        panel.setProcessEnvironment(env);
        panel.setProcessChannelMode(QProcess::MergedChannels);
        panel.start(Installed("bin/vornlight"), {"-capXml", "-statusXml"});
        const bool finished = panel.waitForFinished(60000);
        if (!finished)
            panel.kill();
        QVERIFY2(finished && panel.exitStatus() == QProcess::NormalExit && panel.exitCode() == 0, panel.readAll().constData());
        QVERIFY(connection.interface()->isServiceRegistered(serviceName).value());
        // The switches dump what the service sent into the program folder,
        // which the panel found through the link in bin/.
        QFile capability(Installed("lib/vornlight/CapabilityModel.xml"));
        QVERIFY(capability.open(QIODevice::ReadOnly) && capability.readAll().contains("key=\"Group\""));
        QVERIFY(QFileInfo(Installed("lib/vornlight/Status.xml")).size() > 0);
        QDBusConnection::disconnectFromBus("install");
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "InstallTest.moc"
