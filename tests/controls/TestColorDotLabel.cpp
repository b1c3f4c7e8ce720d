#include "ui/controls/LumetColorDotLabel.h"

#include <QtTest>

// The images are compiled into a static library: register them first.
static void InitResources()
{
    Q_INIT_RESOURCE(lumet_resources);
}

class TestColorDotLabel : public QObject
{
    Q_OBJECT

    QImage source;

private slots:
    void initTestCase()
    {
        InitResources();
        source = QImage(QStringLiteral(":/Lumet/Resources/color_area/color_preview.png"))
                     .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!source.isNull());
    }

    void tintKeepsLightnessAndAlpha()
    {
        const QImage green = LumetColorDotLabel::previewPixmap(1.0f / 3.0f).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(green.size(), source.size());
        int lit = 0;
        bool sawTransparent = false;
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const QColor before = QColor::fromRgba(source.pixel(x, y));
                const QColor after = QColor::fromRgba(green.pixel(x, y));
                QCOMPARE(after.alpha(), before.alpha());
                if (before.alpha() == 0) {
                    sawTransparent = true;
                    continue;
                }
                QVERIFY(qAbs(after.lightnessF() - before.lightnessF()) <= 1.5 / 255);
                QVERIFY(qAbs(after.hslHueF() - 1.0 / 3.0) < 0.01);
                QVERIFY(after.hslSaturationF() > 0.95);
                ++lit;
            }
        }
        QVERIFY(lit > 10);
        QVERIFY(sawTransparent);
    }

    void hueZeroAndOneAgree()
    {
        QCOMPARE(LumetColorDotLabel::previewPixmap(0.0f).toImage(), LumetColorDotLabel::previewPixmap(1.0f).toImage());
        QCOMPARE(LumetColorDotLabel::previewPixmap(0.25f).toImage(), LumetColorDotLabel::previewPixmap(1.25f).toImage());
    }

    void paintsThePreview()
    {
        LumetColorDotLabel label;
        label.setGeometry(0, 0, 6, 6);
        label.setHue(2.0f / 3.0f);
        QCOMPARE(label.hue(), 2.0f / 3.0f);
        const QImage shown = label.grab().toImage();
        const QColor centre = shown.pixelColor(2, 2);
        QVERIFY(qAbs(centre.hslHueF() - 2.0 / 3.0) < 0.01);
    }
};

QTEST_MAIN(TestColorDotLabel)
#include "TestColorDotLabel.moc"
