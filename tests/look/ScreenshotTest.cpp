// The screenshot set, taken by tools/screenshots.sh from the real window on a
// virtual screen: every picture shows the whole window with real content, and
// no two are alike, so each click and key landed. The set at twice the scale
// has twice the pixels and, drawn from the images made for it, more detail
// than the plain set could give.
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The colours of the page right of the effect list, above the action buttons.
QSet<QRgb> PageColours(const QImage& image, int scale)
{
    const QImage view = image.copy(183 * scale, 99 * scale, 675 * scale, 525 * scale);
    QSet<QRgb> colours;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x)
            colours.insert(view.pixel(x, y));
    return colours;
}

} // namespace

class ScreenshotTest : public QObject
{
    Q_OBJECT

private slots:
    // The screen every test and script gets keeps its state when its last
    // client leaves: a server that resets then refuses whoever connects
    // during the reset.
    void screenOutlivesItsClients()
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral(LUMET_SOURCE_DIR "/tools/virtual-screen.sh"),
                     {"sh", "-c", "xprop -root -f VORNLIGHT_PROBE 8s -set VORNLIGHT_PROBE kept && sleep 0.5 && "
                                  "xprop -root VORNLIGHT_PROBE"});
        QVERIFY(script.waitForFinished(60000) && script.exitCode() == 0);
        const QByteArray output = script.readAll();
        QVERIFY2(output.contains("VORNLIGHT_PROBE(STRING) = \"kept\""), output.constData());
    }

    void everyShotHasRealContent()
    {
        QTemporaryDir out;
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("BUILD_DIR"), QStringLiteral(LUMET_BUILD_DIR));
        for (const char* name : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "DISPLAY"})
            env.remove(QLatin1String(name));
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral(LUMET_SOURCE_DIR "/tools/screenshots.sh"), {out.path()});
        QVERIFY2(script.waitForFinished(540000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0, script.readAll().constData());
        const QStringList plain{"static", "breathing", "strobing", "color-cycle", "rainbow-cycle", "rainbow-gradient",
                                "comet-plain", "comet-gradient", "wave", "music", "temperature", "sleep", "leds-off",
                                "german-static", "german-strobing", "german-temperature", "unknown",
                                "keyboard-effects", "keyboard-led", "keyboard-palette"};
        const QStringList doubled{"static", "strobing", "color-cycle", "rainbow-gradient", "comet-plain", "music",
                                  "temperature", "sleep", "keyboard-effects", "keyboard-led", "keyboard-palette", "leds-off"};
        for (int scale : {1, 2}) {
            QList<QImage> seen;
            for (const QString& name : scale == 1 ? plain : doubled) {
                const QString file = (scale == 1 ? QString() : QStringLiteral("scale2/")) + name + QStringLiteral(".png");
                const QImage image = QImage(out.filePath(file)).convertToFormat(QImage::Format_RGB32);
                QCOMPARE(image.size(), QSize(860, 700) * scale);
                QVERIFY2(PageColours(image, scale).size() > 16, qPrintable(file));
                QVERIFY2(!seen.contains(image), qPrintable(file));
                seen << image;
            }
        }
        const auto detail = [&out](const char* file, int scale) {
            return PageColours(QImage(out.filePath(QLatin1String(file))).convertToFormat(QImage::Format_RGB32), scale).size();
        };
        QVERIFY(detail("scale2/static.png", 2) > 2 * detail("static.png", 1));
    }
};

QTEST_GUILESS_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
