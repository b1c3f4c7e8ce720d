// The real panel (the main window in the offscreen platform, with its own
// D-Bus service client) against vornlight-service and the OpenRGB server:
// the user picks the static effect, pure red, spreads it over every LED and
// applies; a second SDK client reads (255, 0, 0) on every LED of every module.
#include "tests/openrgbrig/OpenRgbRigProcess.h"

#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"
#include "ui/views/LumetBaseView.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class OpenRgbPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void staticRedReachesEveryModuleLed()
    {
        if (OpenRgbServer::Folder().isEmpty())
            QSKIP("the OpenRGB test server is not beside the source tree");
        Q_INIT_RESOURCE(lumet_resources);
        QTemporaryDir scratch;
        // An empty registry: installed nowhere, no reboot pending.
        qputenv("VORNLIGHT_REGISTRY", QFile::encodeName(scratch.filePath(QStringLiteral("none.reg"))));
        OpenRgbRigProcess rig;
        QVERIFY2(rig.Start(), qPrintable(rig.Problem()));

        Lumet::SetApplySettleTime(0);
        Lumet window(nullptr, false, false, false);
        window.show();
        window.GetEffectButtonGroup()->Select("1");
        LumetBaseView* view = window.GetCurrentView();
        QVERIFY(view && view->GetEffectId() == 1);
        auto* red = view->findChild<QPushButton*>(QStringLiteral("pure_color_red"));
        auto* span = view->findChild<QPushButton*>(QStringLiteral("colorSpanButton"));
        QVERIFY(red && span);
        QTest::mouseClick(red, Qt::LeftButton);
        QTest::mouseClick(span, Qt::LeftButton);
        window.OnApplyClicked();
        QVERIFY2(rig.WaitFor([](const OpenRgbRigProcess::Devices& d) {
                     return OpenRgbRigProcess::AllShow(d, OpenRgb::DeviceType::Dram, {255, 0, 0});
                 }),
                 "the modules do not show the panel's red");
        // The panel reads back what it applied.
        QCOMPARE(window.GetCurrentView()->GetEffectId(), 1);
    }
};

QTEST_MAIN(OpenRgbPanelTest)
#include "OpenRgbPanelTest.moc"
