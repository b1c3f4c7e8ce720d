// The screenshot set, taken by tools/screenshots.sh from the real window on a
// virtual screen: every picture is there, shows the whole window with real
// content, and each one differs from every other, so each click landed.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList Shots{
    QStringLiteral("static"),        QStringLiteral("breathing"),      QStringLiteral("strobing"),
    QStringLiteral("color-cycle"),   QStringLiteral("rainbow-cycle"),  QStringLiteral("rainbow-gradient"),
    QStringLiteral("comet-plain"),   QStringLiteral("comet-gradient"), QStringLiteral("wave"),
    QStringLiteral("music"),         QStringLiteral("temperature"),    QStringLiteral("sleep"),
    QStringLiteral("leds-off"),      QStringLiteral("german-static"),  QStringLiteral("german-strobing"),
    QStringLiteral("german-temperature"), QStringLiteral("unknown")};

// The page right of the effect list, above the action buttons.
const QRect ViewArea(183, 99, 675, 525);

int ColourCount(const QImage& image, const QRect& area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

double MeanLightness(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

} // namespace

class ScreenshotTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir out;
    QMap<QString, QImage> images;

private slots:
    void initTestCase()
    {
        QVERIFY(out.isValid());
        for (const char* tool : {"Xvfb", "xdotool", "import", "identify"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("BUILD_DIR"), QStringLiteral(LUMET_BUILD_DIR));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral(LUMET_SOURCE_DIR "/tools/screenshots.sh"), {out.path()});
        QVERIFY(script.waitForStarted());
        const bool finished = script.waitForFinished(240000);
        if (!finished)
            script.kill();
        const QByteArray log = script.readAll();
        QVERIFY2(finished && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0, log.constData());
        for (const QString& name : Shots)
            images.insert(name, QImage(out.filePath(name + QStringLiteral(".png"))).convertToFormat(QImage::Format_RGB32));
    }

    void eachShotShowsTheWholeWindow()
    {
        for (const QString& name : Shots) {
            const QImage& image = images.value(name);
            QVERIFY2(!image.isNull(), qPrintable(name));
            QCOMPARE(image.size(), QSize(860, 700));
            QVERIFY2(ColourCount(image, image.rect()) > 200, qPrintable(name));
            QVERIFY2(ColourCount(image, ViewArea) > 16, qPrintable(name));
        }
    }

    void noTwoShotsAlike()
    {
        for (int i = 0; i < Shots.size(); ++i)
            for (int j = i + 1; j < Shots.size(); ++j)
                QVERIFY2(images.value(Shots[i]) != images.value(Shots[j]),
                         qPrintable(Shots[i] + QStringLiteral(" = ") + Shots[j]));
        // The two choices of a view change the view itself, not only the list.
        QVERIFY(images.value(QStringLiteral("rainbow-cycle")).copy(ViewArea)
                != images.value(QStringLiteral("rainbow-gradient")).copy(ViewArea));
        QVERIFY(images.value(QStringLiteral("comet-plain")).copy(ViewArea)
                != images.value(QStringLiteral("comet-gradient")).copy(ViewArea));
    }

    void maskDimsTheWindow()
    {
        QVERIFY(MeanLightness(images.value(QStringLiteral("leds-off")))
                < 0.8 * MeanLightness(images.value(QStringLiteral("static"))));
    }
};

QTEST_GUILESS_MAIN(ScreenshotTest)
#include "ScreenshotTest.moc"
