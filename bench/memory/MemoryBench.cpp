// A long session with the real main window against the simulated service:
// the LED switch toggled and APPLY pressed (without the settle time, every
// effect in turn) a thousand times each, events handled after each step. The
// figure is the growth of resident memory after the first 50 steps of each
// kind, which fill the caches made once (the mask's and views' first pictures).

#include "bench/common/BenchSession.h"
#include "bench/common/BenchTiming.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "ui/mainwindow/Lumet.h"
#include "ui/mainwindow/LumetEffectButtonGroup.h"

#include <QApplication>
#include <QPushButton>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The whole process's resident memory in MiB.
double ResidentMiB()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The growth of resident memory from the 50th step to the last, with the heap
// in use beside it every 250 steps.
double GrowthMiB(const char* name, int steps, const std::function<void(int)>& step)
{
    constexpr int warmUp = 50;
    double start = 0;
    for (int i = 1; i <= steps; ++i) {
        step(i);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (i == warmUp)
            start = ResidentMiB();
        if (i == warmUp || i % 250 == 0)
            std::printf("  %-18s %5d: %7.2f MiB resident, heap in use %6.2f MiB\n", name, i, ResidentMiB(),
                        static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0));
    }
    return ResidentMiB() - start;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace BenchTiming;
    const int steps = Runs(argc, argv, 1000);
    BenchSession session;
    if (!session.Start())
        return 1;

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    Lumet::SetApplySettleTime(0);
    Lumet window(nullptr, false, false, false);
    window.show();
    QCoreApplication::processEvents();
    auto* ledSwitch = window.findChild<QPushButton*>(QStringLiteral("ledSwitch"));
    const DeviceMaster* group = DeviceAggregator::Instance()->GetGroup();
    if (!ledSwitch || !group || !group->GetModes())
        return Fail("the window has no LED switch or no group with effects");
    std::vector<std::string> effects;
    for (const ModeInfo* mode : group->GetModes()->GetModes())
        effects.push_back(mode->GetKey());
    std::printf("%d steps of each kind; the group has %zu effects\n", steps, effects.size());

    const double toggles = GrowthMiB("LED switch", steps, [&](int) { ledSwitch->click(); });
    const double applies = GrowthMiB("APPLY", steps, [&](int i) {
        window.GetEffectButtonGroup()->Select(effects[static_cast<size_t>(i) % effects.size()]);
        window.OnApplyClicked();
    });
    if (!window.GetCurrentView())
        return Fail("APPLY left the window without a view");

    Report("resident growth, LED switch", toggles, "MiB", 1.0, "the goal", "< 1 MiB");
    Report("resident growth, APPLY", applies, "MiB", 1.0, "the goal", "< 1 MiB");
    return 0;
}
