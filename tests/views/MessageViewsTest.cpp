// The view factory and the views that only show a message: which view each
// effect id gets, their messages, pictures, profiles and the preview animation.
#include "profile/EffectProfile.h"
#include "tests/profile/ProfileFixture.h"
#include "ui/views/LumetColorCycleView.h"
#include "ui/views/LumetViewFactory.h"

#include <QLabel>
#include <QPixmap>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

const char* const UnknownEffect = "[Unknown effect]";

QByteArray Golden(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/profile/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("missing golden file ") + name;
    return file.readAll();
}

QString LabelText(const QWidget* view, const char* name)
{
    const auto* label = view->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label>");
}

QImage LabelImage(const QWidget* view, const char* name)
{
    const auto* label = view->findChild<QLabel*>(QLatin1String(name));
    return label ? label->pixmap(Qt::ReturnByValue).toImage() : QImage();
}

} // namespace

class MessageViewsTest : public QObject
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
        group = ProfileFixture::TwoLedGroup();
    }

    void cleanup()
    {
        page.reset();
        group.reset();
    }

    void factoryTable_data()
    {
        QTest::addColumn<int>("effectId");
        QTest::addColumn<QString>("viewClass");
        QTest::addColumn<int>("keptId");
        QTest::addColumn<QString>("message");
        const QString unknown = QLatin1String(UnknownEffect);
        QTest::newRow("4") << 4 << "LumetColorCycleView" << 4
                           << "This effect does not require user input. Select APPLY to activate the effect.";
        QTest::newRow("101")
            << 101 << "LumetSleepView" << 101
            << "If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states.";
        for (int id : {0, 6, 7, 9, 14, 20, 100, 102, -5})
            QTest::newRow(qPrintable(QString::number(id))) << id << "LumetNullView" << -1 << unknown;
    }
    void factoryTable()
    {
        QFETCH(int, effectId);
        QFETCH(QString, viewClass);
        QFETCH(int, keptId);
        QFETCH(QString, message);
        LumetBaseView* view =
            LumetViewFactory::GetInstance()->CreateView(page.get(), group.get(), -1, 1, effectId);
        QVERIFY(view);
        QCOMPARE(QString::fromLatin1(view->metaObject()->className()), viewClass);
        QCOMPARE(view->parentWidget(), page.get());
        QCOMPARE(view->GetParent(), page.get());
        QCOMPARE(view->geometry(), QRect(181, 97, 679, 604));
        QCOMPARE(view->GetEffectId(), keptId);
        QCOMPARE(LabelText(view, "messageLabel"), message);
        if (keptId == -1) {
            // Nothing to apply: no device, no document.
            QVERIFY(!view->GetDeviceMaster());
            QCOMPARE(view->GetDeviceKey(), std::string());
            QCOMPARE(view->GetAlignment(), -1);
            QCOMPARE(view->GetPowerState(), 0);
            QCOMPARE(view->GetXmlProfile(), std::string());
        } else {
            QCOMPARE(view->GetDeviceMaster(), group.get());
            QCOMPARE(view->GetDeviceKey(), std::string("Group"));
            QCOMPARE(view->GetPowerState(), 1);
        }
        view->ShowView(false);
        QVERIFY(!view->isHidden());
    }

    void factoryIsOneObject()
    {
        QVERIFY(LumetViewFactory::GetInstance());
        QCOMPARE(LumetViewFactory::GetInstance(), LumetViewFactory::GetInstance());
    }

    void profilesOfTwoLeds()
    {
        auto* factory = LumetViewFactory::GetInstance();
        LumetBaseView* sleep = factory->CreateView(page.get(), group.get(), -1, 1, 101);
        LumetBaseView* cycle = factory->CreateView(page.get(), group.get(), -1, 1, 4);
        QCOMPARE(QByteArray::fromStdString(sleep->GetXmlProfile()), Golden("sleep_two_leds.xml"));
        QCOMPARE(QByteArray::fromStdString(cycle->GetXmlProfile()), Golden("color_cycle_two_leds.xml"));

        // The colour cycle sends what a static view of the same model sends,
        // only under its own effect id.
        std::string asStatic = EffectProfile::Build(group.get(), "Group", 1, EffectProfile::Parts());
        asStatic.replace(asStatic.find("<mode key=\"1\">"), 14, "<mode key=\"4\">");
        QCOMPARE(cycle->GetXmlProfile(), asStatic);
    }

    // A view pointed at another device sends that device under its own key.
    void anotherDeviceMaster()
    {
        LumetBaseView* sleep = LumetViewFactory::GetInstance()->CreateView(page.get(), group.get(), -1, 1, 101);
        const auto other = ProfileFixture::TwoLedGroup("DRAM_Kit");
        other->GetLeds()[0]->ClearSettings();
        sleep->SetDeviceMaster(other.get());
        QCOMPARE(sleep->GetDeviceKey(), std::string("DRAM_Kit"));
        const std::string profile = sleep->GetXmlProfile();
        QVERIFY(profile.find("<device key=\"DRAM_Kit\">") != std::string::npos);
        QVERIFY(profile.find("<color>na</color>") != std::string::npos);
    }

    void sleepPicture()
    {
        LumetBaseView* sleep = LumetViewFactory::GetInstance()->CreateView(page.get(), group.get(), -1, 1, 101);
        const auto* picture = sleep->findChild<QLabel*>(QStringLiteral("pictureLabel"));
        QVERIFY(picture);
        QCOMPARE(picture->geometry(), QRect(137, 151, 390, 250));
        const QImage image = LabelImage(sleep, "pictureLabel");
        QVERIFY(!image.isNull());
        QCOMPARE(image, QImage(QStringLiteral(":/Lumet/Resources/s5_stop.png")).convertToFormat(image.format()));
    }

    void framePaths()
    {
        QCOMPARE(LumetColorCycleView::FramePath(1), QStringLiteral(":/Lumet/Resources/ani/0010001.png"));
        QCOMPARE(LumetColorCycleView::FramePath(9), QStringLiteral(":/Lumet/Resources/ani/0010009.png"));
        QCOMPARE(LumetColorCycleView::FramePath(25), QStringLiteral(":/Lumet/Resources/ani/0010025.png"));
        QCOMPARE(LumetColorCycleView::NextFrame(9), 10);
        QCOMPARE(LumetColorCycleView::NextFrame(24), 25);
        QCOMPARE(LumetColorCycleView::NextFrame(25), 1);
        for (int frame = 1; frame <= LumetColorCycleView::FrameCount; ++frame)
            QVERIFY2(!QPixmap(LumetColorCycleView::FramePath(frame)).isNull(), qPrintable(QString::number(frame)));
    }

    // Every colour cycle view steps the one process-wide counter, so a new
    // view goes on where the last one stopped.
    void framesContinueAcrossViews()
    {
        auto* factory = LumetViewFactory::GetInstance();
        auto* first = static_cast<LumetColorCycleView*>(factory->CreateView(page.get(), group.get(), -1, 1, 4));
        auto* second = static_cast<LumetColorCycleView*>(factory->CreateView(page.get(), group.get(), -1, 1, 4));
        const int start = LumetColorCycleView::CurrentFrame();
        QVERIFY(start >= 1 && start <= 25);

        first->StepFrame();
        const QImage shown = LabelImage(first, "animationLabel");
        QCOMPARE(shown, QImage(LumetColorCycleView::FramePath(start)).convertToFormat(shown.format()));
        QCOMPARE(LumetColorCycleView::CurrentFrame(), LumetColorCycleView::NextFrame(start));

        // A full lap from the second view passes every frame once and ends
        // where it began.
        QList<int> lap;
        for (int i = 0; i < LumetColorCycleView::FrameCount; ++i) {
            lap << LumetColorCycleView::CurrentFrame();
            second->StepFrame();
        }
        QCOMPARE(LumetColorCycleView::CurrentFrame(), lap.first());
        std::sort(lap.begin(), lap.end());
        for (int i = 0; i < lap.size(); ++i)
            QCOMPARE(lap[i], i + 1);
    }

    void animationRunsOnlyWhileShown()
    {
        auto* view = static_cast<LumetColorCycleView*>(
            LumetViewFactory::GetInstance()->CreateView(page.get(), group.get(), -1, 1, 4));
        page->show();
        view->ShowView(false);
        QVERIFY(view->IsAnimating());
        const int before = LumetColorCycleView::CurrentFrame();
        QTRY_VERIFY_WITH_TIMEOUT(LumetColorCycleView::CurrentFrame() != before, 5000);

        view->hide();
        QVERIFY(!view->IsAnimating());
        const int stopped = LumetColorCycleView::CurrentFrame();
        QTest::qWait(3 * LumetColorCycleView::FramePeriodMs);
        QCOMPARE(LumetColorCycleView::CurrentFrame(), stopped);

        view->ShowView(false);
        QVERIFY(view->IsAnimating());
        QTRY_COMPARE_WITH_TIMEOUT(LumetColorCycleView::CurrentFrame(), LumetColorCycleView::NextFrame(stopped), 5000);
    }

private:
    std::unique_ptr<QWidget> page;
    std::unique_ptr<DeviceMaster> group;
};

QTEST_MAIN(MessageViewsTest)
#include "MessageViewsTest.moc"
