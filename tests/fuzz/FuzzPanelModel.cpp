// The capability or (LUMET_FUZZED_STATUS) the status document as the service
// might send it, loaded beside the other fixture as the main window loads them;
// the profile of every effect's view is then empty or well-formed.

#include "tests/fuzz/FuzzHarness.h"
#include "tests/support/RecordingService.h"

#include "app/NumberText.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "service/ServiceClient.h"
#include "ui/views/LumetViewFactory.h"

#include <QApplication>
#include <QWidget>

#include <tinyxml2.h>

#include <memory>

namespace {

RecordingService* service = nullptr;
QWidget* page = nullptr;

void CheckProfile(const std::string& profile)
{
    tinyxml2::XMLDocument check;
    if (!profile.empty() && check.Parse(profile.c_str()) != tinyxml2::XML_SUCCESS)
        FuzzHarness::Fail("a built profile does not parse", profile);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("fuzz"), nullptr};
    new QApplication(argc, argv);
    page = new QWidget;
    auto backend = std::make_unique<RecordingService>();
    service = backend.get();
    service->capability = FuzzHarness::Fixture("simulator/data/capability.xml");
    service->status = FuzzHarness::Fixture("simulator/data/status.xml");
    ServiceClient::Instance().SetBackend(std::move(backend));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
#ifdef LUMET_FUZZED_STATUS
    service->status = FuzzHarness::Input(data, size);
#else
    service->capability = FuzzHarness::Input(data, size);
#endif
    service->Forget();

    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    try {
        aggregator->LoadCapabilityModel();
    } catch (const std::string&) {
        return 0; // the no-group refusal: the panel shows it and ends
    }
    aggregator->LoadStatusModel();
    DeviceMaster* group = aggregator->GetGroup();
    if (!group || !group->GetModes())
        return 0;
    // Every effect's view, as the user's clicks would show them, on the loaded model.
    for (const ModeInfo* mode : group->GetModes()->GetModes()) {
        const int effect = NumberText::ParseInt(mode->GetKey()).value_or(0);
        std::unique_ptr<LumetBaseView> view(LumetViewFactory::GetInstance()->CreateView(page, group, -1, 1, effect));
        view->ShowView(false);
        CheckProfile(view->GetXmlProfile());
    }
    return 0;
}
