#include "ui/controls/LabeledLumetSpeedSlider.h"
#include "ui/controls/LumetSpeedSlider.h"

#include <QSignalSpy>
#include <QtTest>

#include <limits>

class TestSpeedSlider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(lumet_resources); }

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
            // The lowest int is the fastest of all, though it has no positive counterpart.
            group.setValue(std::numeric_limits<int>::min());
            check(-slow, 2 * slow, 6);
        }
    }

    // No kind, notch or range reaches past the style list.
    void outsideTheStyleList()
    {
        QVERIFY(QString::fromStdString(LumetSpeedSlider::StyleSheetFor(1, 5)).endsWith("height: 23px;width: 266px;}"));
        QVERIFY(LumetSpeedSlider::StyleSheetFor(0, 4).empty() && LumetSpeedSlider::StyleSheetFor(1, 0).empty());
        QVERIFY(LumetSpeedSlider::StyleSheetFor(2, 1).empty());
        LumetSpeedSlider odd(nullptr, 0, 0, 7, -1);
        odd.triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(odd.styleIndex(), -1);
        LumetSpeedSlider high(nullptr, 0, 0, 1, 5); // above zero: values are positions
        high.setValue(100);
        QCOMPARE(high.value(), 9);
        QCOMPARE(high.styleIndex(), 4);
    }
};

QTEST_MAIN(TestSpeedSlider)
#include "TestSpeedSlider.moc"
