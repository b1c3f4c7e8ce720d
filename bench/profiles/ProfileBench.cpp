// Building and printing each view's profile document from the simulated rig's
// model, per effect, against tinyxml2 parsing and printing the same text:
// what the view and the builder add to the XML library's own work.

#include "bench/common/BenchTiming.h"
#include "app/NumberText.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "service/ServiceBackend.h"
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "ui/views/LumetViewFactory.h"

#include <QApplication>
#include <QFile>

#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The rig's two documents, served from memory: no D-Bus in these figures.
class FixtureService : public ServiceBackend
{
public:
    std::string capability;
    std::string status;
    void SetProfile(const std::u16string&, const std::u16string&) override {}
    std::u16string Exchange(const std::u16string&) override { return std::u16string(); }
    std::u16string GetStatus() override { return ServiceText::Widen(status); }
    std::u16string GetCapability() override { return ServiceText::Widen(capability); }
};

std::string ReadSource(const char* path)
{
    QFile file(QStringLiteral(LUMET_SOURCE_DIR "/") + QLatin1String(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(1);
    }
    return file.readAll().toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumet_resources);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 300;

    auto backend = std::make_unique<FixtureService>();
    backend->capability = ReadSource("simulator/data/capability.xml");
    backend->status = ReadSource("simulator/data/status.xml");
    ServiceClient::Instance().SetBackend(std::move(backend));
    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    aggregator->LoadCapabilityModel();
    aggregator->LoadStatusModel();
    DeviceMaster* group = aggregator->GetGroup();

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
