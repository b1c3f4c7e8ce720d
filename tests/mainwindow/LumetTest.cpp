// The main window against a recording lighting service: its widgets, what
// APPLY, DEFAULT, UNDO and the LED switch send, how the effect list and the
// current view follow the models, and the two ways construction ends the
// process (checked in child processes of this test).
#include "RecordingService.h"
#include "RigDocuments.h"

#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/LedInfo.h"
#include "profile/FixedProfile.h"
#include "service/ServiceClient.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"
#include "ui/mainwindow/LumetResetClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <memory>

namespace {

using Profile = RecordingService::Profile;

// Installs a fresh recording service and returns it (the client owns it).
RecordingService* InstallService()
{
    auto service = std::make_unique<RecordingService>();
    RecordingService* raw = service.get();
    ServiceClient::Instance().SetBackend(std::move(service));
    return raw;
}

LumetEffectButton* ButtonFor(const Lumet& window, const std::string& id)
{
    for (LumetEffectButton* button : window.GetEffectButtonGroup()->GetButtons())
        if (button->GetEffectId() == id)
            return button;
    return nullptr;
}

QList<LumetBaseView*> ViewsOnPage(const Lumet& window)
{
    return window.findChild<QWidget*>(QStringLiteral("pageSyn"))->findChildren<LumetBaseView*>();
}

bool WriteRegistry(const QString& path, const QByteArray& body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write("Windows Registry Editor Version 5.00\r\n\r\n" + body);
    file.close();
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

class LumetTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;
    RecordingService* service = nullptr;
    std::unique_ptr<Lumet> window;
    // Process time just after the last accepted DEFAULT (0: none yet).
    qint64 lastDefault = 0;

    template <typename T> T* Find(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }

    void Open(const std::string& status, const RigDocuments::Modes& modes = RigDocuments::DefaultModes())
    {
        service->capability = RigDocuments::Capability(modes);
        service->status = status;
        window = std::make_unique<Lumet>(nullptr, false, false, false);
        window->show();
    }

    // DEFAULT refuses a second reset within a second of the last one.
    void WaitForResetWindow()
    {
        QTRY_VERIFY_WITH_TIMEOUT(LumetResetClock::Now() - lastDefault >= 1000, 3000);
    }

    void ClickDefault()
    {
        QTest::mouseClick(Find<QPushButton>("defaultButton"), Qt::LeftButton);
        lastDefault = LumetResetClock::Now();
    }

    bool ActionsEnabled(bool enabled) const
    {
        return Find<QPushButton>("applyButton")->isEnabled() == enabled
            && Find<QPushButton>("undoButton")->isEnabled() == enabled;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(scratch.filePath(QStringLiteral("absent.reg"))));
        service = InstallService();
        Lumet::SetApplySettleTime(0);

        // The first second after start refuses DEFAULT as well.
        Open(RigDocuments::Status("4"));
        service->Forget();
        QTest::mouseClick(Find<QPushButton>("defaultButton"), Qt::LeftButton);
        if (LumetResetClock::Now() < 1000)
            QVERIFY(service->calls.empty());
        else
            qWarning("started too slowly to see DEFAULT refused in the first second");
        window.reset();
    }

    void cleanup()
    {
        window.reset();
        service->Forget();
    }

    void resetClockAcceptsOneResetPerWholeSecond()
    {
        QVERIFY(!LumetResetClock::Accepts(0, 0));
        QVERIFY(!LumetResetClock::Accepts(999, 0));
        QVERIFY(LumetResetClock::Accepts(1000, 0));
        QVERIFY(!LumetResetClock::Accepts(5999, 5000));
        QVERIFY(LumetResetClock::Accepts(6000, 5000));
        // Hours in, far beyond where a 32-bit millisecond count would wrap.
        QVERIFY(LumetResetClock::Accepts(qint64(1) << 33, (qint64(1) << 33) - 1000));
    }

    void constructionBuildsTheWindowAndShowsTheReportedEffect()
    {
        Open(RigDocuments::Status("4"));

        QCOMPARE(window->objectName(), QStringLiteral("LumetClass"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Vornlight Beta"));
        QCOMPARE(window->size(), QSize(860, 700));
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);

        auto* central = Find<QWidget>("centralWidget");
        QCOMPARE(window->centralWidget(), central);
        auto* pages = Find<QStackedWidget>("alignmentPages");
        auto* page = Find<QWidget>("pageSyn");
        QCOMPARE(pages->currentWidget(), page);

        struct Expected
        {
            const char* name;
            QWidget* parent;
            QRect geometry;
        };
        const Expected widgets[] = {
            {"applyButton", central, {724, 642, 112, 26}},   {"defaultButton", central, {476, 642, 112, 26}},
            {"undoButton", central, {600, 642, 112, 26}},    {"alignmentPages", central, {0, 0, 860, 700}},
            {"lblStraight_Line_Mix", page, {181, 97, 2, 595}}, {"lblLink_Line01", page, {181, 203, 678, 1}},
            {"lblLink_Bg01", page, {183, 99, 674, 103}},      {"lblVersion", page, {724, 680, 112, 12}},
            {"closeButton", central, {828, 8, 22, 22}},       {"ledSwitch", central, {750, 70, 102, 20}},
            {"bg_mask", central, {0, 0, 860, 700}},
        };
        for (const Expected& e : widgets) {
            auto* w = Find<QWidget>(e.name);
            QVERIFY2(w, e.name);
            QVERIFY2(w->parentWidget() == e.parent, e.name);
            QVERIFY2(w->geometry() == e.geometry, e.name);
        }
        for (const char* label : {"lblStraight_Line_Mix", "lblLink_Line01", "lblLink_Bg01", "lblVersion", "bg_mask"})
            QVERIFY2(Find<QLabel>(label), label);

        // Bottom to top.
        QStringList stacking;
        for (QObject* child : central->children())
            if (child->isWidgetType())
                stacking << child->objectName();
        QCOMPARE(stacking, (QStringList{"alignmentPages", "applyButton", "defaultButton", "undoButton", "bg_mask",
                                        "ledSwitch", "closeButton"}));

        auto* ledSwitch = Find<QPushButton>("ledSwitch");
        QVERIFY(ledSwitch->isCheckable() && ledSwitch->isChecked() && ledSwitch->isFlat());
        QVERIFY(!ledSwitch->autoDefault() && !ledSwitch->isDefault());
        QCOMPARE(ledSwitch->minimumSize(), QSize(102, 20));
        QCOMPARE(ledSwitch->maximumSize(), QSize(102, 20));
        QVERIFY(Find<QLabel>("bg_mask")->isHidden());
        QVERIFY(Find<QLabel>("lblVersion")->text().isEmpty());
        QCOMPARE(Find<QLabel>("lblVersion")->alignment(), Qt::AlignCenter);

        // The effect list is the group's, and the reported effect is shown;
        // the status change at the end leaves APPLY and UNDO disabled.
        LumetEffectButtonGroup* list = window->GetEffectButtonGroup();
        QCOMPARE(list->parentWidget(), page);
        QCOMPARE(list->GetButtons().size(), RigDocuments::DefaultModes().size());
        QVERIFY(ButtonFor(*window, "4")->isChecked());
        QVERIFY(window->GetCurrentView());
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 4);
        QCOMPARE(window->GetCurrentView()->parentWidget(), page);
        QVERIFY(window->GetCurrentView()->isVisible());
        QVERIFY(ActionsEnabled(false));
        QVERIFY(Find<QPushButton>("defaultButton")->isEnabled());
        QVERIFY(!window->GetReselectEffectOnStatusChange());
        QVERIFY(window->GetRebuildEffectsOnCapabilityChange());

        QCOMPARE(service->calls, (std::vector<std::string>{"GetCapability", "GetStatus"}));
    }

    void versionLabelShowsTheInstalledVersion()
    {
        const QString path = scratch.filePath(QStringLiteral("installed.reg"));
        QVERIFY(WriteRegistry(path, "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                                    "{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}]\r\n\"DisplayVersion\"=\" 2.4.1-beta\"\r\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\ORVEL\\LUMET]\r\n\"needReboot\"=\"\"\r\n"));
        const QByteArray previous = qgetenv("VORNLIGHT_REGISTRY");
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(path));
        Open(RigDocuments::Status("4"));
        qputenv("VORNLIGHT_REGISTRY", previous);
        // Shown as stored, and an empty "needReboot" is no pending reboot.
        QCOMPARE(Find<QLabel>("lblVersion")->text(), QStringLiteral(" 2.4.1-beta"));
    }

    void buttonsSpeakTheSystemLanguage()
    {
        Open(RigDocuments::Status("4"));
        const bool german = QLocale::system().name().startsWith(QLatin1String("de"));
        QCOMPARE(Find<QPushButton>("applyButton")->text(), german ? QStringLiteral("ANWENDEN") : QStringLiteral("APPLY"));
        QCOMPARE(Find<QPushButton>("undoButton")->text(),
                 german ? QStringLiteral("RÜCKGÄNGIG") : QStringLiteral("UNDO"));
        QCOMPARE(Find<QPushButton>("defaultButton")->text(),
                 german ? QStringLiteral("STANDARD") : QStringLiteral("DEFAULT"));
        QCOMPARE(ButtonFor(*window, "2")->text(), german ? QStringLiteral("Atmen") : QStringLiteral("Breathing"));
        QCOMPARE(ButtonFor(*window, "2")->GetEffectName(), std::string("Breathing"));

        // Texts the views get from elsewhere are translated as well.
        const auto shows = [this](const QString& text) {
            for (const QLabel* label : window->GetCurrentView()->findChildren<QLabel*>())
                if (label->text() == text)
                    return true;
            for (const QAbstractButton* button : window->GetCurrentView()->findChildren<QAbstractButton*>())
                if (button->text() == text)
                    return true;
            return false;
        };
        QVERIFY(shows(german ? QStringLiteral("Dieser Effekt braucht keine Eingaben. Wählen Sie ANWENDEN, um ihn zu "
                                              "aktivieren.")
                             : QStringLiteral("This effect does not require user input. Select APPLY to activate the "
                                              "effect.")));
        QTest::mouseClick(ButtonFor(*window, "6"), Qt::LeftButton);
        QVERIFY(shows(german ? QStringLiteral("[Unbekannter Effekt]") : QStringLiteral("[Unknown effect]")));
        QTest::mouseClick(ButtonFor(*window, "1"), Qt::LeftButton);
        QVERIFY(shows(german ? QStringLiteral("FARBE") : QStringLiteral("COLOR")));
        QVERIFY(shows(german ? QStringLiteral("Umkehren") : QStringLiteral("Reverse")));
    }

    void applySendsTheViewProfileThenReadsTheStatusBack()
    {
        Open(RigDocuments::Status("4"));
        DeviceMaster* group = DeviceAggregator::Instance()->GetGroup();
        LedInfo* led = group->GetLeds().front();
        led->SetPosition(5, 5);
        led->SetPosition(9, 9);
        QCOMPARE(led->GetSavedPosition(), (LedInfo::Point{5, 5}));
        service->Forget();

        QTest::mouseClick(ButtonFor(*window, "101"), Qt::LeftButton);
        QVERIFY(ActionsEnabled(true));
        QPointer<LumetBaseView> sleepView = window->GetCurrentView();
        QCOMPARE(sleepView->GetEffectId(), 101);
        const std::string expected = sleepView->GetXmlProfile();
        QVERIFY(expected.find("<funcid>4</funcid>") != std::string::npos);
        QVERIFY(expected.find("<mode key=\"101\">") != std::string::npos);

        service->status = RigDocuments::Status("101");
        QTest::mouseClick(Find<QPushButton>("applyButton"), Qt::LeftButton);

        QCOMPARE(service->calls, (std::vector<std::string>{"SetProfile", "GetStatus"}));
        QCOMPARE(service->profiles, (std::vector<Profile>{{"Group", expected}}));
        // Positions committed, a fresh view of the reported effect, buttons off.
        QCOMPARE(led->GetSavedPosition(), (LedInfo::Point{9, 9}));
        QVERIFY(sleepView.isNull());
        QVERIFY(window->GetCurrentView());
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 101);
        QCOMPARE(ViewsOnPage(*window).size(), 1);
        QVERIFY(ActionsEnabled(false));
    }

    void applyWithAnEmptyProfileSendsNothingButReloads()
    {
        // Effect 6 has no view of its own: the message view builds nothing.
        Open(RigDocuments::Status("6"));
        QCOMPARE(window->GetCurrentView()->GetXmlProfile(), std::string());
        window->OnViewStateChanged();
        QVERIFY(ActionsEnabled(true));
        service->Forget();

        QTest::mouseClick(Find<QPushButton>("applyButton"), Qt::LeftButton);
        QCOMPARE(service->calls, std::vector<std::string>{"GetStatus"});
        QVERIFY(ActionsEnabled(false));
        QCOMPARE(ButtonFor(*window, "6")->isChecked(), true);
    }

    void defaultResetsReloadsBothModelsAndKeepsTheButtons()
    {
        Open(RigDocuments::Status("4"));
        const std::vector<LumetEffectButton*> buttons = window->GetEffectButtonGroup()->GetButtons();
        QPointer<LumetBaseView> before = window->GetCurrentView();
        WaitForResetWindow();
        service->Forget();
        service->status = RigDocuments::Status("101");

        ClickDefault();
        QCOMPARE(service->calls, (std::vector<std::string>{"SetProfile", "GetCapability", "GetStatus"}));
        QCOMPARE(service->profiles, (std::vector<Profile>{{FixedProfile::TargetKey, FixedProfile::ResetAll()}}));
        QCOMPARE(service->profiles[0].key, std::string("Mainboard"));
        // Buttons kept, the newly reported effect selected in a fresh view.
        QCOMPARE(window->GetEffectButtonGroup()->GetButtons(), buttons);
        QVERIFY(!window->GetRebuildEffectsOnCapabilityChange());
        QVERIFY(ButtonFor(*window, "101")->isChecked());
        QVERIFY(before.isNull());
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 101);
        QCOMPARE(window->GetCurrentView()->GetDeviceMaster(), DeviceAggregator::Instance()->GetGroup());
        QVERIFY(ActionsEnabled(false));

        // A second DEFAULT within the second is ignored.
        service->Forget();
        QTest::mouseClick(Find<QPushButton>("defaultButton"), Qt::LeftButton);
        QVERIFY(service->calls.empty());

        // Later ones go through, still without rebuilding the list.
        WaitForResetWindow();
        ClickDefault();
        QCOMPARE(service->calls.size(), size_t(3));
        QCOMPARE(window->GetEffectButtonGroup()->GetButtons(), buttons);
    }

    void defaultToAnUnknownEffectLeavesNoViewIntoTheOldModel()
    {
        Open(RigDocuments::Status("101"));
        QPointer<LumetBaseView> before = window->GetCurrentView();
        QVERIFY(before);
        WaitForResetWindow();
        service->status = RigDocuments::Status("77");

        ClickDefault();
        QVERIFY(before.isNull());
        QCOMPARE(window->GetCurrentView(), nullptr);
        QVERIFY(ViewsOnPage(*window).isEmpty());
        // Repainting now must not reach any freed record.
        window->repaint();

        // The old check mark stays, and clicking it brings the view back.
        LumetEffectButton* sleep = ButtonFor(*window, "101");
        QVERIFY(sleep->isChecked());
        QTest::mouseClick(sleep, Qt::LeftButton);
        QVERIFY(window->GetCurrentView());
        QCOMPARE(window->GetCurrentView()->GetDeviceMaster(), DeviceAggregator::Instance()->GetGroup());
        QVERIFY(!window->GetCurrentView()->GetXmlProfile().empty());
    }

    void undoDiscardsChangesByReloadingTheStatus()
    {
        Open(RigDocuments::Status("4"));
        DeviceAggregator* aggregator = DeviceAggregator::Instance();
        LedInfo* groupLed = aggregator->GetGroup()->GetLeds().front();
        groupLed->SetPosition(3, 3);
        groupLed->SetPosition(8, 8);
        LedInfo* boardLed = aggregator->GetDeviceIndex().at("Mainboard")->GetLeds().front();
        boardLed->SetPosition(1, 1);
        boardLed->SetPosition(2, 2);
        QPointer<LumetBaseView> before = window->GetCurrentView();
        window->OnViewStateChanged();
        service->Forget();

        QTest::mouseClick(Find<QPushButton>("undoButton"), Qt::LeftButton);
        QCOMPARE(service->calls, std::vector<std::string>{"GetStatus"});
        QCOMPARE(groupLed->GetPosition(), (LedInfo::Point{3, 3}));
        QCOMPARE(boardLed->GetPosition(), (LedInfo::Point{1, 1}));
        QVERIFY(before.isNull());
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 4);
        QVERIFY(ActionsEnabled(false));
    }

    void ledSwitchSendsOneDocumentPerToggleAndMasksTheWindow()
    {
        Open(RigDocuments::Status("4"));
        QPointer<LumetBaseView> view = window->GetCurrentView();
        auto* ledSwitch = Find<QPushButton>("ledSwitch");
        auto* mask = Find<QLabel>("bg_mask");
        service->Forget();

        QTest::mouseClick(ledSwitch, Qt::LeftButton);
        QVERIFY(!ledSwitch->isChecked());
        QVERIFY(mask->isVisible());
        QCOMPARE(service->profiles, (std::vector<Profile>{{"Mainboard", FixedProfile::LedSwitch(false)}}));
        // The switch and the close button stay above the mask.
        const QObjectList order = Find<QWidget>("centralWidget")->children();
        QVERIFY(order.indexOf(mask) < order.indexOf(ledSwitch));
        QVERIFY(order.indexOf(ledSwitch) < order.indexOf(Find<QPushButton>("closeButton")));
        QCOMPARE(window->childAt(800, 80), ledSwitch);
        QCOMPARE(window->childAt(400, 400), mask);

        QTest::mouseClick(ledSwitch, Qt::LeftButton);
        QVERIFY(ledSwitch->isChecked());
        QVERIFY(mask->isHidden());
        QCOMPARE(service->profiles, (std::vector<Profile>{{"Mainboard", FixedProfile::LedSwitch(false)},
                                                          {"Mainboard", FixedProfile::LedSwitch(true)}}));
        QCOMPARE(service->calls.size(), size_t(2));
        QCOMPARE(window->GetCurrentView(), view.data());
    }

    void ledsReportedOffAtStartShowTheMaskAndSendOffOnce()
    {
        Open(RigDocuments::Status("4", false));
        QCOMPARE(service->calls, (std::vector<std::string>{"GetCapability", "GetStatus", "SetProfile"}));
        QCOMPARE(service->profiles, (std::vector<Profile>{{"Mainboard", FixedProfile::LedSwitch(false)}}));
        QVERIFY(!Find<QPushButton>("ledSwitch")->isChecked());
        QVERIFY(Find<QLabel>("bg_mask")->isVisible());
    }

    void statusNamingAnEffectWithoutAButtonKeepsTheView()
    {
        // "07" is listed as 7, so a status naming "07" matches no button; 77
        // is not offered at all.
        RigDocuments::Modes modes = RigDocuments::DefaultModes();
        modes.push_back({"07", "Seven"});
        Open(RigDocuments::Status("4"), modes);
        QVERIFY(ButtonFor(*window, "7"));
        QPointer<LumetBaseView> view = window->GetCurrentView();

        for (const char* reported : {"07", "77"}) {
            window->OnViewStateChanged();
            service->status = RigDocuments::Status(reported);
            QTest::mouseClick(Find<QPushButton>("undoButton"), Qt::LeftButton);
            QVERIFY2(window->GetCurrentView() == view.data(), reported);
            QVERIFY(view->isVisible());
            QVERIFY(ButtonFor(*window, "4")->isChecked());
            QVERIFY(ActionsEnabled(false));
            QVERIFY(!window->GetReselectEffectOnStatusChange());
        }
    }

    void statusWithoutAnAsLoadedGroupSettingSelectsNothing()
    {
        Open(RigDocuments::StatusWithoutGroupScene());
        QCOMPARE(window->GetCurrentView(), nullptr);
        QVERIFY(ActionsEnabled(false));
        for (LumetEffectButton* button : window->GetEffectButtonGroup()->GetButtons())
            QVERIFY(!button->isChecked());

        // A later status that names an effect selects it as usual.
        service->status = RigDocuments::Status("101");
        window->OnUndoClicked();
        QVERIFY(window->GetCurrentView());
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 101);
    }

    void selectingTheCheckedEffectRecreatesItsView()
    {
        Open(RigDocuments::Status("4"));
        QPointer<LumetBaseView> first = window->GetCurrentView();
        window->GetEffectButtonGroup()->Select("4");
        QVERIFY(first.isNull());
        QVERIFY(window->GetCurrentView());
        QCOMPARE(window->GetCurrentView()->GetEffectId(), 4);
        QCOMPARE(ViewsOnPage(*window).size(), 1);
        QVERIFY(ActionsEnabled(true));

        // A click on the effect already chosen keeps the view.
        LumetBaseView* second = window->GetCurrentView();
        QTest::mouseClick(ButtonFor(*window, "4"), Qt::LeftButton);
        QCOMPARE(window->GetCurrentView(), second);
    }

    void draggingTheFreeSurfaceMovesTheWindow()
    {
        Open(RigDocuments::Status("4"));
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->move(100, 100);
        const QPoint start = window->pos();
        auto* page = Find<QWidget>("pageSyn");
        const QPoint grip(400, 40);

        // The page ignores the press, so the window takes it.
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, grip);
        QMouseEvent moveEvent(QEvent::MouseMove, grip + QPoint(30, 20), page->mapToGlobal(grip + QPoint(30, 20)),
                              Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &moveEvent);
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, grip + QPoint(30, 20));
        QTRY_COMPARE(window->pos(), start + QPoint(30, 20));

        // Moves after the release, or a drag with the right button, do nothing.
        QMouseEvent later(QEvent::MouseMove, grip, page->mapToGlobal(grip), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(page, &later);
        QTest::mousePress(page, Qt::RightButton, Qt::NoModifier, grip);
        QMouseEvent rightMove(QEvent::MouseMove, grip + QPoint(50, 50), page->mapToGlobal(grip + QPoint(50, 50)),
                              Qt::NoButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(page, &rightMove);
        QTest::mouseRelease(page, Qt::RightButton, Qt::NoModifier, grip);
        QCOMPARE(window->pos(), start + QPoint(30, 20));
    }

    void closeButtonEndsTheEventLoop()
    {
        Open(RigDocuments::Status("4"));
        QTimer::singleShot(0, this, [this] { QTest::mouseClick(Find<QPushButton>("closeButton"), Qt::LeftButton); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // The fatal paths end the process, so they run in a child of this test.
    void fatalPaths_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("report");
        const QString noGroup = QStringLiteral(
            "Error|No ARDEX RGB DRAM module(s) found on your computer system!\n\nProgram will be terminated.|"
            "critical|views 0");
        QTest::newRow("no group at start") << "no-group-start" << 255 << noGroup;
        QTest::newRow("no group after DEFAULT") << "no-group-default" << 255 << noGroup;
        QTest::newRow("reboot pending") << "reboot" << 0
                                        << "WARNING|Please reboot your computer to complete the installation.|"
                                           "warning|views 0";
    }

    void fatalPaths()
    {
        QFETCH(QString, scenario);
        QFETCH(int, exitCode);
        QFETCH(QString, report);

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
        env.insert(QStringLiteral("VORNLIGHT_REGISTRY"), scratch.filePath(scenario + QStringLiteral(".reg")));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--fatal-scenario"), scenario});
        QVERIFY(child.waitForFinished(30000));
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit, qPrintable(child.readAllStandardError()));
        QCOMPARE(child.exitCode(), exitCode);
        QCOMPARE(out.count(QStringLiteral("BOX|")), 1);
        QVERIFY2(out.contains(QStringLiteral("BOX|") + report + QLatin1Char('\n')), qPrintable(out));
        if (scenario == QLatin1String("reboot"))
            QVERIFY2(out.contains(QStringLiteral("calls: \n")), qPrintable(out));
    }
};

namespace {

// Child side of fatalPaths: answers the message box like a user, reporting
// its title, text and icon, and what the service saw before.
int RunFatalScenario(const QString& scenario, int argc, char** argv)
{
    QApplication app(argc, argv);
    RecordingService* service = InstallService();
    service->capability = RigDocuments::Capability();
    service->status = RigDocuments::Status("101");

    if (scenario == QLatin1String("reboot")) {
        QFile reg(QString::fromLocal8Bit(qgetenv("VORNLIGHT_REGISTRY")));
        if (!reg.open(QIODevice::WriteOnly))
            return 3;
        reg.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\ORVEL\\LUMET]\r\n"
                  "\"needReboot\"=\"0\"\r\n");
        reg.close();
        reg.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    if (scenario == QLatin1String("no-group-start"))
        service->capability = RigDocuments::CapabilityWithoutGroup();

    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [service] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        int views = 0;
        for (QWidget* w : QApplication::allWidgets())
            views += qobject_cast<LumetBaseView*>(w) ? 1 : 0;
        std::string calls;
        for (const std::string& call : service->calls)
            calls += call + " ";
        const char* icon = box->icon() == QMessageBox::Critical ? "critical"
            : box->icon() == QMessageBox::Warning               ? "warning"
                                                                : "other";
        std::printf("BOX|%s|%s|%s|views %d\ncalls: %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()), icon,
                    views, calls.empty() ? "" : calls.c_str());
        std::fflush(stdout);
        box->button(QMessageBox::Ok)->click();
    });
    watcher.start(20);

    auto* window = new Lumet(nullptr, false, false, false);
    window->show();
    if (scenario == QLatin1String("no-group-default")) {
        while (LumetResetClock::Now() < 1100)
            QTest::qWait(50);
        service->capability = RigDocuments::CapabilityWithoutGroup();
        window->findChild<QPushButton*>(QStringLiteral("defaultButton"))->click();
    }
    std::printf("still running\n");
    return 4;
}

} // namespace

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(lumet_resources);
    if (argc == 3 && qstrcmp(argv[1], "--fatal-scenario") == 0)
        return RunFatalScenario(QString::fromLatin1(argv[2]), 1, argv);
    QApplication app(argc, argv);
    LumetTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LumetTest.moc"
