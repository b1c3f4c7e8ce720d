// The screenshot set, taken by tools/screenshots.sh from the real window on a
// virtual screen: every picture shows the whole window with real content, and
// no two are alike, so each click landed.
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class ScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    void everyShotHasRealContent()
    {
        QTemporaryDir out;
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("BUILD_DIR"), QStringLiteral(LUMET_BUILD_DIR));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral(LUMET_SOURCE_DIR "/tools/screenshots.sh"), {out.path()});
        QVERIFY2(script.waitForFinished(240000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0, script.readAll().constData());
        QList<QImage> seen;
        for (const char* name : {"static", "breathing", "strobing", "color-cycle", "rainbow-cycle", "rainbow-gradient",
                                 "comet-plain", "comet-gradient", "wave", "music", "temperature", "sleep", "leds-off",
                                 "german-static", "german-strobing", "german-temperature", "unknown"}) {
            const QImage image = QImage(out.filePath(QLatin1String(name) + QStringLiteral(".png"))).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(image.size(), QSize(860, 700));
            // The page right of the effect list, above the action buttons.
            const QImage view = image.copy(183, 99, 675, 525);
            QSet<QRgb> colours;
            for (int y = 0; y < view.height(); ++y)
                for (int x = 0; x < view.width(); ++x)
                    colours.insert(view.pixel(x, y));
            QVERIFY2(colours.size() > 16, name);
            QVERIFY2(!seen.contains(image), name);
            seen << image;
        }
    }
};

QTEST_GUILESS_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
