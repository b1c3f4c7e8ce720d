// The panel on a screen of twice the density (QT_SCALE_FACTOR=2, set by the
// test's environment): the same window in points, twice the pixels, and every
// picture painted from the images drawn at twice the size.
#include "service/ServiceClient.h"
#include "tests/support/RecordingService.h"
#include "ui/controls/LumetImage.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QApplication>
#include <QDirIterator>
#include <QtTest>

#include <memory>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Of the pixels where picture is opaque, the share that shot shows unchanged
// with picture's top-left at origin.
double Matching(const QImage& shot, const QImage& picture, QPoint origin)
{
    const QImage seen = shot.convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = picture.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0, same = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (qAlpha(drawn.pixel(x, y)) == 255) {
                ++opaque;
                same += seen.pixel(origin.x() + x, origin.y() + y) == drawn.pixel(x, y);
            }
    return opaque ? double(same) / opaque : 0.0;
}

} // namespace

class HighDpiTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Lumet> window;
    QImage shot;

private slots:
    void initTestCase()
    {
        qputenv("VORNLIGHT_REGISTRY", QByteArrayLiteral("/nonexistent/registry.reg"));
        auto service = std::make_unique<RecordingService>();
        service->capability = ReadFile(QStringLiteral(LUMET_SOURCE_DIR "/simulator/data/capability.xml")).toStdString();
        service->status = ReadFile(QStringLiteral(LUMET_SOURCE_DIR "/simulator/data/status.xml")).toStdString();
        ServiceClient::Instance().SetBackend(std::move(service));
        QCOMPARE(qApp->devicePixelRatio(), 2.0);

        window = std::make_unique<Lumet>(nullptr, false, false, false);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The static view: the palette with its ring.
        QTest::mouseClick(window->GetEffectButtonGroup()->GetButtons().front(), Qt::LeftButton);
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 1);
        shot = window->grab().toImage();
    }

    // Geometry stays in points; the picture has twice the pixels.
    void windowAtTwiceTheScale()
    {
        QCOMPARE(window->size(), QSize(860, 700));
        QCOMPARE(shot.size(), QSize(1720, 1400));
    }

    // Beside every image lies one of twice its size, and the code's loader
    // takes it on this screen.
    void everyImageHasItsDouble()
    {
        int images = 0;
        for (QDirIterator it(QStringLiteral(":/Lumet/Resources/"), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            if (path.contains(QLatin1String("@2x")))
                continue;
            const QSize size = QImage(path).size();
            QString doubled = path;
            doubled.insert(doubled.lastIndexOf(QLatin1Char('.')), QLatin1String("@2x"));
            QVERIFY2(QImage(doubled).size() == size * 2, qPrintable(path));
            ++images;
        }
        QVERIFY(images > 100);
        const QImage ring = LumetImage::Load(QStringLiteral(":/Lumet/Resources/new palette/hue_00.png"));
        QVERIFY(ring.devicePixelRatio() == 2.0 && ring.size() == QSize(292, 288));
        QCOMPARE(LumetImage::LoadPixmap(QStringLiteral(":/Lumet/Resources/s5_stop.png")).devicePixelRatio(), 2.0);
    }

    // What the window paints is the double image pixel for pixel, where the
    // plain one enlarged would differ: the palette's ring (loaded by the code)
    // and the window's background (named by the style sheet).
    void paintedFromTheDoubleImages()
    {
        struct Case
        {
            const char* image;
            QPoint at;     // where the window paints it, in points
            QRect detail;  // the part compared, in the image's points
        } cases[] = {{"new palette/hue_00", QPoint(181 + 476 + 25, 97 + 44 + 5), QRect(0, 0, 146, 144)},
                     {"Window/bg", QPoint(0, 0), QRect(18, 14, 64, 64)}}; // the emblem
        for (const Case& c : cases) {
            const QString base = QStringLiteral(":/Lumet/Resources/") + QLatin1String(c.image);
            const QImage doubled(base + QStringLiteral("@2x.png"));
            const QRect part(c.detail.topLeft() * 2, c.detail.size() * 2);
            const QPoint origin = (c.at + c.detail.topLeft()) * 2;
            const double fromDouble = Matching(shot, doubled.copy(part), origin);
            const double fromPlain = Matching(shot, QImage(base + QStringLiteral(".png")).scaled(doubled.size()).copy(part), origin);
            QVERIFY2(fromDouble > 0.9 && fromPlain < 0.75 * fromDouble,
                     qPrintable(QStringLiteral("%1: %2 %3").arg(QLatin1String(c.image)).arg(fromDouble).arg(fromPlain)));
        }
    }

    void cleanupTestCase() { window.reset(); }
};

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(lumet_resources);
    // As the panel's start-up sets them, before the application object.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiTest.moc"
