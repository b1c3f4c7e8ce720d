// Building and printing each view's profile document from the simulated rig's
// model, per effect, against tinyxml2 parsing and printing the same text:
// what the view and the builder add to the XML library's own work.

#include "bench/common/BenchTiming.h"
#include "app/NumberText.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "service/ServiceClient.h"
#include "tests/support/RecordingService.h"
#include "ui/views/LumetViewFactory.h"

#include <QApplication>
#include <QFile>

#include <tinyxml2.h>

#include <memory>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    const int runs = BenchTiming::Runs(argc, argv, 300);

    // The rig's two documents, served from memory: no D-Bus in these figures.
    const auto read = [](const char* name) {
        QFile file(QStringLiteral(LUMET_SOURCE_DIR "/simulator/data/") + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    };
    auto backend = std::make_unique<RecordingService>();
    backend->capability = read("capability.xml");
    backend->status = read("status.xml");
    ServiceClient::Instance().SetBackend(std::move(backend));
    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    aggregator->LoadCapabilityModel();
    aggregator->LoadStatusModel();
    DeviceMaster* group = aggregator->GetGroup();
    if (!group)
        return BenchTiming::Fail("the simulator's documents are missing or give no group");

    QWidget page;
    for (const ModeInfo* mode : group->GetModes()->GetModes()) {
        const int id = NumberText::ParseInt(mode->GetKey()).value_or(0);
        std::unique_ptr<LumetBaseView> view(LumetViewFactory::GetInstance()->CreateView(&page, group, -1, 1, id));
        view->ShowView(false);
        const std::string profile = view->GetXmlProfile();
        const std::string name = "profile " + mode->GetKey() + " " + mode->GetName();
        if (profile.empty()) {
            std::printf("%-34s   (no profile: the view sends nothing)\n", name.c_str());
            continue;
        }
        const double buildMs = BenchTiming::MedianMs(runs, [&] { view->GetXmlProfile(); });
        const double libraryMs = BenchTiming::MedianMs(runs, [&] {
            tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
            document.Parse(profile.c_str(), profile.size());
            tinyxml2::XMLPrinter printer;
            document.Print(&printer);
        });
        BenchTiming::Report(name.c_str(), buildMs * 1000.0, "us", libraryMs * 1000.0, "tinyxml2 parse+print",
                            "(figure only)");
    }
    return 0;
}
