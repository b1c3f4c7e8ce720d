#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/LumetDeviceDotPushButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

namespace {

struct LedSpec
{
    std::string location;
    bool hasSetting = true;
};

// A group device whose LED i is keyed "led<i>", named "LED <i>" and has a
// setting in the scene with hue i / 10.
std::unique_ptr<DeviceMaster> MakeDevice(const std::vector<LedSpec>& leds, int scene = 0)
{
    auto device = std::make_unique<DeviceMaster>("Group");
    for (size_t i = 0; i < leds.size(); ++i) {
        auto led = std::make_unique<LedInfo>("led" + std::to_string(i), "LED " + std::to_string(i));
        led->SetLocation(leds[i].location);
        if (leds[i].hasSetting) {
            auto setting = std::make_unique<EffectSetting>();
            setting->scene = scene;
            setting->hue = static_cast<float>(i) / 10.0f;
            setting->saturation = 1.0f;
            setting->lightness = 0.5f;
            setting->color = 255;
            led->SetSetting(scene, std::move(setting));
        }
        device->AddLed(std::move(led));
    }
    return device;
}

std::unique_ptr<DeviceMaster> MakeDevice(int count, int scene = 0)
{
    return MakeDevice(std::vector<LedSpec>(static_cast<size_t>(count), LedSpec{"12"}), scene);
}

// What a status reload does to the group's LEDs: fresh settings, same LEDs.
void ReloadSettings(DeviceMaster& device, int scene = 0)
{
    for (LedInfo* led : device.GetLeds()) {
        led->ClearSettings();
        auto setting = std::make_unique<EffectSetting>();
        setting->scene = scene;
        led->SetSetting(scene, std::move(setting));
    }
}

std::vector<int> VisibleDotXs(const LumetDeviceDotButtonGroup& group)
{
    std::vector<int> xs;
    for (LumetDeviceDotPushButton* dot : group.GetDots()) {
        if (dot->isVisibleTo(&group))
            xs.push_back(dot->x());
    }
    return xs;
}

std::string SelectedKey(const LumetDeviceDotButtonGroup& group)
{
    return group.GetSelectedDot() ? group.GetSelectedDot()->GetLed()->GetKey() : std::string();
}

} // namespace

// The images are compiled into a static library: register them first.
static void InitResources()
{
    Q_INIT_RESOURCE(lumet_resources);
}

class TestDeviceDotButtonGroup : public QObject
{
    Q_OBJECT

    template <typename T>
    static T* Child(const QWidget& group, const char* name)
    {
        T* child = group.findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }

private slots:
    void initTestCase() { InitResources(); }
    void init() { LumetDeviceDotButtonGroup::ForgetRememberedSelection(); }

    void sevenLedsMakeTwoPages()
    {
        auto device = MakeDevice(7);
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        QSignalSpy pages(&group, &LumetDeviceDotButtonGroup::PageIndexChanged);
        group.LoadDevice(device.get());
        QCOMPARE(group.GetPageCount(), 2);
        QCOMPARE(group.GetPageIndex(), 0);
        QCOMPARE(pages.count(), 1);
        QCOMPARE(VisibleDotXs(group), std::vector<int>({19, 86, 153, 220, 287, 354}));
        auto* previous = Child<QPushButton>(group, "previousPageButton");
        auto* next = Child<QPushButton>(group, "nextPageButton");
        QVERIFY(!previous->isVisible());
        QVERIFY(next->isVisible());
        QCOMPARE(SelectedKey(group), std::string("led0"));
        QVERIFY(group.GetSelectedDot()->isChecked());

        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(group.GetPageIndex(), 1);
        QCOMPARE(pages.last().at(0).toInt(), 1);
        QCOMPARE(VisibleDotXs(group), std::vector<int>({19}));
        QVERIFY(previous->isVisible());
        QVERIFY(!next->isVisible());
        QCOMPARE(SelectedKey(group), std::string("led6"));

        QTest::mouseClick(previous, Qt::LeftButton);
        QCOMPARE(group.GetPageIndex(), 0);
        QCOMPARE(SelectedKey(group), std::string("led0"));
    }

    void sixLedsMakeOnePage()
    {
        auto device = MakeDevice(6);
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        group.LoadDevice(device.get());
        QCOMPARE(group.GetPageCount(), 1);
        QCOMPARE(VisibleDotXs(group).size(), size_t(6));
        QVERIFY(!Child<QPushButton>(group, "previousPageButton")->isVisible());
        QVERIFY(!Child<QPushButton>(group, "nextPageButton")->isVisible());
    }

    void noLedsMeansNoTarget()
    {
        auto seven = MakeDevice(7);
        auto none = MakeDevice(0);
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        group.LoadDevice(seven.get());
        QSignalSpy pages(&group, &LumetDeviceDotButtonGroup::PageIndexChanged);
        QSignalSpy span(&group, &LumetDeviceDotButtonGroup::ColorSpanButtonClicked);
        group.LoadDevice(none.get());
        QCOMPARE(pages.count(), 0);
        QCOMPARE(group.GetPageCount(), -1);
        QCOMPARE(group.GetPageIndex(), -1);
        QVERIFY(group.GetDots().empty());
        // The dot picked before went with the dots.
        QVERIFY(!group.GetSelectedDot());
        QVERIFY(!Child<QPushButton>(group, "nextPageButton")->isVisible());
        // Every read is neutral and every slot does nothing.
        float h = 9, s = 9, l = 9;
        group.GetSelectedColor(h, s, l);
        QCOMPARE(h + s + l, 0.0f);
        int x = 9, y = 9;
        group.GetSelectedPosition(x, y);
        QCOMPARE(x, -1);
        QCOMPARE(y, -1);
        group.OnPaletteColorChanged(0.5f, 0.5f, 0.5f, 10, 10);
        QTest::mouseClick(Child<QPushButton>(group, "colorSpanButton"), Qt::LeftButton);
        QCOMPARE(span.count(), 0);
        // A null device is a device without LEDs.
        group.LoadDevice(nullptr);
        QVERIFY(group.GetDots().empty());
        QCOMPARE(seven->GetLeds()[0]->GetPosition(), LedInfo::Point());
    }

    void otherPowerStatesSkipTheStrips()
    {
        auto device = MakeDevice({{"5"}, {"6"}, {"7"}, {"8"}, {"16"}}, 1);
        LumetDeviceDotButtonGroup group(nullptr, 2);
        QCOMPARE(group.GetScene(), 1);
        group.LoadDevice(device.get());
        std::vector<std::string> locations;
        for (LumetDeviceDotPushButton* dot : group.GetDots())
            locations.push_back(dot->GetLed()->GetLocation());
        QCOMPARE(locations, std::vector<std::string>({"5", "8", "16"}));
        // The running system shows the strips (and reads scene 0).
        auto running = MakeDevice({{"5"}, {"6"}, {"7"}}, 0);
        LumetDeviceDotButtonGroup runningGroup(nullptr, 1);
        runningGroup.LoadDevice(running.get());
        QCOMPARE(runningGroup.GetDots().size(), size_t(3));
    }

    void ledsWithoutASettingGetNoDot()
    {
        auto device = MakeDevice({{"1"}, {"2", false}, {"3"}});
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.LoadDevice(device.get());
        QCOMPARE(group.GetDots().size(), size_t(2));
        QCOMPARE(group.GetDots()[1]->GetLed()->GetKey(), std::string("led2"));
        // A setting that goes away under a loaded group is not written to.
        device->GetLeds()[0]->ClearSettings();
        group.OnPaletteColorChanged(0.5f, 0.5f, 0.5f, 60, 70);
        float h = 9, s = 9, l = 9;
        group.GetSelectedColor(h, s, l);
        QCOMPARE(h + s + l, 0.0f);
        QTest::mouseClick(Child<QPushButton>(group, "colorSpanButton"), Qt::LeftButton);
        QCOMPARE(device->GetLeds()[2]->GetSetting(0)->hue, 0.2f);
    }

    void pickedLedSurvivesApplyOnPageTwo()
    {
        auto device = MakeDevice(8);
        {
            LumetDeviceDotButtonGroup before(nullptr, 1);
            before.show();
            before.LoadDevice(device.get());
            QTest::mouseClick(Child<QPushButton>(before, "nextPageButton"), Qt::LeftButton);
            QSignalSpy changed(&before, &LumetDeviceDotButtonGroup::DeviceButtonChanged);
            QTest::mouseClick(before.GetDots()[7], Qt::LeftButton);
            QCOMPARE(changed.count(), 1);
            QCOMPARE(SelectedKey(before), std::string("led7"));
        }
        // APPLY reloads the status and the view builds a new group.
        ReloadSettings(*device);
        LumetDeviceDotButtonGroup after(nullptr, 1);
        after.show();
        QSignalSpy pages(&after, &LumetDeviceDotButtonGroup::PageIndexChanged);
        after.LoadDevice(device.get());
        QCOMPARE(after.GetPageIndex(), 1);
        QCOMPARE(pages.last().at(0).toInt(), 1);
        QCOMPARE(SelectedKey(after), std::string("led7"));
        QVERIFY(after.GetSelectedDot()->isChecked());
        QVERIFY(!after.GetDots()[6]->isChecked());

        // An LED that is gone: the first LED stands in and is remembered.
        auto other = MakeDevice(3);
        after.LoadDevice(other.get());
        QCOMPARE(after.GetPageIndex(), 0);
        QCOMPARE(SelectedKey(after), std::string("led0"));
        after.LoadDevice(device.get());
        QCOMPARE(SelectedKey(after), std::string("led0"));
    }

    void pickedLedWithoutALocationIsFoundAgain()
    {
        // Capability documents may leave a location empty; the LED is still
        // the one the user picked.
        auto device = MakeDevice({{"1"}, {""}, {"3"}});
        {
            LumetDeviceDotButtonGroup before(nullptr, 1);
            before.show();
            before.LoadDevice(device.get());
            QTest::mouseClick(before.GetDots()[1], Qt::LeftButton);
        }
        LumetDeviceDotButtonGroup after(nullptr, 1);
        after.LoadDevice(device.get());
        QCOMPARE(SelectedKey(after), std::string("led1"));
    }

    void paletteColourGoesIntoThePickedLed()
    {
        auto device = MakeDevice(3);
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        group.LoadDevice(device.get());
        QTest::mouseClick(group.GetDots()[1], Qt::LeftButton);
        group.OnPaletteColorChanged(1.0f / 3.0f, 1.0f, 0.5f, 50, 89);
        LedInfo* led = device->GetLeds()[1];
        const EffectSetting* setting = led->GetSetting(0);
        QCOMPARE(setting->hue, 1.0f / 3.0f);
        QCOMPARE(setting->saturation, 1.0f);
        QCOMPARE(setting->lightness, 0.5f);
        // The packed colour follows, so a profile never sends the old one.
        QCOMPARE(setting->color, 65280);
        QCOMPARE(led->GetPosition(), (LedInfo::Point{50, 89}));
        QCOMPARE(led->GetSavedPosition(), (LedInfo::Point{50, 89}));
        QCOMPARE(group.GetDots()[1]->GetDotHue(), 1.0f / 3.0f);
        // The other LEDs keep theirs.
        QCOMPARE(device->GetLeds()[0]->GetSetting(0)->color, 255);
        QCOMPARE(device->GetLeds()[0]->GetPosition(), LedInfo::Point());

        float h, s, l;
        group.GetSelectedColor(h, s, l);
        QCOMPARE(h, 1.0f / 3.0f);
        int x, y;
        group.GetSelectedPosition(x, y);
        QCOMPARE(QPoint(x, y), QPoint(50, 89));
        // UNDO puts the LED back where it was saved; the group reads that.
        group.OnPaletteColorChanged(0.5f, 1.0f, 0.5f, 70, 60);
        led->RestorePosition();
        group.GetSelectedPosition(x, y);
        QCOMPARE(QPoint(x, y), QPoint(50, 89));
    }

    void loadingChangesNothingInTheModel()
    {
        auto device = MakeDevice(2);
        device->GetLeds()[1]->GetSetting(0)->color = 123456; // disagrees with its h, s, l
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.LoadDevice(device.get());
        QCOMPARE(device->GetLeds()[1]->GetSetting(0)->color, 123456);
        QCOMPARE(group.GetDots()[1]->GetDotHue(), 0.1f);
        int x, y;
        group.GetSelectedPosition(x, y);
        QCOMPARE(QPoint(x, y), QPoint(-1, -1));
        QCOMPARE(device->GetLeds()[0]->GetSavedPosition(), LedInfo::Point());
    }

    void colourSpan()
    {
        // One LED: nothing to copy to, only the signal.
        auto single = MakeDevice(1);
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        group.LoadDevice(single.get());
        QSignalSpy span(&group, &LumetDeviceDotButtonGroup::ColorSpanButtonClicked);
        QSignalSpy picked(&group, &LumetDeviceDotButtonGroup::DeviceButtonChanged);
        QSignalSpy pages(&group, &LumetDeviceDotButtonGroup::PageIndexChanged);
        auto* spanButton = Child<QPushButton>(group, "colorSpanButton");
        QTest::mouseClick(spanButton, Qt::LeftButton);
        QCOMPARE(span.count(), 1);
        QCOMPARE(picked.count(), 0);
        QCOMPARE(pages.count(), 0);
        QCOMPARE(single->GetLeds()[0]->GetSetting(0)->hue, 0.0f);

        // Several LEDs on two pages: all take the picked colour and position.
        auto device = MakeDevice(8);
        group.LoadDevice(device.get());
        group.OnPaletteColorChanged(2.0f / 3.0f, 1.0f, 0.5f, 40, 80);
        QTest::mouseClick(spanButton, Qt::LeftButton);
        QCOMPARE(span.count(), 2);
        for (LedInfo* led : device->GetLeds()) {
            QCOMPARE(led->GetSetting(0)->hue, 2.0f / 3.0f);
            QCOMPARE(led->GetSetting(0)->color, 16711680);
            QCOMPARE(led->GetPosition(), (LedInfo::Point{40, 80}));
        }
        for (LumetDeviceDotPushButton* dot : group.GetDots())
            QCOMPARE(dot->GetDotHue(), 2.0f / 3.0f);
    }

    void radioButtonsAndReverse()
    {
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        QSignalSpy gradient(&group, &LumetDeviceDotButtonGroup::RadioButtonChecked);
        QSignalSpy reverse(&group, &LumetDeviceDotButtonGroup::ReverseCheckBoxChecked);
        QVERIFY(!group.IsSecondRadioChecked());
        QTest::mouseClick(Child<QRadioButton>(group, "secondRadio"), Qt::LeftButton);
        QCOMPARE(gradient.count(), 1); // the first one's unchecking says nothing
        QCOMPARE(gradient.last().at(0).toInt(), 1);
        QVERIFY(group.IsSecondRadioChecked());

        auto device = MakeDevice(0);
        device->SetGroupSetting(std::make_unique<EffectSetting>());
        group.SetGradientFromSetting(device.get()); // colorType 0: the first
        QCOMPARE(gradient.last().at(0).toInt(), 0);
        QVERIFY(!group.IsSecondRadioChecked());
        device->GetGroupSetting()->colorType = 1;
        group.SetGradientFromSetting(device.get());
        QVERIFY(group.IsSecondRadioChecked());
        QCOMPARE(group.GetDevice(), device.get());
        group.SetGradientFromSetting(nullptr);
        QVERIFY(!group.IsSecondRadioChecked());

        device->GetGroupSetting()->endToStart = true;
        group.SetReverseFromSetting(device.get());
        QCOMPARE(reverse.count(), 1);
        QCOMPARE(reverse.last().at(0).toInt(), 1);
        group.SetReverseFromSetting(device.get());
        QCOMPARE(reverse.count(), 1);
        device->GetGroupSetting()->endToStart = false;
        group.SetReverseFromSetting(device.get());
        QCOMPARE(reverse.last().at(0).toInt(), 0);
    }

    void placementAndConfiguration()
    {
        LumetDeviceDotButtonGroup group(nullptr, 1);
        group.show();
        QCOMPARE(group.geometry(), QRect(209, 224, 428, 178));
        auto* area = Child<QGroupBox>(group, "ledArea");
        auto* span = Child<QPushButton>(group, "colorSpanButton");
        auto* mask = Child<QLabel>(group, "ledAreaMask");
        auto* reverse = Child<QCheckBox>(group, "reverseCheckBox");
        QCOMPARE(area->geometry(), QRect(8, 58, 420, 90));
        QCOMPARE(span->geometry(), QRect(8, 158, 34, 20));

        // The static view's configuration.
        group.SetRadioButtonsVisible(false);
        group.SetColorSpanVisible(true);
        group.SetLedAreaHidden(false);
        QCOMPARE(area->pos(), QPoint(8, 28));
        QCOMPARE(span->pos(), QPoint(8, 128));
        QVERIFY(!Child<QRadioButton>(group, "firstRadio")->isVisible());
        QVERIFY(span->isVisible());
        QVERIFY(!reverse->isVisible()); // never over the LEDs
        group.SetDotsEnabled(false);
        QVERIFY(mask->isVisible());
        QCOMPARE(mask->geometry(), area->geometry());
        group.SetDotsEnabled(true);
        QVERIFY(!mask->isVisible());

        // The rainbow view's: no LED area, so the span setting is ignored.
        group.SetRadioButtonsVisible(true);
        group.SetLedAreaHidden(true);
        group.SetColorSpanVisible(true);
        QCOMPARE(area->pos(), QPoint(8, 58));
        QVERIFY(!area->isVisible());
        QVERIFY(!span->isVisible());
        group.SetLedAreaHidden(false);
        QVERIFY(area->isVisible());
        QCOMPARE(span->pos(), QPoint(8, 158));
        QVERIFY(span->isVisible());
        // A hidden span button comes back where the rule puts it.
        group.SetColorSpanVisible(false);
        group.SetRadioButtonsVisible(false);
        group.SetColorSpanVisible(true);
        QCOMPARE(span->pos(), QPoint(8, 128));

        group.SetFirstRadioText("Plain");
        group.SetColorSpanToolTip("Across all devices");
        QCOMPARE(Child<QRadioButton>(group, "firstRadio")->text(), QStringLiteral("Plain"));
        QCOMPARE(span->toolTip(), QStringLiteral("Across all devices"));
    }

    void iconByLocation()
    {
        const auto icon = [](const char* location) {
            return LumetDeviceDotPushButton::StyleSheetFor(location);
        };
        QVERIFY(icon("0").contains("icon/cpu_n.png"));
        QVERIFY(icon("2").contains("icon/center_d.png"));
        QVERIFY(icon("7").contains("icon/led_strip_o.png"));
        QVERIFY(icon("10").contains("icon/memory_un.png"));
        QVERIFY(icon("14").contains("icon/dimm.2_n.png"));
        QVERIFY(icon("1004").contains("icon/dram_n.png"));
        QVERIFY(icon("1006").contains("icon/mic_n.png"));
        QVERIFY(icon("16").contains("icon/header_n.png"));
        QVERIFY(icon(" 0").contains("icon/header_n.png"));
        QVERIFY(icon("").contains("icon/header_n.png"));
    }

    void twoLineNames()
    {
        LedInfo led("dimm1", "Pellix\nDram");
        led.SetLocation("1004");
        LumetDeviceDotPushButton button(nullptr, &led);
        QCOMPARE(button.text(), QStringLiteral("Pellix\nDram"));
        QCOMPARE(button.size(), QSize(48, 90));
        QVERIFY(button.isCheckable());
        QVERIFY(button.autoExclusive());
        const QImage face = button.grab().toImage();
        QVERIFY(!face.isNull());
    }
};

QTEST_MAIN(TestDeviceDotButtonGroup)
#include "TestDeviceDotButtonGroup.moc"
