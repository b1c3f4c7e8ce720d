#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetSpeedSlider.h"

#include <QSignalSpy>
#include <QtTest>

class TestSpeedSlider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(lumet_resources); }

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
        QVERIFY(QString::fromStdString(LumetSpeedSlider::StyleSheetFor(1, 5)).endsWith("height: 23px;width: 266px;}"));
        // Past the notches or of an unknown kind there is none.
        QVERIFY(LumetSpeedSlider::StyleSheetFor(0, 4).empty() && LumetSpeedSlider::StyleSheetFor(1, 0).empty());
        QVERIFY(LumetSpeedSlider::StyleSheetFor(2, 1).empty());
    }

    // Kind 0 runs from 1 ("Slow") to -1 ("Fast"), kind 1 from 2 to -2.
    void endsAndNotches()
    {
        for (int kind : {0, 1}) {
            const int slow = kind + 1;
            const QString groove = (kind == 0 ? "size01/rate%1.png" : "size02/rate%1.png");
            LabeledLumetSpeedSlider group(nullptr, 0, 0, kind, -slow);
            QSignalSpy values(&group, &LabeledLumetSpeedSlider::valueChanged);
            LumetSpeedSlider* slider = group.slider();
            QCOMPARE(slider->styleIndex(), slow); // a new slider sits in the middle
            // The handle's notch picks the groove image; a value emits only when the handle moves.
            const auto check = [&](int value, int index, int emitted) {
                QCOMPARE(values.count(), emitted);
                QCOMPARE(group.value(), value);
                QCOMPARE(values.last().at(0).toInt(), value);
                QCOMPARE(slider->styleIndex(), index);
                QVERIFY(slider->styleSheet().contains(groove.arg(index + 1)));
            };
            slider->triggerAction(QAbstractSlider::SliderToMinimum); // "Slow"
            check(slow, 0, 1);
            slider->triggerAction(QAbstractSlider::SliderToMaximum); // "Fast"
            check(-slow, 2 * slow, 2);
            group.setValue(slow);
            group.setValue(slow);
            check(slow, 0, 3);
            group.setValue(-9); // beyond the ends: clamped
            check(-slow, 2 * slow, 4);
            group.setValue(9);
            check(slow, 0, 5);
        }
    }

    void unusualKindsAndRanges()
    {
        LumetSpeedSlider odd(nullptr, 0, 0, 7, -1); // no style list to index
        odd.triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(odd.styleIndex(), -1);
        LumetSpeedSlider high(nullptr, 0, 0, 1, 5); // above zero: values are positions
        QCOMPARE(high.styleIndex(), 0);
        high.setValue(100);
        QCOMPARE(high.value(), 9);
        QCOMPARE(high.styleIndex(), 4);
    }
};

QTEST_MAIN(TestSpeedSlider)
#include "TestSpeedSlider.moc"
