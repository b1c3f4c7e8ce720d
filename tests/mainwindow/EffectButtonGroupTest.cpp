// The effect list: order, exact-identifier selection, a list longer than its column.
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "ui/mainwindow/LumetEffectButton.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QScrollBar>
#include <QtTest>

namespace {

using Ids = std::vector<std::string>;

std::unique_ptr<DeviceMaster> MakeDevice(const std::vector<std::pair<std::string, std::string>>& modes)
{
    auto device = std::make_unique<DeviceMaster>("Group");
    auto list = std::make_unique<ModeList>(device.get());
    for (const auto& mode : modes)
        list->AddMode(std::make_unique<ModeInfo>(mode.first, mode.second));
    device->SetModes(std::move(list));
    return device;
}

} // namespace

class EffectButtonGroupTest : public QObject
{
    Q_OBJECT

    QWidget page;
    LumetEffectButtonGroup* group = nullptr;

    LumetEffectButton* Button(int index) const { return group->GetButtons().at(static_cast<size_t>(index)); }

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(lumet_resources);
        page.resize(860, 700);
        page.show();
    }

    void init() { (group = new LumetEffectButtonGroup(&page, -1))->show(); }
    void cleanup() { delete group; }

    void listsEffectsInNumericOrderAndSelectsByExactIdentifier()
    {
        auto device = MakeDevice({{"10", "Double Comet"}, {"2", "Breathing"}, {"07", "Seven"}, {"1", "Static"},
                                  {"x", "Not a number"}, {"-3", "Negative"}});
        std::vector<std::string> announced;
        connect(group, &LumetEffectButtonGroup::EffectSelected, this,
                [&announced](DeviceAlignment, PowerState, std::string id) { announced.push_back(id); });
        group->Update(device.get(), 1, true);
        Ids ids;
        for (const LumetEffectButton* button : group->GetButtons())
            ids.push_back(button->GetEffectId());
        QCOMPARE(ids, (Ids{"-3", "1", "2", "7", "10"}));
        // 179 x 33 each, stacked without gaps from the top of the column.
        QVERIFY(Button(4)->text() == "Double Comet" && Button(4)->geometry() == QRect(0, 4 * 33, 179, 33));
        QVERIFY(announced.empty() && !group->GetSelected());
        // Selection compares identifiers byte for byte.
        for (const char* other : {"01", "1 ", "07", "19"})
            group->Select(other);
        QVERIFY(announced.empty() && !group->GetSelected());
        group->Select("7");
        QCOMPARE(announced, Ids{"7"});
        // Nothing to list: no buttons.
        group->Update(nullptr, 1, true);
        QVERIFY(group->GetButtons().empty());
    }

    void effectsBeyondTheColumnStayReachable()
    {
        std::vector<std::pair<std::string, std::string>> modes;
        for (int i = 1; i <= 25; ++i)
            modes.push_back({std::to_string(i), "Effect " + std::to_string(i)});
        auto device = MakeDevice(modes);
        group->Update(device.get(), 1, true);
        QVERIFY(group->GetScrollBar()->isVisible());
        const auto shownWhole = [this](int index) {
            return group->rect().contains(QRect(Button(index)->mapTo(group, QPoint(0, 0)), Button(index)->size()));
        };
        QVERIFY(!shownWhole(24));

        // A selected effect is scrolled into the column, whole, from either side.
        group->Select("25");
        QVERIFY(shownWhole(24) && !shownWhole(0));
        group->Select("1");
        QVERIFY(shownWhole(0) && !shownWhole(24));
        group->Select("25");
        // A short list again: no bar, back at the top.
        auto shortDevice = MakeDevice({{"1", "Static"}});
        group->Update(shortDevice.get(), 1, true);
        QVERIFY(!group->GetScrollBar()->isVisible());
        QCOMPARE(Button(0)->mapTo(group, QPoint(0, 0)), QPoint(0, 0));
    }
};

QTEST_MAIN(EffectButtonGroupTest)
#include "EffectButtonGroupTest.moc"
