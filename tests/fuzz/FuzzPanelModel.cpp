// The capability or (LUMET_FUZZED_STATUS) the status document as the service
// might send it, beside the other fixture, loaded as the main window loads
// them; then every kind of effect profile the views build, and the profile of
// the view the panel would now show, must each be empty or well-formed XML.

#include "tests/fuzz/FuzzHarness.h"
#include "tests/support/RecordingService.h"

#include "app/NumberText.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "profile/EffectProfile.h"
#include "service/ServiceClient.h"
#include "ui/views/LumetViewFactory.h"

#include <QApplication>
#include <QWidget>

#include <tinyxml2.h>

#include <memory>
#include <vector>

namespace {

RecordingService* service = nullptr;
QWidget* page = nullptr;

// The parts of the effect profiles the views send (see EffectProfile.h).
std::vector<EffectProfile::Parts> ViewProfiles()
{
    using P = EffectProfile::Parts;
    using L = EffectProfile::LedValues;
    using G = EffectProfile::GroupBlock;
    return {P(L::Colour), P(L::Colour, G::Strobing()), P(L::Colour, G::Comet()), P(L::Colour, G::Rainbow()),
            P(L::ColourAndSpeed, G::Wave(true)), P(L::ColourAndSpeed, G::Wave(false)), P(L::Dark),
            P(L::None).WithMusicIndex(2), P(L::None).WithEffectSpeed(3)};
}

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
    // Widening bytes narrows back to them: bytes reach all the parsers can get.
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
    if (!group)
        return 0;

    // The effect the status reports, else the group's first (the user's
    // first click); the mode keys are the numbers the capability parse took.
    const EffectSetting* loaded = group->GetGroupSettingLoaded();
    const ModeInfo* mode = loaded ? loaded->mode : nullptr;
    if (!mode && group->GetModes() && !group->GetModes()->GetModes().empty())
        mode = group->GetModes()->GetModes().front();
    if (!mode)
        return 0;
    const int effect = NumberText::ParseInt(mode->GetKey()).value_or(0);
    for (const EffectProfile::Parts& parts : ViewProfiles())
        CheckProfile(EffectProfile::Build(group, group->GetKey(), effect, parts));
    std::unique_ptr<LumetBaseView> view(LumetViewFactory::GetInstance()->CreateView(page, group, -1, 1, effect));
    view->ShowView(false);
    CheckProfile(view->GetXmlProfile());
    return 0;
}
