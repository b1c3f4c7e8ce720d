#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "ui/controls/LumetColorDotLabel.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/LumetDeviceDotPushButton.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// LED i is keyed "led<i>" at the location given ("12" when none is) and,
// unless that is "-", has a setting in the scene with hue i / 10 and colour 255.
std::unique_ptr<DeviceMaster> MakeDevice(int count, std::vector<std::string> locations = {}, int scene = 0)
{
    locations.resize(static_cast<size_t>(count), "12");
    auto device = std::make_unique<DeviceMaster>("Group");
    for (size_t i = 0; i < locations.size(); ++i) {
        auto led = std::make_unique<LedInfo>("led" + std::to_string(i), "LED");
        led->SetLocation(locations[i]);
        auto setting = std::make_unique<EffectSetting>();
        setting->scene = scene;
        setting->hue = static_cast<float>(i) / 10.0f;
        setting->color = 255;
        if (locations[i] != "-")
            led->SetSetting(scene, std::move(setting));
        device->AddLed(std::move(led));
    }
    return device;
}

std::string SelectedKey(const LumetDeviceDotButtonGroup& group)
{
    return group.GetSelectedDot() ? group.GetSelectedDot()->GetLed()->GetKey() : std::string("none");
}

QWidget* Child(const QWidget& group, const char* name)
{
    return group.findChild<QWidget*>(QLatin1String(name));
}

int ShownDots(const LumetDeviceDotButtonGroup& group)
{
    const auto dots = group.GetDots();
    return int(std::count_if(dots.begin(), dots.end(), [](const QWidget* dot) { return dot->isVisible(); }));
}

} // namespace

class TestDeviceDotButtonGroup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(lumet_resources); }
    void init() { LumetDeviceDotButtonGroup::ForgetRememberedSelection(); }

    void paging_data()
    {
        QTest::addColumn<int>("leds");
        QTest::addColumn<int>("pages");
        QTest::newRow("seven") << 7 << 2;
        QTest::newRow("six") << 6 << 1;
        QTest::newRow("none") << 0 << -1;
    }

    // Each load replaces the LEDs of the one before, and the LED picked is
    // remembered across groups.
    void paging()
    {
        QFETCH(int, leds);
        QFETCH(int, pages);
        auto before = MakeDevice(7);
        auto device = MakeDevice(leds, {"1", "2", "3", "4", "5", "6", ""});
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        group.LoadDevice(before.get());
        group.LoadDevice(device.get());
        QVERIFY(group.GetPageCount() == pages && ShownDots(group) == qMin(leds, 6));
        QCOMPARE(Child(group, "nextPageButton")->isVisible(), pages == 2);
        QCOMPARE(SelectedKey(group), leds ? "led0" : "none");
        if (pages == 2) {
            QTest::mouseClick(Child(group, "nextPageButton"), Qt::LeftButton);
            QVERIFY(group.GetPageIndex() == 1 && ShownDots(group) == 1 && Child(group, "previousPageButton")->isVisible());
            QCOMPARE(SelectedKey(group), "led6");
            // APPLY reloads the status and the view builds a new group: the LED
            // picked is picked again on its page, though it has no location.
            for (LedInfo* led : device->GetLeds()) {
                led->ClearSettings();
                led->SetSetting(0, std::make_unique<EffectSetting>());
            }
            LumetDeviceDotButtonGroup after(nullptr, 1);
            after.LoadDevice(device.get());
            QCOMPARE(SelectedKey(after), "led6");
            QVERIFY(after.GetPageIndex() == 1 && after.GetSelectedDot()->isChecked());
        }
        if (leds)
            return;
        // The picked dot went with the dots: every read is neutral, every slot does nothing.
        float h = 9, s = 9, l = 9;
        group.GetSelectedColor(h, s, l);
        int x = 9, y = 9;
        group.GetSelectedPosition(x, y);
        QCOMPARE(QVector<float>({h, s, l, float(x), float(y)}), QVector<float>({0, 0, 0, -1, -1}));
        QSignalSpy span(&group, &LumetDeviceDotButtonGroup::ColorSpanButtonClicked);
        group.OnPaletteColorChanged(0.5f, 0.5f, 0.5f, 10, 10);
        QTest::mouseClick(Child(group, "colorSpanButton"), Qt::LeftButton);
        QCOMPARE(span.count(), 0);
        QCOMPARE(before->GetLeds()[0]->GetPosition(), LedInfo::Point());
    }

    void dotsFollowSceneAndSettings()
    {
        // Power state 2 reads scene 1 and shows no strips ("6" and "7").
        auto device = MakeDevice(4, {"5", "6", "7", "8"}, 1);
        LumetDeviceDotButtonGroup sleeping(nullptr, 2);
        sleeping.LoadDevice(device.get());
        QCOMPARE(sleeping.GetDots().size(), size_t(2));
        QCOMPARE(sleeping.GetDots()[1]->GetLed()->GetLocation(), "8");
        // An LED without a setting gets no dot; one whose setting goes away
        // under a loaded group is not written to.
        auto partial = MakeDevice(3, {"6", "-", "7"});
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.LoadDevice(partial.get());
        QCOMPARE(group.GetDots().size(), size_t(2));
        partial->GetLeds()[0]->ClearSettings();
        group.OnPaletteColorChanged(0.5f, 0.5f, 0.5f, 60, 70);
        QTest::mouseClick(Child(group, "colorSpanButton"), Qt::LeftButton);
        QCOMPARE(partial->GetLeds()[2]->GetSetting(0)->hue, 0.2f);
    }

    void colourGoesIntoThePickedLedAndSpans()
    {
        auto device = MakeDevice(8);
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        group.LoadDevice(device.get());
        QTest::mouseClick(group.GetDots()[1], Qt::LeftButton);
        group.OnPaletteColorChanged(1.0f / 3.0f, 1.0f, 0.5f, 50, 89);
        LedInfo* led = device->GetLeds()[1];
        QCOMPARE(led->GetSetting(0)->hue, 1.0f / 3.0f);
        QCOMPARE(led->GetSetting(0)->color, 65280); // never a stale colour beside new values
        QVERIFY(led->GetPosition() == (LedInfo::Point{50, 89}) && device->GetLeds()[2]->GetSetting(0)->color == 255);
        // The span copies the picked colour and position to the LEDs of every page.
        QTest::mouseClick(Child(group, "colorSpanButton"), Qt::LeftButton);
        QVERIFY(device->GetLeds()[7]->GetSetting(0)->color == 65280 && device->GetLeds()[7]->GetPosition() == (LedInfo::Point{50, 89}));
        // With one LED there is nothing to copy to: only the signal.
        auto single = MakeDevice(1);
        group.LoadDevice(single.get());
        QSignalSpy span(&group, &LumetDeviceDotButtonGroup::ColorSpanButtonClicked);
        QSignalSpy picked(&group, &LumetDeviceDotButtonGroup::DeviceButtonChanged);
        QTest::mouseClick(Child(group, "colorSpanButton"), Qt::LeftButton);
        QVERIFY(span.count() == 1 && picked.count() == 0 && single->GetLeds()[0]->GetSetting(0)->color == 255);
    }

    void radioButtonsAndReverse()
    {
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        QSignalSpy gradient(&group, &LumetDeviceDotButtonGroup::RadioButtonChecked);
        QSignalSpy reverse(&group, &LumetDeviceDotButtonGroup::ReverseCheckBoxChecked);
        QTest::mouseClick(Child(group, "secondRadio"), Qt::LeftButton);
        QCOMPARE(gradient.count(), 1); // the first one's unchecking says nothing
        auto device = MakeDevice(0);
        device->SetGroupSetting(std::make_unique<EffectSetting>());
        device->GetGroupSetting()->endToStart = true;
        group.SetGradientFromSetting(device.get()); // colorType 0: the first
        group.SetReverseFromSetting(device.get());
        group.SetReverseFromSetting(device.get()); // no change, no signal
        QCOMPARE(gradient.last().at(0).toInt(), 0);
        QVERIFY(reverse.count() == 1 && reverse.last().at(0).toInt() == 1);
    }

    // Every pixel of a dot's colour takes the hue and keeps its lightness and alpha.
    void colourDotKeepsLightnessAndAlpha()
    {
        const QImage source = QImage(":/Lumet/Resources/color_area/color_preview.png").convertToFormat(QImage::Format_ARGB32);
        const QImage green = LumetColorDotLabel::previewPixmap(1.0f / 3.0f).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(green.size(), source.size());
        int lit = 0;
        for (int i = 0; i < source.width() * source.height(); ++i) {
            const QColor before = source.pixelColor(i % source.width(), i / source.width());
            const QColor after = green.pixelColor(i % source.width(), i / source.width());
            QCOMPARE(after.alpha(), before.alpha());
            lit += before.alpha() != 0;
            QVERIFY(before.alpha() == 0 || (qAbs(after.lightnessF() - before.lightnessF()) <= 1.5 / 255 &&
                                            qAbs(after.hslHueF() - 1.0 / 3.0) < 0.01 && after.hslSaturationF() > 0.95));
        }
        QVERIFY(lit > 10 && lit < source.width() * source.height());
    }
};

QTEST_MAIN(TestDeviceDotButtonGroup)
#include "TestDeviceDotButtonGroup.moc"
