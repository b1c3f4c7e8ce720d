// The view factory and the views that only show a message: which view each
// effect id gets, their messages, profiles and the preview animation.
#include "tests/profile/ProfileFixture.h"
#include "ui/views/LumetColorCycleView.h"
#include "ui/views/LumetViewFactory.h"

#include <QLabel>
#include <QtTest>

#include <memory>

class MessageViewsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> page;
    std::unique_ptr<DeviceMaster> group;

    LumetBaseView* Create(int effectId)
    {
        return LumetViewFactory::GetInstance()->CreateView(page.get(), group.get(), -1, 1, effectId);
    }

    LumetColorCycleView* CreateColorCycle() { return qobject_cast<LumetColorCycleView*>(Create(4)); }

private slots:
    void initTestCase() { Q_INIT_RESOURCE(lumet_resources); }

    void init()
    {
        page = std::make_unique<QWidget>();
        group = ProfileFixture::TwoLedGroup();
    }

    void factoryTable_data()
    {
        QTest::addColumn<int>("effectId");
        QTest::addColumn<QString>("viewClass");
        QTest::addColumn<QString>("message");
        QTest::newRow("4") << 4 << "LumetColorCycleView"
                           << "This effect does not require user input. Select APPLY to activate the effect.";
        QTest::newRow("101")
            << 101 << "LumetSleepView"
            << "If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states.";
        for (int id : {0, 6, 102})
            QTest::newRow(qPrintable(QString::number(id))) << id << "LumetNullView" << "[Unknown effect]";
    }

    // An unknown effect gets a null view: nothing to apply, no device, no document.
    void factoryTable()
    {
        QFETCH(int, effectId);
        QFETCH(QString, viewClass);
        QFETCH(QString, message);
        LumetBaseView* view = Create(effectId);
        QCOMPARE(QString::fromLatin1(view->metaObject()->className()), viewClass);
        QCOMPARE(view->findChild<QLabel*>("messageLabel")->text(), message);
        const bool known = viewClass != "LumetNullView";
        QCOMPARE(view->GetEffectId(), known ? effectId : -1);
        QVERIFY(view->GetDeviceMaster() == (known ? group.get() : nullptr) && view->GetXmlProfile().empty() != known);
    }

    void profilesOfTwoLeds_data()
    {
        QTest::addColumn<int>("effectId");
        QTest::addColumn<QString>("golden");
        QTest::newRow("sleep") << 101 << "sleep_two_leds.xml";
        QTest::newRow("colour cycle") << 4 << "color_cycle_two_leds.xml";
    }

    void profilesOfTwoLeds()
    {
        QFETCH(int, effectId);
        QFETCH(QString, golden);
        QFile file(QStringLiteral(LUMET_TEST_DATA "/profile/") + golden);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QByteArray::fromStdString(Create(effectId)->GetXmlProfile()), file.readAll());
    }

    // A view pointed at another device sends that device under its own key.
    void anotherDeviceMaster()
    {
        const auto other = ProfileFixture::TwoLedGroup("DRAM_Kit");
        LumetBaseView* sleep = Create(101);
        sleep->SetDeviceMaster(other.get());
        QVERIFY(sleep->GetXmlProfile().find("<device key=\"DRAM_Kit\">") != std::string::npos);
    }

    void frames()
    {
        QCOMPARE(LumetColorCycleView::FramePath(9), QStringLiteral(":/Lumet/Resources/ani/0010009.png"));
        QVERIFY(LumetColorCycleView::NextFrame(24) == 25 && LumetColorCycleView::NextFrame(25) == 1);
        // Every view steps the one process-wide counter: a new view goes on
        // where the last one stopped, and a lap passes every frame once.
        LumetColorCycleView* first = CreateColorCycle();
        const int start = LumetColorCycleView::CurrentFrame();
        first->StepFrame();
        const QImage shown = first->findChild<QLabel*>("animationLabel")->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(shown, QImage(LumetColorCycleView::FramePath(start)).convertToFormat(shown.format()));
        LumetColorCycleView* second = CreateColorCycle();
        QSet<int> lap;
        for (int i = 0; i < LumetColorCycleView::FrameCount; ++i) {
            lap << LumetColorCycleView::CurrentFrame();
            second->StepFrame();
        }
        QCOMPARE(lap.size(), LumetColorCycleView::FrameCount);
        QCOMPARE(LumetColorCycleView::CurrentFrame(), LumetColorCycleView::NextFrame(start));
    }

    void animationRunsOnlyWhileShown()
    {
        LumetColorCycleView* view = CreateColorCycle();
        page->show();
        view->ShowView(false);
        const int before = LumetColorCycleView::CurrentFrame();
        QTRY_VERIFY_WITH_TIMEOUT(LumetColorCycleView::CurrentFrame() != before, 5000);
        view->hide();
        QVERIFY(!view->IsAnimating());
        const int stopped = LumetColorCycleView::CurrentFrame();
        QTest::qWait(3 * LumetColorCycleView::FramePeriodMs);
        QCOMPARE(LumetColorCycleView::CurrentFrame(), stopped);
        view->ShowView(false);
        QTRY_COMPARE_WITH_TIMEOUT(LumetColorCycleView::CurrentFrame(), LumetColorCycleView::NextFrame(stopped), 5000);
    }
};

QTEST_MAIN(MessageViewsTest)
#include "MessageViewsTest.moc"
