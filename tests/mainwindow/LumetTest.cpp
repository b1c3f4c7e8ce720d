// The main window against a recording service: what APPLY, DEFAULT, UNDO and the
// LED switch send, and how the effect list and the current view follow the models.
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/LedInfo.h"
#include "profile/FixedProfile.h"
#include "service/ServiceClient.h"
#include "tests/support/PanelProcess.h"
#include "tests/support/RecordingService.h"
#include "ui/controls/LumetDeviceDotPushButton.h"
#include "ui/controls/LumetFocusFrame.h"
#include "ui/controls/LumetSpeedSlider.h"
#include "ui/controls/LumetStyle.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"
#include "ui/mainwindow/LumetKeyboardNavigation.h"
#include "ui/mainwindow/LumetResetClock.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Calls = std::vector<std::string>;
using Profiles = std::vector<RecordingService::Profile>;

std::string Fixture(const char* name)
{
    QFile file(QStringLiteral(LUMET_TEST_DATA "/mainwindow/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The rig's status with the group running effect mode, its LEDs on or off.
std::string Status(const std::string& mode, bool ledsOn = true)
{
    std::string text = Fixture("status.xml");
    text.replace(text.find("<mode key=\"4\">"), 14, "<mode key=\"" + mode + "\">");
    return ledsOn ? text : text.replace(text.find("<isenabled>1"), 12, "<isenabled>0");
}

// The focused widget, by its object name or, without one, its class.
QString Focused()
{
    const QWidget* w = QApplication::focusWidget();
    return !w ? QStringLiteral("-") : w->objectName().isEmpty() ? QLatin1String(w->metaObject()->className()) : w->objectName();
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace

class LumetTest : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    RecordingService* service = nullptr;
    std::unique_ptr<Lumet> window;
    // Process time just after the last accepted DEFAULT.
    qint64 lastDefault = 0;

    template <typename T = QPushButton> T* Find(const char* name) const { return window->findChild<T*>(name); }

    auto* Button(const char* id) const { return Find<LumetEffectButton>(QByteArray("effectButton_") + id); }

    int ViewsOnPage() const { return Find<QWidget>("pageSyn")->findChildren<LumetBaseView*>().size(); }

    bool ActionsOn(bool on) const
    {
        return Find("applyButton")->isEnabled() == on && Find("undoButton")->isEnabled() == on;
    }

    void Open(const std::string& status, bool active = false)
    {
        service->status = status;
        window = std::make_unique<Lumet>(nullptr, false, false, false);
        window->show();
        if (active)
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // DEFAULT refuses a second reset within a second of the last one.
    void ClickDefault()
    {
        QTRY_VERIFY_WITH_TIMEOUT(LumetResetClock::Now() - lastDefault >= 1000, 3000);
        service->Forget();
        QTest::mouseClick(Find("defaultButton"), Qt::LeftButton);
        lastDefault = LumetResetClock::Now();
    }

private slots:
    void initTestCase()
    {
        // Installed with a version; no reboot pending.
        const QString registry =
            PanelProcess::TrustedRegistry(LUMET_TEST_DATA "/mainwindow/installed.reg", scratch.path());
        QVERIFY(!registry.isEmpty());
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(registry));
        // A service serving the rig: effects 1, 2, 3, 4, 6 (no view of its own), 07 and 101.
        auto backend = std::make_unique<RecordingService>();
        service = backend.get();
        service->capability = Fixture("capability.xml");
        ServiceClient::Instance().SetBackend(std::move(backend));
        Lumet::SetApplySettleTime(0);

        // The first second after start refuses DEFAULT as well.
        Open(Status("4"));
        service->Forget();
        QTest::mouseClick(Find("defaultButton"), Qt::LeftButton);
        if (LumetResetClock::Now() < 1000) // else started too slowly to tell
            QVERIFY(service->calls.empty());
    }

    void cleanup()
    {
        window.reset();
        service->Forget();
    }

    // A whole second after the last reset, on a 64-bit count: hours in, far
    // beyond where 32 bits of milliseconds would wrap.
    void resetClockAcceptsOneResetPerWholeSecond()
    {
        QVERIFY(!LumetResetClock::Accepts(5999, 5000) && LumetResetClock::Accepts(6000, 5000));
        QVERIFY(LumetResetClock::Accepts(qint64(1) << 33, (qint64(1) << 33) - 1000));
    }

    void applySendsTheViewProfileThenReadsTheStatusBack()
    {
        Open(Status("4"));
        LedInfo* led = DeviceAggregator::Instance()->GetGroup()->GetLeds().front();
        led->SetPosition(5, 5);
        led->SetPosition(9, 9);
        service->Forget();

        QTest::mouseClick(Button("101"), Qt::LeftButton);
        QVERIFY(ActionsOn(true));
        QPointer<LumetBaseView> sleepView = window->GetCurrentView();
        const std::string expected = sleepView->GetXmlProfile();
        service->status = Status("101");
        QTest::mouseClick(Find("applyButton"), Qt::LeftButton);
        QCOMPARE(service->calls, (Calls{"SetProfile", "GetStatus"}));
        QCOMPARE(service->profiles, (Profiles{{"Group", expected}}));
        // Positions committed, a fresh view of the reported effect, buttons off.
        QCOMPARE(led->GetSavedPosition(), (LedInfo::Point{9, 9}));
        QVERIFY(sleepView.isNull() && ActionsOn(false) && ViewsOnPage() == 1);
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 101);
    }

    // Effect 6 has no view of its own: APPLY sends nothing but reloads. A
    // status without a group setting selects nothing until one names an effect.
    void statusesWithoutAView()
    {
        Open(Status("6"));
        QCOMPARE(window->GetCurrentView()->GetXmlProfile(), std::string());
        window->OnViewStateChanged();
        service->Forget();
        QTest::mouseClick(Find("applyButton"), Qt::LeftButton);
        QCOMPARE(service->calls, Calls{"GetStatus"});
        QVERIFY(ActionsOn(false) && Button("6")->isChecked());

        Open("<root><header>ORVEL_LUMET</header><version>1.0</version><device key=\"Group\"><isenabled>1</isenabled>"
             "</device></root>");
        QVERIFY(!window->GetCurrentView() && ActionsOn(false) && !window->GetEffectButtonGroup()->GetSelected());
        service->status = Status("101");
        window->OnUndoClicked();
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 101);
    }

    void defaultResetsAndReloadsBothModels()
    {
        Open(Status("4"));
        const std::vector<LumetEffectButton*> buttons = window->GetEffectButtonGroup()->GetButtons();
        QPointer<LumetBaseView> before = window->GetCurrentView();
        service->status = Status("101");
        ClickDefault();
        QCOMPARE(service->calls, (Calls{"SetProfile", "GetCapability", "GetStatus"}));
        QCOMPARE(service->profiles, (Profiles{{"Mainboard", FixedProfile::ResetAll()}}));
        // Buttons kept, the newly reported effect selected in a fresh view.
        QCOMPARE(window->GetEffectButtonGroup()->GetButtons(), buttons);
        QVERIFY(Button("101")->isChecked() && before.isNull() && ActionsOn(false) && window->GetCurrentView()->GetEffectId() == 101);

        // A second DEFAULT within the second is ignored; a later one is not.
        service->Forget();
        QTest::mouseClick(Find("defaultButton"), Qt::LeftButton);
        QVERIFY(service->calls.empty());
        // A reset to an effect without a button leaves no view into the old model.
        before = window->GetCurrentView();
        service->status = Status("77");
        ClickDefault();
        QCOMPARE(service->calls.size(), size_t(3));
        QVERIFY(before.isNull() && !window->GetCurrentView() && ViewsOnPage() == 0);
        window->repaint(); // must not reach any freed record

        // The old check mark stays, and clicking it brings the view back.
        QVERIFY(Button("101")->isChecked());
        QTest::mouseClick(Button("101"), Qt::LeftButton);
        QCOMPARE(window->GetCurrentView()->GetDeviceMaster(), DeviceAggregator::Instance()->GetGroup());
        QVERIFY(!window->GetCurrentView()->GetXmlProfile().empty());
    }

    void undoDiscardsChangesByReloadingTheStatus()
    {
        Open(Status("4"));
        LedInfo* groupLed = DeviceAggregator::Instance()->GetGroup()->GetLeds().front();
        LedInfo* boardLed = DeviceAggregator::Instance()->GetDeviceIndex().at("Mainboard")->GetLeds().front();
        groupLed->SetPosition(3, 3);
        boardLed->SetPosition(1, 1);
        groupLed->SetPosition(8, 8);
        boardLed->SetPosition(2, 2);
        QPointer<LumetBaseView> before = window->GetCurrentView();
        window->OnViewStateChanged();
        service->Forget();

        QTest::mouseClick(Find("undoButton"), Qt::LeftButton);
        QCOMPARE(service->calls, Calls{"GetStatus"});
        QVERIFY(groupLed->GetPosition() == (LedInfo::Point{3, 3}) && boardLed->GetPosition() == (LedInfo::Point{1, 1}));
        QVERIFY(before.isNull() && ActionsOn(false) && window->GetCurrentView()->GetEffectId() == 4);
    }

    // LEDs reported off at start: the mask shows and the off document goes
    // out once; then each toggle sends one fixed document.
    void ledSwitchSendsOneDocumentPerToggleAndMasksTheWindow()
    {
        Open(Status("4", false));
        QCOMPARE(service->calls, (Calls{"GetCapability", "GetStatus", "SetProfile"}));
        QCOMPARE(service->profiles, (Profiles{{"Mainboard", FixedProfile::LedSwitch(false)}}));
        QPushButton* ledSwitch = Find("ledSwitch");
        auto* mask = Find<QLabel>("bg_mask");
        // The switch and the close button stay above the mask.
        QVERIFY(!ledSwitch->isChecked() && mask->isVisible() && window->childAt(800, 80) == ledSwitch &&
                window->childAt(839, 19) == Find("closeButton"));

        QPointer<LumetBaseView> view = window->GetCurrentView();
        service->Forget();
        QTest::mouseClick(ledSwitch, Qt::LeftButton);
        QVERIFY(ledSwitch->isChecked() && mask->isHidden());
        QTest::mouseClick(ledSwitch, Qt::LeftButton);
        QVERIFY(!ledSwitch->isChecked() && mask->isVisible());
        QCOMPARE(service->calls, (Calls{"SetProfile", "SetProfile"}));
        QCOMPARE(service->profiles, (Profiles{{"Mainboard", FixedProfile::LedSwitch(true)},
                                              {"Mainboard", FixedProfile::LedSwitch(false)}}));
        QCOMPARE(window->GetCurrentView(), view.data());
    }

    // Start-up shows the reported effect with APPLY and UNDO off, the installed
    // version and the system's language. A status naming an effect without a
    // button ("07" is listed as 7; 77 is not offered) keeps the view.
    void statusNamingAnEffectWithoutAButtonKeepsTheView()
    {
        Open(Status("4"));
        QVERIFY(Button("4")->isChecked() && ActionsOn(false) && window->GetCurrentView()->GetEffectId() == 4);
        QCOMPARE(Find<QLabel>("lblVersion")->text(), QStringLiteral(" 2.4.1-beta"));
        const bool german = QLocale::system().name().startsWith(QLatin1String("de"));
        QCOMPARE(Find("applyButton")->text() + Button("2")->text(), german ? "ANWENDENAtmen" : "APPLYBreathing");
        QVERIFY(Button("7"));
        QPointer<LumetBaseView> view = window->GetCurrentView();
        for (const char* reported : {"07", "77"}) {
            window->OnViewStateChanged();
            service->status = Status(reported);
            QTest::mouseClick(Find("undoButton"), Qt::LeftButton);
            QVERIFY2(window->GetCurrentView() == view.data(), reported);
            QVERIFY(view->isVisible() && Button("4")->isChecked() && ActionsOn(false));
        }
    }

    void selectingTheCheckedEffectRecreatesItsView()
    {
        Open(Status("4"));
        QPointer<LumetBaseView> first = window->GetCurrentView();
        window->GetEffectButtonGroup()->Select("4");
        LumetBaseView* second = window->GetCurrentView();
        QVERIFY(first.isNull() && ActionsOn(true) && ViewsOnPage() == 1 && second->GetEffectId() == 4);
        // A click on the effect already chosen keeps the view.
        QTest::mouseClick(Button("4"), Qt::LeftButton);
        QCOMPARE(window->GetCurrentView(), second);
    }

    // The whole panel from the keyboard: Tab in reading order round the
    // window, the effect list by Up and Down, the LEDs and a slider by Left
    // and Right, buttons by Space and Enter, and the frame marking the focus
    // only while keys are in use.
    void keyboardWalk()
    {
        Open(Status("1"), true);
        QCOMPARE(Focused(), "effectButton_1"); // the effect in force
        QStringList walk;
        for (int i = 0; i < 10; ++i) {
            Press(Qt::Key_Tab);
            walk << Focused();
        }
        // UNDO and APPLY are off until something changes.
        QCOMPARE(walk, (QStringList{"LumetDeviceDotPushButton", "colorSpanButton", "pure_color_red", "pure_color_green",
                                    "pure_color_blue", "NewLedPalette", "defaultButton", "closeButton", "ledSwitch",
                                    "effectButton_1"}));
        for (int i = 0; i < 3; ++i)
            Press(Qt::Key_Tab, Qt::ShiftModifier);
        LumetFocusFrame* frame = window->GetKeyboardNavigation()->Frame();
        QCOMPARE(Focused(), "defaultButton");
        QVERIFY(frame->isVisible() && frame->geometry() == LumetFocusFrame::FrameRect(Find("defaultButton"), window.get()));
        QTest::mouseClick(Find<QWidget>("pageSyn"), Qt::LeftButton, Qt::NoModifier, QPoint(400, 40));
        QVERIFY(!frame->isVisible());

        // Right picks the next LED as a click would; nothing to apply yet.
        Button("1")->setFocus();
        Press(Qt::Key_Tab);
        Press(Qt::Key_Right);
        auto* dot = qobject_cast<LumetDeviceDotPushButton*>(QApplication::focusWidget());
        QVERIFY(dot && dot->isChecked() && dot->GetLed()->GetKey() == "DIMM_A2" && ActionsOn(false));

        // Down chooses the next effect; Up at the top stays.
        Button("1")->setFocus();
        Press(Qt::Key_Up);
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 1);
        Press(Qt::Key_Down);
        Press(Qt::Key_Down);
        QCOMPARE(Focused(), "effectButton_3");
        QVERIFY(Button("3")->isChecked() && ActionsOn(true) && window->GetCurrentView()->GetEffectId() == 3);

        // Right on the speed slider: one notch.
        auto* slider = window->GetCurrentView()->findChild<LumetSpeedSlider*>();
        for (int i = 0; i < 20 && QApplication::focusWidget() != slider; ++i)
            Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), slider);
        const int notch = slider->sliderPosition();
        Press(Qt::Key_Right);
        QCOMPARE(slider->sliderPosition(), notch + 1);

        // Space on APPLY sends the view's profile; the focus then goes back to
        // the chosen effect, not on to the close button.
        const std::string profile = window->GetCurrentView()->GetXmlProfile();
        service->Forget();
        Find("applyButton")->setFocus();
        Press(Qt::Key_Space);
        QCOMPARE(service->calls, (Calls{"SetProfile", "GetStatus"}));
        QCOMPARE(service->profiles, (Profiles{{"Group", profile}}));
        QTRY_COMPARE(Focused(), "effectButton_1");

        // Enter presses the LED switch; under the mask Tab reaches only the
        // switch and the close button.
        Find("ledSwitch")->setFocus();
        service->Forget();
        Press(Qt::Key_Return);
        QCOMPARE(service->profiles, (Profiles{{"Mainboard", FixedProfile::LedSwitch(false)}}));
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), "ledSwitch");
        Press(Qt::Key_Tab);
        QCOMPARE(Focused(), "closeButton");
    }

    // The window marks the focus itself; the platform's own rectangle, which
    // the Windows style draws round a focused button even after a click,
    // never shows under the panel's style.
    void noPlatformFocusRectangle()
    {
        Open(Status("1"), true);
        LumetEffectButton* button = Button("2");
        const auto looks = [button](QStyle* style) {
            button->setStyle(style);
            button->clearFocus();
            const QImage plain = button->grab().toImage();
            button->setFocus(Qt::TabFocusReason);
            return plain == button->grab().toImage();
        };
        std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
        QVERIFY2(!looks(windows.get()), "the Windows style draws no focus rectangle to leave out");
        LumetStyle panelStyle(QStyleFactory::create(QStringLiteral("Windows")));
        QVERIFY(looks(&panelStyle));
        button->setStyle(nullptr);
    }

    // A screen reader names every control the keyboard can reach, in every view.
    void everyKeyboardStopHasAName()
    {
        Open(Status("1"), true);
        QStringList unnamed;
        int stops = 0;
        for (LumetEffectButton* effect : window->GetEffectButtonGroup()->GetButtons()) {
            QTest::mouseClick(effect, Qt::LeftButton);
            window->OnViewStateChanged(); // UNDO and APPLY on as well
            effect->setFocus();
            QSet<QWidget*> seen;
            for (QWidget* w = QApplication::focusWidget(); w && !seen.contains(w); w = QApplication::focusWidget()) {
                seen.insert(w);
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
                if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed << QStringLiteral("%1 in %2").arg(QLatin1String(w->metaObject()->className()), effect->text());
                Press(Qt::Key_Tab);
            }
            stops += seen.size();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
        QVERIFY(stops > 40);
    }

    // Without a window manager the window follows the pointer by itself,
    // from a press on its free surface until the release.
    void draggingTheFreeSurfaceMovesTheWindow()
    {
        Open(Status("4"), true);
        const QPoint start = window->pos();
        auto* page = Find<QWidget>("pageSyn");
        const auto moveTo = [page](QPoint at) {
            QMouseEvent e(QEvent::MouseMove, at, page->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(page, &e);
        };
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, QPoint(400, 40));
        moveTo(QPoint(430, 60));
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, QPoint(430, 60));
        moveTo(QPoint(400, 40)); // after the release: must not move it back
        QTRY_COMPARE(window->pos(), start + QPoint(30, 20));
    }
};

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(lumet_resources);
    QApplication app(argc, argv);
    LumetTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LumetTest.moc"
