// The effect views with controls: the profile each one builds for a parsed
// model, and the road of a user change from palette, slider, radio button or
// music button into the model and out as ViewStateChanged.
#include "tests/effectviews/EffectViewFixture.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/LumetDeviceDotPushButton.h"
#include "ui/controls/LumetSpeedSlider.h"
#include "ui/controls/NewLedPalette.h"
#include "ui/views/LumetCometView.h"
#include "ui/views/LumetMusicView.h"
#include "ui/views/LumetRainbowView.h"
#include "ui/views/LumetStaticView.h"
#include "ui/views/LumetStrobingView.h"
#include "ui/views/LumetTemperatureView.h"
#include "ui/views/LumetViewFactory.h"
#include "ui/views/LumetWaveView.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <tinyxml2.h>

#include <memory>
#include <optional>

namespace {

using EffectViewFixture::Group;
using EffectViewFixture::StatusWith;

// Set LUMET_WRITE_GOLDEN=1 to rewrite the golden files from the printer.
void CompareGolden(const std::string& profile, const QString& name)
{
    const QString path = QStringLiteral(LUMET_TEST_DATA "/effectviews/") + name;
    if (qEnvironmentVariableIsSet("LUMET_WRITE_GOLDEN")) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(QByteArray::fromStdString(profile));
    }
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QCOMPARE(QByteArray::fromStdString(profile), file.readAll());
}

// The profile parsed, for questions about single values.
class Profile
{
public:
    explicit Profile(const std::string& text)
    {
        document.Parse(text.c_str());
        const tinyxml2::XMLElement* root = document.FirstChildElement("root");
        const tinyxml2::XMLElement* device = root ? root->FirstChildElement("device") : nullptr;
        const tinyxml2::XMLElement* scene = device ? device->FirstChildElement("scene") : nullptr;
        mode = scene ? scene->FirstChildElement("mode") : nullptr;
    }

    bool IsValid() const { return mode != nullptr; }
    std::string ModeKey() const { return mode && mode->Attribute("key") ? mode->Attribute("key") : "?"; }

    // The text of a child of mode; none when it is absent.
    std::optional<std::string> Mode(const char* name) const
    {
        const tinyxml2::XMLElement* e = mode ? mode->FirstChildElement(name) : nullptr;
        if (!e)
            return std::nullopt;
        return std::string(e->GetText() ? e->GetText() : "");
    }

    std::string Led(const char* key, const char* name) const
    {
        for (const tinyxml2::XMLElement* led = mode ? mode->FirstChildElement("led") : nullptr; led;
             led = led->NextSiblingElement("led")) {
            if (led->Attribute("key", key)) {
                const tinyxml2::XMLElement* e = led->FirstChildElement(name);
                return e && e->GetText() ? e->GetText() : "<none>";
            }
        }
        return "<no led>";
    }

    int LedCount() const
    {
        int count = 0;
        for (const tinyxml2::XMLElement* led = mode ? mode->FirstChildElement("led") : nullptr; led;
             led = led->NextSiblingElement("led"))
            ++count;
        return count;
    }

    // The keys of the order elements, in document order.
    QStringList OrderKeys() const
    {
        QStringList keys;
        const tinyxml2::XMLElement* path = mode ? mode->FirstChildElement("effect_path_order") : nullptr;
        for (const tinyxml2::XMLElement* o = path ? path->FirstChildElement("order") : nullptr; o;
             o = o->NextSiblingElement("order"))
            keys << QString::fromLatin1(o->Attribute("key")) + QLatin1Char('=') + QString::fromLatin1(o->GetText());
        return keys;
    }

private:
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLElement* mode = nullptr;
};

const EffectSetting& S0(const DeviceMaster& group, const char* key)
{
    static const EffectSetting none;
    const LedInfo* led = group.FindLed(key);
    const EffectSetting* setting = led ? led->GetSetting(0) : nullptr;
    return setting ? *setting : none;
}

template<class T>
T* Child(const QObject* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

LumetDeviceDotPushButton* DotOf(const LumetDeviceDotButtonGroup* group, const char* ledKey)
{
    for (LumetDeviceDotPushButton* dot : group->GetDots()) {
        if (dot->GetLed()->GetKey() == ledKey)
            return dot;
    }
    return nullptr;
}

} // namespace

class EffectViewsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(lumet_resources);
    }

    void init()
    {
        page = std::make_unique<QWidget>();
        page->resize(860, 700);
        LumetDeviceDotButtonGroup::ForgetRememberedSelection();
    }

    void cleanup()
    {
        page.reset();
        group.reset();
    }

    void goldenProfiles_data();
    void goldenProfiles();
    void staticAndBreathingDifferInTheModeKeyOnly();
    void strobingSpeedFromSliderToProfile();
    void waveSpeedAndLedSpeeds();
    void rainbowRangeReverseAndCycle();
    void rainbowLoadsPlainAsCycle();
    void cometPlainAndGradient();
    void musicButtons();
    void temperatureSpeed();
    void pickingAnLedIsNoChangeButThePaletteIs_data();
    void pickingAnLedIsNoChangeButThePaletteIs();
    void viewsWithoutSettingsOrLeds_data();
    void viewsWithoutSettingsOrLeds();

private:
    LumetBaseView* Create(int effectId, DeviceMaster* device, DeviceAlignment alignment = -1)
    {
        return LumetViewFactory::GetInstance()->CreateView(page.get(), device, alignment, 1, effectId);
    }

    template<class View>
    View* Show(int effectId, const std::string& status = EffectViewFixture::Document("status.xml"))
    {
        group = Group(status);
        auto* view = qobject_cast<View*>(Create(effectId, group.get()));
        if (view)
            view->ShowView(false);
        return view;
    }

    std::unique_ptr<QWidget> page;
    std::unique_ptr<DeviceMaster> group;
};

void EffectViewsTest::goldenProfiles_data()
{
    QTest::addColumn<int>("effectId");
    QTest::addColumn<QString>("viewClass");
    QTest::newRow("static 1") << 1 << "LumetStaticView";
    QTest::newRow("breathing 2") << 2 << "LumetBreathingView";
    QTest::newRow("strobing 3") << 3 << "LumetStrobingView";
    QTest::newRow("strobing 17") << 17 << "LumetStrobingView";
    QTest::newRow("rainbow 5") << 5 << "LumetRainbowView";
    QTest::newRow("comet 8") << 8 << "LumetCometView";
    QTest::newRow("comet 10") << 10 << "LumetCometView";
    QTest::newRow("wave 11") << 11 << "LumetWaveView";
    QTest::newRow("wave 12") << 12 << "LumetWaveView";
    QTest::newRow("wave 13") << 13 << "LumetWaveView";
    QTest::newRow("temperature 18") << 18 << "LumetTemperatureView";
    QTest::newRow("music 19") << 19 << "LumetMusicView";
}

// Each view, loaded from the fixture and left alone, sends exactly this.
void EffectViewsTest::goldenProfiles()
{
    QFETCH(int, effectId);
    QFETCH(QString, viewClass);
    group = Group();
    LumetBaseView* view = Create(effectId, group.get());
    QCOMPARE(QString::fromLatin1(view->metaObject()->className()), viewClass);
    QCOMPARE(view->GetEffectId(), effectId);
    QCOMPARE(view->geometry(), QRect(181, 97, 679, 604));
    view->ShowView(false);
    QVERIFY(!view->isHidden());
    CompareGolden(view->GetXmlProfile(), QStringLiteral("effect_%1.xml").arg(effectId));
}

void EffectViewsTest::staticAndBreathingDifferInTheModeKeyOnly()
{
    group = Group();
    LumetBaseView* staticView = Create(1, group.get());
    LumetBaseView* breathing = Create(2, group.get());
    staticView->ShowView(false);
    breathing->ShowView(false);
    std::string expected = staticView->GetXmlProfile();
    const std::string key = "<mode key=\"1\">";
    QVERIFY(expected.find(key) != std::string::npos);
    expected.replace(expected.find(key), key.size(), "<mode key=\"2\">");
    QCOMPARE(breathing->GetXmlProfile(), expected);
}

void EffectViewsTest::strobingSpeedFromSliderToProfile()
{
    group = Group(StatusWith("<effect_speed>1<", "<effect_speed>2<"));
    LumetBaseView* view = Create(3, group.get());
    QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
    view->ShowView(false);
    // The rebuilt slider starts in the middle; moving it to the loaded speed
    // reports back once.
    QCOMPARE(changes.count(), 1);

    LabeledLumetSpeedSlider* speed = static_cast<LumetStrobingView*>(view)->GetSpeedSlider();
    QCOMPARE(speed->value(), 2);
    QCOMPARE(speed->slider()->sliderPosition(), speed->slider()->minimum());
    QCOMPARE(speed->geometry(), QRect(13, 198, 336, 58));
    QCOMPARE(static_cast<LumetStrobingView*>(view)->GetPalette()->mode(), 2);

    // The user drags it to the right end ("Fast").
    speed->slider()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(group->GetGroupSetting()->effectSpeed, -2);
    const Profile profile(view->GetXmlProfile());
    QCOMPARE(profile.Mode("effect_speed"), std::optional<std::string>("-2"));
    QCOMPARE(profile.Mode("color_type"), std::optional<std::string>("Plain"));
    // Keys in byte order, whatever their positions.
    QCOMPARE(profile.OrderKeys(), QStringList({"DIMM_A1=0", "DIMM_B1=1", "MB_IO=2"}));

    // An empty path order still writes the element.
    group->GetGroupSetting()->pathOrder.clear();
    const std::string empty = view->GetXmlProfile();
    QVERIFY(empty.find("<effect_path_order></effect_path_order>") != std::string::npos);
}

void EffectViewsTest::waveSpeedAndLedSpeeds()
{
    group = Group();
    auto* marquee = static_cast<LumetWaveView*>(Create(13, group.get()));
    auto* wave = static_cast<LumetWaveView*>(Create(11, group.get()));
    auto* colorWave = static_cast<LumetWaveView*>(Create(12, group.get()));
    QVERIFY(marquee->GetSpeedSlider()->isHidden());
    QVERIFY(!wave->GetSpeedSlider()->isHidden());
    QVERIFY(!colorWave->GetSpeedSlider()->isHidden());
    // Outside the synchronized page effect 13 keeps its slider.
    QVERIFY(!static_cast<LumetWaveView*>(Create(13, group.get(), 0))->GetSpeedSlider()->isHidden());

    marquee->ShowView(false);
    wave->ShowView(false);
    const Profile p13(marquee->GetXmlProfile());
    QCOMPARE(p13.Mode("color_type"), std::optional<std::string>("Plain"));
    QCOMPARE(p13.Mode("effect_speed"), std::nullopt);
    QCOMPARE(p13.Led("DIMM_A1", "speed"), std::string("2"));
    QCOMPARE(p13.Led("DIMM_B1", "speed"), std::string("-1"));
    QCOMPARE(p13.Led("MB_IO", "speed"), std::string("0"));
    QCOMPARE(p13.Led("MB_IO", "direction"), std::string("na"));

    // The slider sets the group's speed, never an LED's; a view hidden as a
    // whole (its page not shown) still sends it.
    wave->GetSpeedSlider()->slider()->triggerAction(QAbstractSlider::SliderToMinimum);
    wave->hide();
    const Profile p11(wave->GetXmlProfile());
    QCOMPARE(p11.Mode("effect_speed"), std::optional<std::string>("2"));
    QCOMPARE(p11.Led("DIMM_B1", "speed"), std::string("-1"));
    QCOMPARE(S0(*group, "DIMM_B1").speed, -1);
}

void EffectViewsTest::rainbowRangeReverseAndCycle()
{
    auto* view = Show<LumetRainbowView>(5);
    QVERIFY(view);
    NewLedPalette* palette = view->GetPalette();
    QCheckBox* reverse = Child<QCheckBox>(view, "reverseCheckBox");
    QVERIFY(reverse);
    QRadioButton* cycle = Child<QRadioButton>(view, "firstRadio");
    QRadioButton* gradient = Child<QRadioButton>(view, "secondRadio");
    QVERIFY(cycle && gradient);
    QCOMPARE(cycle->text(), QStringLiteral("Cycle"));
    QCOMPARE(gradient->text(), QStringLiteral("Gradient"));

    // Loaded: gradient over (0.25, 0.5), running end to start, the reverse
    // box checked but never shown.
    QVERIFY(gradient->isChecked());
    QVERIFY(!palette->isHidden());
    QCOMPARE(palette->mode(), 1);
    float start = 0.0f;
    float sweep = 0.0f;
    palette->getRange(start, sweep);
    QCOMPARE(start, 0.25f);
    QCOMPARE(sweep, 0.5f);
    QVERIFY(reverse->isChecked());
    QVERIFY(reverse->isHidden());

    QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
    palette->setRange(0.75f, 0.5f);
    QVERIFY(changes.count() > 0);
    const EffectSetting& setting = *group->GetGroupSetting();
    QCOMPARE(setting.cycleStart, 0.75f);
    QCOMPARE(setting.cycleEnd, 1.25f);
    QCOMPARE(setting.cycleRange, 0.5f);
    const Profile profile(view->GetXmlProfile());
    QCOMPARE(profile.Mode("color_type"), std::optional<std::string>("Gradient"));
    QCOMPARE(profile.Mode("start_end_color_cycle_start"), std::optional<std::string>("0.750000"));
    QCOMPARE(profile.Mode("start_end_color_cycle_end"), std::optional<std::string>("1.250000"));
    QCOMPARE(profile.Mode("start_end_color_cycle_range"), std::optional<std::string>("0.500000"));
    QCOMPARE(profile.Mode("start_to_end_or_end_to_start"), std::optional<std::string>("0"));
    // The LEDs keep their own colours and send no speed.
    QCOMPARE(profile.Led("DIMM_B1", "hue"), std::string("0.333333"));
    QCOMPARE(profile.Led("DIMM_B1", "speed"), std::string("na"));

    reverse->setChecked(false);
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("start_to_end_or_end_to_start"), std::optional<std::string>("1"));
    reverse->setChecked(true);
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("start_to_end_or_end_to_start"), std::optional<std::string>("0"));

    // A colour cycle needs no palette; the range stays for a later gradient.
    changes.clear();
    cycle->click();
    QCOMPARE(changes.count(), 1);
    QVERIFY(palette->isHidden());
    QCOMPARE(palette->mode(), 3);
    const Profile cycled(view->GetXmlProfile());
    QCOMPARE(cycled.Mode("color_type"), std::optional<std::string>("Cycle"));
    QCOMPARE(cycled.Mode("start_end_color_cycle_start"), std::optional<std::string>("0.750000"));

    gradient->click();
    QVERIFY(!palette->isHidden());
    QCOMPARE(palette->mode(), 1);
    palette->getRange(start, sweep);
    QCOMPARE(start, 0.75f);
    QCOMPARE(sweep, 0.5f);
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("color_type"), std::optional<std::string>("Gradient"));
}

void EffectViewsTest::rainbowLoadsPlainAsCycle()
{
    const std::string plain = StatusWith("<color_type>Gradient<", "<color_type>Plain<");
    const std::string forward = "<start_to_end_or_end_to_start>1<";
    std::string status = plain;
    status.replace(status.find("<start_to_end_or_end_to_start>0<"), forward.size(), forward);
    auto* view = Show<LumetRainbowView>(5, status);
    QVERIFY(view);
    QVERIFY(Child<QRadioButton>(view, "firstRadio")->isChecked());
    QVERIFY(view->GetPalette()->isHidden());
    QVERIFY(!Child<QCheckBox>(view, "reverseCheckBox")->isChecked());
    const Profile profile(view->GetXmlProfile());
    QCOMPARE(profile.Mode("color_type"), std::optional<std::string>("Cycle"));
    QCOMPARE(profile.Mode("start_to_end_or_end_to_start"), std::optional<std::string>("1"));
    // The loaded values are sent whatever the colour type.
    QCOMPARE(profile.Mode("start_end_color_cycle_end"), std::optional<std::string>("0.750000"));
}

void EffectViewsTest::cometPlainAndGradient()
{
    auto* view = Show<LumetCometView>(8);
    QVERIFY(view);
    NewLedPalette* palette = view->GetPalette();
    QCOMPARE(palette->geometry(), QRect(477, 54, 170, 387));
    QCOMPARE(view->GetSpeedSlider()->geometry(), QRect(13, 228, 336, 58));
    QRadioButton* plain = Child<QRadioButton>(view, "firstRadio");
    QRadioButton* gradient = Child<QRadioButton>(view, "secondRadio");
    QLabel* mask = Child<QLabel>(view, "ledAreaMask");
    QVERIFY(plain && gradient && mask);
    QCOMPARE(plain->text(), QStringLiteral("Plain"));

    // Loaded as a gradient: the range on the palette, the LEDs masked.
    QVERIFY(gradient->isChecked());
    QCOMPARE(palette->mode(), 1);
    QVERIFY(!mask->isHidden());
    Profile loaded(view->GetXmlProfile());
    QCOMPARE(loaded.Mode("color_type"), std::optional<std::string>("Gradient"));
    QCOMPARE(loaded.Mode("start_end_color_cycle_start"), std::optional<std::string>("0.250000"));
    QCOMPARE(loaded.Mode("start_end_color_cycle_end"), std::optional<std::string>("0.750000"));
    QCOMPARE(loaded.Mode("start_end_color_cycle_range"), std::optional<std::string>("0.500000"));
    QCOMPARE(loaded.Mode("start_to_end_or_end_to_start"), std::nullopt);

    // With the gradient the palette edits the range, not the LEDs.
    palette->setRange(0.125f, 0.25f);
    QCOMPARE(group->GetGroupSetting()->cycleStart, 0.125f);
    QCOMPARE(group->GetGroupSetting()->cycleEnd, 0.375f);
    QCOMPARE(S0(*group, "DIMM_A1").hue, 0.0f);

    QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
    plain->click();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(palette->mode(), 2);
    QVERIFY(mask->isHidden());
    const Profile plainProfile(view->GetXmlProfile());
    QCOMPARE(plainProfile.Mode("color_type"), std::optional<std::string>("Plain"));
    QCOMPARE(plainProfile.Mode("start_end_color_cycle_start"), std::optional<std::string>("0.000000"));
    QCOMPARE(plainProfile.Mode("start_end_color_cycle_end"), std::optional<std::string>("0.000000"));
    QCOMPARE(plainProfile.Mode("start_end_color_cycle_range"), std::optional<std::string>("0.000000"));
    QCOMPARE(plainProfile.OrderKeys().size(), 3);

    // With plain the palette colours the picked LED and leaves the range.
    Child<QPushButton>(palette, "pure_color_green")->click();
    QCOMPARE(S0(*group, "DIMM_A1").hue, 0.33333334f);
    QCOMPARE(group->GetGroupSetting()->cycleStart, 0.125f);

    gradient->click();
    float start = 0.0f;
    float sweep = 0.0f;
    palette->getRange(start, sweep);
    QCOMPARE(start, 0.125f);
    QCOMPARE(sweep, 0.25f);
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("start_end_color_cycle_start"),
             std::optional<std::string>("0.125000"));
}

void EffectViewsTest::musicButtons()
{
    auto* view = Show<LumetMusicView>(19, StatusWith("<music_index>2<", "<music_index>9<"));
    QVERIFY(view);
    QCOMPARE(Child<QLabel>(view, "headingLabel")->text(), QStringLiteral("MODE"));
    QCOMPARE(Child<QLabel>(view, "headingLabel")->pos(), QPoint(28, 38));
    // No button has index 9: "Normal" is chosen.
    QPushButton* normal = view->GetButton(0);
    QVERIFY(normal->isChecked());
    QCOMPARE(normal->text(), QStringLiteral("Normal"));
    QCOMPARE(view->GetMusicIndex(), 0);
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("music_index"), std::optional<std::string>("0"));

    QPushButton* jazz = view->GetButton(2);
    QCOMPARE(jazz->text(), QStringLiteral("Jazz"));
    QCOMPARE(jazz->geometry(), QRect(665 - 181, 180 - 97, 90, 110));
    QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
    QTest::mouseClick(jazz, Qt::LeftButton);
    QCOMPARE(changes.count(), 1);
    QVERIFY(jazz->isChecked());
    QVERIFY(!normal->isChecked());
    const Profile profile(view->GetXmlProfile());
    QCOMPARE(profile.Mode("music_index"), std::optional<std::string>("2"));
    QCOMPARE(profile.LedCount(), 3);
    for (const char* key : {"DIMM_A1", "DIMM_B1", "MB_IO"}) {
        for (const char* value : {"color", "hue", "saturation", "lightness", "speed", "direction"})
            QCOMPARE(profile.Led(key, value), std::string("na"));
    }

    // The chosen button again: still chosen, nothing to apply.
    QTest::mouseClick(jazz, Qt::LeftButton);
    QCOMPARE(changes.count(), 1);
    QVERIFY(jazz->isChecked());
    QCOMPARE(view->GetMusicIndex(), 2);

    view->ShowView(true);
    QCOMPARE(view->GetMusicIndex(), 0);
    QVERIFY(normal->isChecked());
    QCOMPARE(changes.count(), 1);
}

void EffectViewsTest::temperatureSpeed()
{
    auto* view = Show<LumetTemperatureView>(18);
    QVERIFY(view);
    LabeledLumetSpeedSlider* speed = view->GetSpeedSlider();
    // Speed 1: one notch left of the middle.
    QCOMPARE(speed->slider()->sliderPosition(), -1);
    QCOMPARE(speed->value(), 1);
    QCOMPARE(speed->geometry(), QRect(13, 38, 336, 58));
    Profile profile(view->GetXmlProfile());
    QCOMPARE(profile.Mode("effect_speed"), std::optional<std::string>("1"));
    QCOMPARE(profile.Mode("color_type"), std::nullopt);
    QCOMPARE(profile.Led("MB_IO", "color"), std::string("na"));
    QCOMPARE(Child<QLabel>(view, "lowLabel")->text(), QStringLiteral("<40") + QChar(0x2103));
    QCOMPARE(Child<QLabel>(view, "highLabel")->text(), QStringLiteral(">60") + QChar(0x2103));

    QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
    speed->slider()->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(view->GetSpeed(), 2);
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("effect_speed"), std::optional<std::string>("2"));
    // The view keeps the speed; the group setting stays as loaded.
    QCOMPARE(group->GetGroupSetting()->effectSpeed, 1);

    view->ShowView(true);
    QCOMPARE(view->GetSpeed(), -2);
    QCOMPARE(speed->slider()->sliderPosition(), speed->slider()->maximum());
    QCOMPARE(Profile(view->GetXmlProfile()).Mode("effect_speed"), std::optional<std::string>("-2"));
}

void EffectViewsTest::pickingAnLedIsNoChangeButThePaletteIs_data()
{
    QTest::addColumn<int>("effectId");
    for (int id : {1, 2, 3, 8, 11})
        QTest::newRow(qPrintable(QString::number(id))) << id;
}

// The road of the colour views: a picked LED shows on the palette without
// counting as a change; a palette change colours the picked LED and counts.
void EffectViewsTest::pickingAnLedIsNoChangeButThePaletteIs()
{
    QFETCH(int, effectId);
    // The comet colours its LEDs one by one only when plain.
    auto* view = Show<LumetColorView>(effectId, StatusWith("<color_type>Gradient<", "<color_type>Plain<"));
    QVERIFY(view);
    LumetDeviceDotButtonGroup* colours = view->GetColorGroup();
    NewLedPalette* palette = view->GetPalette();
    QCOMPARE(colours->pos(), QPoint(28, 38));
    QCOMPARE(colours->GetDots().size(), std::size_t(3));
    QCOMPARE(colours->GetSelectedDot(), DotOf(colours, "DIMM_A1"));

    // The first LED had no palette position: it took the one the palette
    // chose for its colour, and kept its colour.
    int x = 0;
    int y = 0;
    palette->triangleThumbPos(x, y);
    QCOMPARE(group->FindLed("DIMM_A1")->GetPosition(), (LedInfo::Point{x, y}));
    QCOMPARE(S0(*group, "DIMM_A1").lightness, 0.5f);

    QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
    QSignalSpy toGroup(view, &LumetColorView::PaletteColorChanged);
    QTest::mouseClick(DotOf(colours, "DIMM_B1"), Qt::LeftButton);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(colours->GetSelectedDot(), DotOf(colours, "DIMM_B1"));
    QCOMPARE(palette->hueAngle(), 0.333333f * 6.283185f);
    // Only the position was recorded, with the stored colour unchanged.
    QCOMPARE(toGroup.count(), 1);
    QCOMPARE(toGroup.at(0).at(0).toFloat(), 0.333333f);
    QCOMPARE(toGroup.at(0).at(2).toFloat(), 0.5f);
    QCOMPARE(S0(*group, "DIMM_B1").lightness, 0.5f);
    QVERIFY(group->FindLed("DIMM_B1")->GetPosition().x != -1);

    // The pure red button is a palette change: the picked LED turns red.
    Child<QPushButton>(palette, "pure_color_red")->click();
    QCOMPARE(changes.count(), 1);
    float hue = -1.0f;
    float saturation = -1.0f;
    float lightness = -1.0f;
    palette->getColor(hue, saturation, lightness);
    QCOMPARE(hue, 0.0f);
    QCOMPARE(S0(*group, "DIMM_B1").hue, 0.0f);
    QCOMPARE(S0(*group, "DIMM_B1").saturation, saturation);
    QCOMPARE(S0(*group, "DIMM_B1").lightness, lightness);
    QVERIFY(saturation > 0.9f && lightness > 0.4f && lightness < 0.6f);
    QCOMPARE(S0(*group, "MB_IO").hue, 0.666667f);
    const Profile profile(view->GetXmlProfile());
    QCOMPARE(profile.Led("DIMM_B1", "hue"), std::string("0.000000"));
    QCOMPARE(profile.Led("DIMM_B1", "color"), std::to_string(S0(*group, "DIMM_B1").color));
    QCOMPARE(profile.Led("MB_IO", "hue"), std::string("0.666667"));

    // Back to the first LED: its stored position, no change.
    const LedInfo::Point first = group->FindLed("DIMM_A1")->GetPosition();
    palette->moveTriangleThumb(0, 0);
    QTest::mouseClick(DotOf(colours, "DIMM_A1"), Qt::LeftButton);
    QCOMPARE(changes.count(), 1);
    palette->triangleThumbPos(x, y);
    QCOMPARE((LedInfo::Point{x, y}), first);

    // Spreading the picked colour over all LEDs is a change.
    Child<QPushButton>(colours, "colorSpanButton")->click();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(S0(*group, "MB_IO").hue, 0.0f);
}

void EffectViewsTest::viewsWithoutSettingsOrLeds_data()
{
    QTest::addColumn<int>("effectId");
    QTest::addColumn<int>("variant");
    for (int id : {1, 2, 3, 17, 5, 8, 10, 11, 12, 13, 18, 19}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 no device").arg(id))) << id << 0;
        QTest::newRow(qPrintable(QStringLiteral("%1 no LEDs").arg(id))) << id << 1;
        QTest::newRow(qPrintable(QStringLiteral("%1 no status").arg(id))) << id << 2;
    }
}

// A view of a device without LEDs, or of a group that no status has filled,
// takes every user action and still builds a sound profile.
void EffectViewsTest::viewsWithoutSettingsOrLeds()
{
    QFETCH(int, effectId);
    QFETCH(int, variant);
    if (variant == 1)
        group = std::make_unique<DeviceMaster>("Group");
    else if (variant == 2)
        group = CapabilityParser::Parse(EffectViewFixture::Document("capability.xml")).group;
    LumetBaseView* view = Create(effectId, group.get());
    view->ShowView(false);
    view->ShowView(true);

    for (QRadioButton* radio : view->findChildren<QRadioButton*>())
        radio->click();
    for (QPushButton* button : view->findChildren<QPushButton*>()) {
        if (button->isVisibleTo(view))
            button->click();
    }
    for (LabeledLumetSpeedSlider* slider : view->findChildren<LabeledLumetSpeedSlider*>())
        slider->slider()->triggerAction(QAbstractSlider::SliderToMinimum);
    for (NewLedPalette* palette : view->findChildren<NewLedPalette*>())
        palette->setRange(0.25f, 0.5f);

    const Profile profile(view->GetXmlProfile());
    QVERIFY(profile.IsValid());
    QCOMPARE(profile.ModeKey(), std::to_string(effectId));
    QCOMPARE(profile.LedCount(), variant == 2 ? 3 : 0);
    if (variant == 2)
        QCOMPARE(profile.Led("DIMM_A1", "color"), std::string("na"));
    // A speed the user chose is kept even where no status gave a setting.
    const bool hasGroupSpeed = effectId != 1 && effectId != 2 && effectId != 13 && effectId != 19;
    if (variant != 0 && hasGroupSpeed)
        QCOMPARE(profile.Mode("effect_speed"), std::optional<std::string>("2"));
}

QTEST_MAIN(EffectViewsTest)
#include "EffectViewsTest.moc"
