// The effect list: order and identifiers of its buttons, clicks, selection by
// identifier, rebuilds, and the list longer than its column.
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QApplication>
#include <QScrollBar>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

namespace {

struct Selection
{
    DeviceAlignment alignment;
    PowerState ps;
    std::string id;
    std::string name;
};

std::unique_ptr<DeviceMaster> MakeDevice(const std::vector<std::pair<std::string, std::string>>& modes)
{
    auto device = std::make_unique<DeviceMaster>("Group");
    auto list = std::make_unique<ModeList>(device.get());
    for (const auto& mode : modes)
        list->AddMode(std::make_unique<ModeInfo>(mode.first, mode.second));
    device->SetModes(std::move(list));
    return device;
}

std::vector<std::string> Ids(const LumetEffectButtonGroup& group)
{
    std::vector<std::string> ids;
    for (const LumetEffectButton* button : group.GetButtons())
        ids.push_back(button->GetEffectId());
    return ids;
}

} // namespace

class EffectButtonGroupTest : public QObject
{
    Q_OBJECT

private:
    QWidget page;
    LumetEffectButtonGroup* group = nullptr;
    std::vector<Selection> selections;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(lumet_resources);
    }

    void init()
    {
        page.resize(860, 700);
        group = new LumetEffectButtonGroup(&page, -1);
        connect(group, &LumetEffectButtonGroup::EffectSelected, this,
                [this](DeviceAlignment a, PowerState ps, std::string id, std::string name) {
                    selections.push_back({a, ps, id, name});
                });
        group->show();
        page.show();
        selections.clear();
    }

    void cleanup()
    {
        delete group;
        group = nullptr;
    }

    void listsEffectsInNumericOrderWithPlainIdentifiers()
    {
        auto device = MakeDevice({{"10", "Double Comet"}, {"2", "Breathing"}, {"07", "Seven"}, {"1", "Static"},
                                  {"x", "Not a number"}, {"-3", "Negative"}});
        group->Update(device.get(), 1, true);

        QCOMPARE(Ids(*group), (std::vector<std::string>{"-3", "1", "2", "7", "10"}));
        QCOMPARE(group->geometry(), QRect(0, 97, 181, 603));
        QCOMPARE(group->GetDevice(), device.get());
        const LumetEffectButton* comet = group->GetButtons().back();
        QCOMPARE(comet->GetEffectName(), std::string("Double Comet"));
        QCOMPARE(comet->text(), QStringLiteral("Double Comet"));
        for (const LumetEffectButton* button : group->GetButtons()) {
            QCOMPARE(button->size(), QSize(179, 33));
            QVERIFY(button->isCheckable() && button->autoExclusive() && button->isFlat());
            QVERIFY(!button->isChecked());
        }
        // Stacked without gaps from the top of the column.
        QCOMPARE(group->GetButtons()[0]->y(), 0);
        QCOMPARE(group->GetButtons()[1]->y(), 33);
        QVERIFY(selections.empty());
    }

    void deviceWithoutModesShowsNothingAndSelectsNothing()
    {
        DeviceMaster bare("Group");
        group->Update(&bare, 1, true);
        QVERIFY(group->GetButtons().empty());
        group->Select("1");
        QVERIFY(selections.empty());
        group->Update(nullptr, 1, true);
        QVERIFY(group->GetButtons().empty());
    }

    void clickAnnouncesOnceUntilAnotherEffectIsChosen()
    {
        auto device = MakeDevice({{"1", "Static"}, {"2", "Breathing"}});
        group->Update(device.get(), 1, true);
        LumetEffectButton* first = group->GetButtons()[0];
        LumetEffectButton* second = group->GetButtons()[1];

        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(selections.size(), size_t(1));
        QCOMPARE(selections[0].alignment, -1);
        QCOMPARE(selections[0].ps, 1);
        QCOMPARE(selections[0].id, std::string("2"));
        QCOMPARE(selections[0].name, std::string("Breathing"));
        QVERIFY(second->isChecked());
        QCOMPARE(group->GetSelected(), second);

        // The chosen effect again: nothing, so the window keeps its view.
        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(selections.size(), size_t(1));
        QVERIFY(second->isChecked());

        QTest::mouseClick(first, Qt::LeftButton);
        QCOMPARE(selections.size(), size_t(2));
        QCOMPARE(selections[1].id, std::string("1"));
        QVERIFY(first->isChecked() && !second->isChecked());

        // Once the window has lost the view, the checked button answers again.
        group->ForgetSelection();
        QTest::mouseClick(first, Qt::LeftButton);
        QCOMPARE(selections.size(), size_t(3));
    }

    void selectComparesIdentifiersExactly()
    {
        auto device = MakeDevice({{"1", "Static"}, {"10", "Double Comet"}, {"101", "Sleep"}});
        group->Update(device.get(), 1, true);
        QSignalSpy clicks(group->GetButtons()[0], &QPushButton::clicked);

        group->Select("01");
        group->Select("1 ");
        group->Select("");
        QVERIFY(selections.empty());
        QVERIFY(!group->GetButtons()[0]->isChecked());

        group->Select("10");
        QCOMPARE(selections.size(), size_t(1));
        QCOMPARE(selections[0].id, std::string("10"));
        QVERIFY(group->GetButtons()[1]->isChecked());
        QCOMPARE(group->GetSelected(), group->GetButtons()[1]);

        // Selecting the checked effect again still announces it, so the window
        // recreates its view from the model.
        group->Select("10");
        QCOMPARE(selections.size(), size_t(2));

        // An effect the list does not carry leaves the check mark alone.
        group->Select("19");
        QCOMPARE(selections.size(), size_t(2));
        QVERIFY(group->GetButtons()[1]->isChecked());
        QCOMPARE(clicks.count(), 0);
    }

    void updateWithoutRebuildKeepsButtonsAndCheckMark()
    {
        auto device = MakeDevice({{"1", "Static"}, {"2", "Breathing"}});
        group->Update(device.get(), 1, true);
        group->Select("2");
        const std::vector<LumetEffectButton*> before = group->GetButtons();

        auto replacement = MakeDevice({{"5", "Rainbow"}});
        group->Update(replacement.get(), 2, false);
        QCOMPARE(group->GetButtons(), before);
        QVERIFY(before[1]->isChecked());
        QCOMPARE(group->GetDevice(), replacement.get());
        group->Select("2");
        QCOMPARE(selections.back().ps, 2);

        group->Update(replacement.get(), 1, true);
        QCOMPARE(Ids(*group), std::vector<std::string>{"5"});
        QCOMPARE(group->GetSelected(), nullptr);
        QVERIFY(!group->GetButtons()[0]->isChecked());
    }

    void scrollOffsetShowsAWholeItem()
    {
        // Already in view, above the view, below it, and taller than the view.
        QCOMPARE(LumetEffectButtonGroup::ScrollToShow(0, 33, 33, 603), 0);
        QCOMPARE(LumetEffectButtonGroup::ScrollToShow(0, 570, 33, 603), 0);
        QCOMPARE(LumetEffectButtonGroup::ScrollToShow(0, 594, 33, 603), 24);
        QCOMPARE(LumetEffectButtonGroup::ScrollToShow(200, 99, 33, 603), 99);
        QCOMPARE(LumetEffectButtonGroup::ScrollToShow(24, 792, 33, 603), 222);
    }

    void effectsBeyondTheColumnStayReachable()
    {
        std::vector<std::pair<std::string, std::string>> modes;
        for (int i = 1; i <= 25; ++i)
            modes.push_back({std::to_string(i), "Effect " + std::to_string(i)});
        auto device = MakeDevice(modes);
        group->Update(device.get(), 1, true);
        QCOMPARE(group->GetButtons().size(), size_t(25));
        QScrollBar* bar = group->GetScrollBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->maximum(), 25 * 33 - 603);

        const auto shownWhole = [this](const LumetEffectButton* button) {
            const QRect inGroup(button->mapTo(group, QPoint(0, 0)), button->size());
            return group->rect().contains(inGroup);
        };
        LumetEffectButton* last = group->GetButtons().back();
        QVERIFY(!shownWhole(last));

        // Selecting the last effect scrolls it into the column, whole.
        group->Select("25");
        QVERIFY(shownWhole(last));
        QCOMPARE(last->size(), QSize(179, 33));
        QVERIFY(!shownWhole(group->GetButtons().front()));

        // The wheel over a button scrolls back up, a button per notch.
        const int before = bar->value();
        QWheelEvent wheel(QPointF(20, 20), group->mapToGlobal(QPoint(20, 20)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(group->GetButtons()[20], &wheel);
        QCOMPARE(bar->value(), before - 33);

        // A short list again: no bar, back at the top.
        auto shortDevice = MakeDevice({{"1", "Static"}});
        group->Update(shortDevice.get(), 1, true);
        QVERIFY(!bar->isVisible());
        QVERIFY(shownWhole(group->GetButtons().front()));
        QCOMPARE(group->GetButtons().front()->mapTo(group, QPoint(0, 0)), QPoint(0, 0));
    }
};

QTEST_MAIN(EffectButtonGroupTest)
#include "EffectButtonGroupTest.moc"
