// The effect views with controls: the profile each one builds for a parsed
// model, and the road of a user change from palette, slider, radio button or
// music button into the model and out as ViewStateChanged.
#include "model/CapabilityParser.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/LedInfo.h"
#include "model/StatusParser.h"
#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetDeviceDotButtonGroup.h"
#include "ui/controls/LumetDeviceDotPushButton.h"
#include "ui/controls/LumetSpeedSlider.h"
#include "ui/controls/NewLedPalette.h"
#include "ui/views/LumetColorView.h"
#include "ui/views/LumetMusicView.h"
#include "ui/views/LumetTemperatureView.h"
#include "ui/views/LumetViewFactory.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <utility>

namespace {

using Edits = std::vector<std::pair<std::string, std::string>>;

// The group of tests/data/effectviews: three LEDs (DIMM_A1 red, DIMM_B1 green,
// MB_IO blue), the group setting "Gradient" from 0.25 over half a turn, end to
// start, music index 2, effect speed 1. Each edit replaces the first
// occurrence of a text in the status; without the status when withStatus is false.
std::unique_ptr<DeviceMaster> Fixture(Edits edits = {}, bool withStatus = true)
{
    const auto read = [](const char* name) {
        QFile file(QStringLiteral(LUMET_TEST_DATA "/effectviews/") + QLatin1String(name));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("missing fixture %s", name);
        return file.readAll().toStdString();
    };
    std::unique_ptr<DeviceMaster> group = CapabilityParser::Parse(read("capability.xml")).group;
    std::string status = read("status.xml");
    for (const auto& [from, to] : edits)
        status.replace(status.find(from), from.size(), to);
    if (group && withStatus)
        StatusParser::ApplyText(status, group.get(), {});
    return group;
}

// The text of the first element `name` of a profile, or of the LED keyed `led`;
// "-" when there is none.
QString Value(const std::string& profile, const char* name, const char* led = nullptr)
{
    std::size_t at = led ? profile.find("<led key=\"" + std::string(led) + "\">") : 0;
    const std::string open = "<" + std::string(name) + ">";
    at = at == std::string::npos ? at : profile.find(open, at);
    if (at == std::string::npos)
        return "-";
    at += open.size();
    return QString::fromStdString(profile.substr(at, profile.find('<', at) - at));
}

QStringList Values(const std::string& profile, std::initializer_list<const char*> names, const char* led = nullptr)
{
    QStringList values;
    for (const char* name : names)
        values << Value(profile, name, led);
    return values;
}

QAbstractButton* Button(const QObject* parent, const char* name)
{
    return parent->findChild<QAbstractButton*>(QLatin1String(name));
}

// Drags a palette's hue thumb by its centre until its centre stands at
// point (palette coordinates), and lets it go.
void DragHueThumb(NewLedPalette* palette, QPoint point)
{
    QWidget* thumb = palette->findChild<QWidget*>(QStringLiteral("hueThumb"));
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease}) {
        const QPoint at = type == QEvent::MouseButtonPress ? thumb->rect().center() : point - thumb->pos();
        QMouseEvent event(type, at, thumb->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(thumb, &event);
    }
}

} // namespace

class EffectViewsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> page;
    std::unique_ptr<DeviceMaster> group;

    LumetBaseView* Create(int effectId)
    {
        return LumetViewFactory::GetInstance()->CreateView(page.get(), group.get(), -1, 1, effectId);
    }

    // A view of the fixture group, made by the factory and loaded.
    template<class View = LumetBaseView>
    View* Show(int effectId, Edits edits = {})
    {
        if (!group)
            group = Fixture(edits);
        auto* view = qobject_cast<View*>(Create(effectId));
        view->ShowView(false);
        return view;
    }

    const EffectSetting& S0(const char* key) const { return *group->FindLed(key)->GetSetting(0); }

    // Every effect with a view of its own, and that view's class.
    static void EffectRows()
    {
        QTest::addColumn<int>("effectId");
        QTest::addColumn<QString>("viewClass");
        const QMap<int, QString> classes{{1, "Static"}, {2, "Breathing"}, {3, "Strobing"}, {17, "Strobing"},
                                         {5, "Rainbow"},  {8, "Comet"},     {10, "Comet"},   {11, "Wave"},
                                         {12, "Wave"},    {13, "Wave"},     {18, "Temperature"}, {19, "Music"}};
        for (int id : classes.keys())
            QTest::newRow(qPrintable(QString::number(id))) << id << "Lumet" + classes[id] + "View";
    }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(lumet_resources); }

    void init()
    {
        page = std::make_unique<QWidget>();
        group.reset();
        LumetDeviceDotButtonGroup::ForgetRememberedSelection();
    }

    void goldenProfiles_data() { EffectRows(); }

    // Each view, loaded from the fixture and left alone, sends exactly this.
    void goldenProfiles()
    {
        QFETCH(int, effectId);
        QFETCH(QString, viewClass);
        LumetBaseView* view = Show(effectId);
        QCOMPARE(QString::fromLatin1(view->metaObject()->className()), viewClass);
        QFile golden(QStringLiteral(LUMET_TEST_DATA "/effectviews/effect_%1.xml").arg(effectId));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(QByteArray::fromStdString(view->GetXmlProfile()), golden.readAll());
    }

    void strobingSpeed()
    {
        group = Fixture({{"<effect_speed>1<", "<effect_speed>2<"}});
        LumetBaseView* view = Create(3);
        QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
        view->ShowView(false);
        QCOMPARE(changes.count(), 1); // the rebuilt slider reports the loaded speed back
        LumetSpeedSlider* slider = view->findChild<LabeledLumetSpeedSlider*>()->slider();
        QCOMPARE(slider->sliderPosition(), slider->minimum());
        slider->triggerAction(QAbstractSlider::SliderToMaximum); // "Fast"
        QCOMPARE(changes.count(), 2);
        QCOMPARE(Value(view->GetXmlProfile(), "effect_speed"), "-2");
        group->GetGroupSetting()->pathOrder.clear(); // still the element, without children
        QVERIFY(view->GetXmlProfile().find("<effect_path_order></effect_path_order>") != std::string::npos);
    }

    // Effect 13 hides its slider and sends no group speed; every wave sends each
    // LED's own speed. The slider is asked whether it was hidden, so a view
    // hidden as a whole still sends the speed.
    void waveSpeeds()
    {
        QCOMPARE(Value(Show(13)->GetXmlProfile(), "effect_speed"), "-");
        LumetBaseView* wave = Show(11);
        wave->findChild<LabeledLumetSpeedSlider*>()->slider()->triggerAction(QAbstractSlider::SliderToMinimum);
        wave->hide();
        QCOMPARE(Value(wave->GetXmlProfile(), "effect_speed"), "2");
        QCOMPARE(Value(wave->GetXmlProfile(), "speed", "DIMM_B1"), "-1");
    }

    void rainbowRangeReverseAndCycle()
    {
        LumetBaseView* view = Show(5);
        NewLedPalette* palette = view->findChild<NewLedPalette*>();
        auto* reverse = Button(view, "reverseCheckBox");
        QVERIFY(Button(view, "secondRadio")->isChecked()); // loaded: gradient, end to start
        QVERIFY(reverse->isChecked() && reverse->isHidden());
        QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
        palette->setRange(0.75f, 0.5f);
        QVERIFY(changes.count() > 0);
        const std::string profile = view->GetXmlProfile();
        QCOMPARE(Values(profile, {"start_end_color_cycle_start", "start_end_color_cycle_end", "start_end_color_cycle_range",
                                  "start_to_end_or_end_to_start"}),
                 (QStringList{"0.750000", "1.250000", "0.500000", "0"}));
        reverse->setChecked(false);
        QCOMPARE(Value(view->GetXmlProfile(), "start_to_end_or_end_to_start"), "1");

        // A colour cycle needs no palette; the range stays for a later gradient.
        changes.clear();
        Button(view, "firstRadio")->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(Value(view->GetXmlProfile(), "color_type"), "Cycle");
        Button(view, "secondRadio")->click();
        QCOMPARE(Value(view->GetXmlProfile(), "start_end_color_cycle_start"), "0.750000");

        // "Plain" loads as a colour cycle; a status running start to end, unchecked.
        group.reset();
        view = Show(5, {{"<color_type>Gradient<", "<color_type>Plain<"},
                        {"<start_to_end_or_end_to_start>0<", "<start_to_end_or_end_to_start>1<"}});
        QVERIFY(Button(view, "firstRadio")->isChecked());
        QCOMPARE(Values(view->GetXmlProfile(), {"color_type", "start_to_end_or_end_to_start"}), (QStringList{"Cycle", "1"}));
    }

    // Gradient: the palette edits the range, not the LEDs. Plain: it colours
    // the picked LED and the profile sends no range.
    void cometPlainAndGradient()
    {
        LumetBaseView* view = Show(8);
        NewLedPalette* palette = view->findChild<NewLedPalette*>();
        palette->setRange(0.125f, 0.25f);
        QCOMPARE(group->GetGroupSetting()->cycleEnd, 0.375f);
        QCOMPARE(S0("DIMM_A1").hue, 0.0f);

        QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
        Button(view, "firstRadio")->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(Values(view->GetXmlProfile(), {"color_type", "start_end_color_cycle_start", "start_end_color_cycle_end",
                                                "start_end_color_cycle_range"}),
                 (QStringList{"Plain", "0.000000", "0.000000", "0.000000"}));
        Button(palette, "pure_color_green")->click();
        QCOMPARE(S0("DIMM_A1").hue, 1.0f / 3.0f);
        Button(view, "secondRadio")->click();
        QCOMPARE(Value(view->GetXmlProfile(), "start_end_color_cycle_start"), "0.125000");
    }

    void musicButtons()
    {
        auto* view = Show<LumetMusicView>(19, {{"<music_index>2<", "<music_index>9<"}});
        QVERIFY(view->GetButton(0)->isChecked()); // no button has index 9: "Normal"
        QCOMPARE(Value(view->GetXmlProfile(), "music_index"), "0");
        QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
        QPushButton* jazz = view->GetButton(2);
        QCOMPARE(jazz->text(), "Jazz");
        QTest::mouseClick(jazz, Qt::LeftButton);
        QCOMPARE(Value(view->GetXmlProfile(), "music_index"), "2");
        QTest::mouseClick(jazz, Qt::LeftButton); // chosen already: nothing to apply
        QCOMPARE(changes.count(), 1);
        QVERIFY(jazz->isChecked());
    }

    void temperatureSpeed()
    {
        auto* view = Show<LumetTemperatureView>(18);
        LumetSpeedSlider* slider = view->GetSpeedSlider()->slider();
        QCOMPARE(slider->sliderPosition(), -1); // speed 1: one notch left of the middle
        QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(Value(view->GetXmlProfile(), "effect_speed"), "2");
        QCOMPARE(group->GetGroupSetting()->effectSpeed, 1); // the view keeps its own speed
        view->ShowView(true);
        QCOMPARE(Value(view->GetXmlProfile(), "effect_speed"), "-2");
    }

    void pickingAnLedIsNoChangeButThePaletteIs_data()
    {
        QTest::addColumn<int>("effectId");
        for (int id : {1, 2, 3, 8, 11})
            QTest::newRow(qPrintable(QString::number(id))) << id;
    }

    // A picked LED shows on the palette without counting as a change; a palette
    // change colours the picked LED and counts, as does the colour span.
    void pickingAnLedIsNoChangeButThePaletteIs()
    {
        QFETCH(int, effectId);
        // The comet colours its LEDs one by one only when plain.
        auto* view = Show<LumetColorView>(effectId, {{"<color_type>Gradient<", "<color_type>Plain<"}});
        LumetDeviceDotButtonGroup* colours = view->GetColorGroup();
        NewLedPalette* palette = view->GetPalette();
        QCOMPARE(colours->GetSelectedDot()->GetLed()->GetKey(), "DIMM_A1");
        // The first LED had no palette position: it took the one the palette chose.
        int x = 0, y = 0;
        palette->triangleThumbPos(x, y);
        QCOMPARE(group->FindLed("DIMM_A1")->GetPosition(), (LedInfo::Point{x, y}));

        QSignalSpy changes(view, &LumetBaseView::ViewStateChanged);
        QTest::mouseClick(colours->GetDots()[1], Qt::LeftButton); // DIMM_B1, green
        QCOMPARE(changes.count(), 0);
        QCOMPARE(palette->hueAngle(), 0.333333f * 6.283185f);
        QCOMPARE(S0("DIMM_B1").lightness, 0.5f); // its stored colour untouched

        Button(palette, "pure_color_red")->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(S0("DIMM_B1").hue, 0.0f);
        QCOMPARE(S0("MB_IO").hue, 0.666667f);
        QCOMPARE(Value(view->GetXmlProfile(), "color", "DIMM_B1"), QString::number(S0("DIMM_B1").color));
        Button(colours, "colorSpanButton")->click();
        QCOMPARE(changes.count(), 2);
        QCOMPARE(S0("MB_IO").hue, 0.0f);
    }

    void coloursLoadedAndSentUntouched_data() { EffectRows(); }

    // A status with values no pixel or turn of the palette would hold
    // exactly: a view loaded from it and left alone sends the same numbers.
    void coloursLoadedAndSentUntouched()
    {
        QFETCH(int, effectId);
        // The first LED's running colour (its colour not quite the one its
        // HSL values give, as another service may round) and the range.
        const struct
        {
            const char *element, *led, *loaded, *odd;
        } fields[] = {{"color", "DIMM_A1", "255", "1234567"},
                      {"hue", "DIMM_A1", "0.000000", "0.123457"},
                      {"saturation", "DIMM_A1", "1.000000", "0.734513"},
                      {"lightness", "DIMM_A1", "0.500000", "0.271828"},
                      {"start_end_color_cycle_start", nullptr, "0.250000", "0.314159"},
                      {"start_end_color_cycle_end", nullptr, "0.750000", "0.585987"},
                      {"start_end_color_cycle_range", nullptr, "0.500000", "0.271828"}};
        Edits edits;
        for (const auto& field : fields) {
            const std::string tag = "<" + std::string(field.element) + ">";
            edits.emplace_back(tag + field.loaded + "<", tag + field.odd + "<");
        }
        const std::string profile = Show(effectId, edits)->GetXmlProfile();
        int compared = 0;
        for (const auto& field : fields) {
            const QString sent = Value(profile, field.element, field.led);
            if (sent == "-" || sent == "na")
                continue;
            QCOMPARE(sent, QLatin1String(field.odd));
            ++compared;
        }
        // Every view that sends colours or a range sent these.
        QVERIFY(compared > 0 || effectId == 18 || effectId == 19);
    }

    void pureColoursAndHueTurns_data()
    {
        QTest::addColumn<int>("effectId");
        QTest::newRow("static, full colour") << 1;
        QTest::newRow("strobing, hue only") << 3;
    }

    // The pure-colour buttons send the pure colours exactly, and turning only
    // the hue of a pure red to one third of the ring sends pure green.
    void pureColoursAndHueTurns()
    {
        QFETCH(int, effectId);
        auto* view = Show<LumetColorView>(effectId);
        const auto dots = view->GetColorGroup()->GetDots();
        NewLedPalette* palette = view->GetPalette();
        // Each LED takes a colour other than the one it had.
        const struct
        {
            const char *led, *button, *color, *hue;
        } picks[] = {{"DIMM_A1", "pure_color_blue", "16711680", "0.666667"},
                     {"DIMM_B1", "pure_color_red", "255", "0.000000"},
                     {"MB_IO", "pure_color_green", "65280", "0.333333"}};
        for (size_t i = 0; i < 3; ++i) {
            QTest::mouseClick(dots[i], Qt::LeftButton);
            QTest::mouseClick(Button(palette, picks[i].button), Qt::LeftButton);
        }
        std::string profile = view->GetXmlProfile();
        const auto sent = [&profile](const char* led) { return Values(profile, {"color", "hue", "saturation", "lightness"}, led); };
        for (const auto& pick : picks)
            QCOMPARE(sent(pick.led), (QStringList{pick.color, pick.hue, "1.000000", "0.500000"}));

        QTest::mouseClick(dots[1], Qt::LeftButton); // the red one
        DragHueThumb(palette, QPoint(150, 106));    // 119.98 degrees round from the top
        profile = view->GetXmlProfile();
        const QStringList green = sent("DIMM_B1");
        QCOMPARE(green.at(0), "65280");
        QCOMPARE(green.mid(2), (QStringList{"1.000000", "0.500000"}));
        QVERIFY(qAbs(green.at(1).toFloat() - 1.0f / 3.0f) < 1e-4f);
    }

    void viewsWithoutSettingsOrLeds_data() { EffectRows(); }

    // A view of no device, of a device without LEDs, or of a group that no
    // status has filled takes every user action and builds a sound profile.
    void viewsWithoutSettingsOrLeds()
    {
        QFETCH(int, effectId);
        for (int variant = 0; variant < 3; ++variant) {
            group = variant == 0   ? nullptr
                    : variant == 1 ? std::make_unique<DeviceMaster>("Group")
                                   : Fixture({}, false);
            LumetBaseView* view = Create(effectId);
            view->ShowView(false);
            view->ShowView(true);
            for (QAbstractButton* button : view->findChildren<QAbstractButton*>())
                if (button->isVisibleTo(view))
                    button->click();
            for (LabeledLumetSpeedSlider* slider : view->findChildren<LabeledLumetSpeedSlider*>())
                slider->slider()->triggerAction(QAbstractSlider::SliderToMinimum);
            for (NewLedPalette* palette : view->findChildren<NewLedPalette*>())
                palette->setRange(0.25f, 0.5f);

            const std::string profile = view->GetXmlProfile();
            QVERIFY2(profile.find("<mode key=\"" + std::to_string(effectId) + "\">") != std::string::npos, profile.c_str());
            QCOMPARE(Value(profile, "color", "DIMM_A1"), group && group->FindLed("DIMM_A1") ? "na" : "-");
            // A speed the user chose is kept even where no status gave a setting.
            if (group && effectId != 1 && effectId != 2 && effectId != 13 && effectId != 19)
                QCOMPARE(Value(profile, "effect_speed"), "2");
        }
    }
};

QTEST_MAIN(EffectViewsTest)
#include "EffectViewsTest.moc"
