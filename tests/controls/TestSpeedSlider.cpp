#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetSpeedSlider.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

// The images are compiled into a static library: register them first.
static void InitResources()
{
    Q_INIT_RESOURCE(lumet_resources);
}

class TestSpeedSlider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { InitResources(); }

    void styleSheetText()
    {
        QCOMPARE(QString::fromStdString(LumetSpeedSlider::StyleSheetFor(0, 1)),
                 QStringLiteral(
                     "QSlider::handle{background-image: url(:/Lumet/Resources/component/slider/button_n.png);"
                     "background-repeat: no-repeat;} "
                     "QSlider::handle:pressed{background-image: url(:/Lumet/Resources/component/slider/button_d.png);"
                     "background-repeat: no-repeat;} "
                     "QSlider::handle:hover{background-image: url(:/Lumet/Resources/component/slider/button_o.png);"
                     "background-repeat: no-repeat;} "
                     "QSlider::handle:horizontal {width: 12px;} "
                     "QSlider{background-image: url(:/Lumet/Resources/component/slider/size01/slider_bg01.png);"
                     "background-repeat: no-repeat;} "
                     "QSlider::groove{background-image: url(:/Lumet/Resources/component/slider/size01/rate1.png);"
                     "background-repeat: no-repeat;height: 23px;width: 176px;}"));
        const std::string five = LumetSpeedSlider::StyleSheetFor(1, 5);
        QVERIFY(five.find("size02/slider_bg02.png") != std::string::npos);
        QVERIFY(five.find("size02/rate5.png") != std::string::npos);
        QVERIFY(five.find("width: 266px;") != std::string::npos);
        QVERIFY(LumetSpeedSlider::StyleSheetFor(0, 4).empty());
        QVERIFY(LumetSpeedSlider::StyleSheetFor(1, 0).empty());
        QVERIFY(LumetSpeedSlider::StyleSheetFor(2, 1).empty());
    }

    void construction_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("groove");
        QTest::newRow("three notches") << 0 << -1 << QRect(5, 6, 246, 36) << 1 << "size01/rate2.png";
        QTest::newRow("five notches") << 1 << -2 << QRect(5, 6, 336, 36) << 2 << "size02/rate3.png";
    }

    void construction()
    {
        QFETCH(int, kind);
        QFETCH(int, minimum);
        QFETCH(QRect, geometry);
        QFETCH(int, maximum);
        QFETCH(QString, groove);
        LumetSpeedSlider slider(nullptr, 5, 6, kind, minimum);
        QCOMPARE(slider.geometry(), geometry);
        QCOMPARE(slider.minimum(), minimum);
        QCOMPARE(slider.maximum(), maximum);
        QCOMPARE(slider.value(), 0);
        QCOMPARE(slider.styleIndex(), -minimum); // the middle notch
        QVERIFY(slider.styleSheet().contains(groove));
        QCOMPARE(slider.singleStep(), 1);
        QCOMPARE(slider.pageStep(), 1);
    }

    void endsAndNotches_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("slow");
        QTest::addColumn<QString>("leftGroove");
        QTest::addColumn<QString>("rightGroove");
        QTest::newRow("three notches") << 0 << -1 << 1 << "size01/rate1.png" << "size01/rate3.png";
        QTest::newRow("five notches") << 1 << -2 << 2 << "size02/rate1.png" << "size02/rate5.png";
    }

    void endsAndNotches()
    {
        QFETCH(int, kind);
        QFETCH(int, minimum);
        QFETCH(int, slow);
        QFETCH(QString, leftGroove);
        QFETCH(QString, rightGroove);
        LabeledLumetSpeedSlider group(nullptr, 0, 0, kind, minimum);
        QSignalSpy values(&group, &LabeledLumetSpeedSlider::valueChanged);
        LumetSpeedSlider* slider = group.slider();

        // The user drags to the left end ("Slow"), then to the right ("Fast").
        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(values.count(), 1);
        QCOMPARE(values.last().at(0).toInt(), slow);
        QCOMPARE(group.value(), slow);
        QCOMPARE(slider->styleIndex(), 0);
        QVERIFY(slider->styleSheet().contains(leftGroove));

        slider->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(values.count(), 2);
        QCOMPARE(values.last().at(0).toInt(), -slow);
        QCOMPARE(slider->styleIndex(), 2 * slow);
        QVERIFY(slider->styleSheet().contains(rightGroove));

        // One notch left of the right end.
        slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(values.last().at(0).toInt(), -slow + 1);
        QCOMPARE(slider->styleIndex(), 2 * slow - 1);
    }

    void setValueEmitsOnlyWhenTheHandleMoves()
    {
        LabeledLumetSpeedSlider group(nullptr, 0, 0, 1, -2);
        QSignalSpy values(&group, &LabeledLumetSpeedSlider::valueChanged);
        group.setValue(2);
        QCOMPARE(values.count(), 1);
        QCOMPARE(values.last().at(0).toInt(), 2);
        QCOMPARE(group.slider()->sliderPosition(), -2); // leftmost
        QVERIFY(group.slider()->styleSheet().contains("size02/rate1.png"));
        group.setValue(2);
        QCOMPARE(values.count(), 1);
        QCOMPARE(group.value(), 2);
        // The middle, where a new slider starts, also emits nothing.
        LabeledLumetSpeedSlider fresh(nullptr, 0, 0, 0, -1);
        QSignalSpy freshValues(&fresh, &LabeledLumetSpeedSlider::valueChanged);
        fresh.setValue(0);
        QCOMPARE(freshValues.count(), 0);
        QCOMPARE(fresh.slider()->styleIndex(), 1);
    }

    void valuesOutsideTheRangeAreClamped()
    {
        LabeledLumetSpeedSlider group(nullptr, 0, 0, 0, -1);
        QSignalSpy values(&group, &LabeledLumetSpeedSlider::valueChanged);
        group.setValue(5);
        QCOMPARE(group.value(), 1);
        QCOMPARE(values.count(), 1);
        QCOMPARE(values.last().at(0).toInt(), 1);
        QCOMPARE(group.slider()->styleIndex(), 0);
        group.setValue(-9);
        QCOMPARE(group.value(), -1);
        QCOMPARE(group.slider()->styleIndex(), 2);
        // Already at the right end: nothing moves, nothing is emitted.
        group.setValue(-3);
        QCOMPARE(values.count(), 2);
    }

    void unusualKindsAndRanges()
    {
        // An unknown kind has no style list: nothing to index.
        LumetSpeedSlider odd(nullptr, 0, 0, 7, -1);
        odd.setValue(1);
        odd.triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(odd.styleIndex(), -1);
        QVERIFY(odd.styleSheet().isEmpty());
        // A range that does not span zero: values are positions.
        LumetSpeedSlider plain(nullptr, 0, 0, 0, 0);
        QCOMPARE(plain.value(), 0);
        QCOMPARE(plain.styleIndex(), 0);
        plain.setValue(2);
        QCOMPARE(plain.value(), 2);
        QCOMPARE(plain.styleIndex(), 2);
        // A range above zero starts at its nearest end.
        LumetSpeedSlider high(nullptr, 0, 0, 1, 5);
        QCOMPARE(high.value(), 5);
        QCOMPARE(high.styleIndex(), 0);
        high.setValue(100);
        QCOMPARE(high.value(), 9);
        QCOMPARE(high.styleIndex(), 4);
    }

    // End captions keep their place when the text fits and otherwise grow
    // away from the slider's end, never cut off.
    void captionsGrowToTheirText()
    {
        const QRect left(20, 42, 35, 20);
        const QRect right(286, 42, 35, 20);
        QCOMPARE(LabeledLumetSpeedSlider::CaptionGeometry(left, 30, false), left);
        QCOMPARE(LabeledLumetSpeedSlider::CaptionGeometry(left, 50, false), QRect(20, 42, 50, 20));
        QCOMPARE(LabeledLumetSpeedSlider::CaptionGeometry(right, 50, true), QRect(271, 42, 50, 20));

        LabeledLumetSpeedSlider speed(nullptr, 0, 0, 1, -2);
        speed.setEndTexts("Considerably slower", "Fast");
        const auto labels = speed.findChildren<QLabel*>();
        const QLabel* slow = nullptr;
        const QLabel* fast = nullptr;
        for (const QLabel* label : labels) {
            if (label->text() == QLatin1String("Considerably slower"))
                slow = label;
            if (label->text() == QLatin1String("Fast"))
                fast = label;
        }
        QVERIFY(slow && fast);
        QVERIFY(slow->width() >= slow->fontMetrics().horizontalAdvance(slow->text()));
        QCOMPARE(slow->x(), 20);
        QCOMPARE(fast->geometry(), right);
    }
};

QTEST_MAIN(TestSpeedSlider)
#include "TestSpeedSlider.moc"
