#include "tests/fuzz/PanelModelDriver.h"

#include "app/NumberText.h"
#include "model/DeviceAggregator.h"
#include "model/DeviceMaster.h"
#include "model/EffectSetting.h"
#include "model/ModeInfo.h"
#include "model/ModeList.h"
#include "profile/EffectProfile.h"
#include "service/ServiceBackend.h"
#include "service/ServiceClient.h"
#include "service/ServiceText.h"
#include "ui/views/LumetViewFactory.h"

#include <QApplication>
#include <QWidget>

#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace {

// The service as the fuzzer sees it: it answers with whatever it was given.
class FuzzedService : public ServiceBackend
{
public:
    std::string capability;
    std::string status;

    void SetProfile(const std::u16string&, const std::u16string&) override {}
    std::u16string Exchange(const std::u16string&) override { return std::u16string(); }
    std::u16string GetStatus() override { return ServiceText::Widen(status); }
    std::u16string GetCapability() override { return ServiceText::Widen(capability); }
};

FuzzedService* service = nullptr;

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

// A built profile must be one well-formed document.
void CheckProfile(int effect, const std::string& profile)
{
    if (profile.empty())
        return;
    tinyxml2::XMLDocument check;
    if (check.Parse(profile.c_str()) != tinyxml2::XML_SUCCESS) {
        std::fprintf(stderr, "effect %d built a profile that does not parse:\n%s\n", effect, profile.c_str());
        std::abort();
    }
}

} // namespace

PanelModelDriver::PanelModelDriver()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    page = new QWidget;
    auto backend = std::make_unique<FuzzedService>();
    service = backend.get();
    ServiceClient::Instance().SetBackend(std::move(backend));
}

void PanelModelDriver::Run(const std::string& capability, const std::string& status)
{
    // Every text the panel narrows from UTF-16 is some byte string, and
    // widening a byte string narrows back to itself: feeding bytes reaches
    // everything the parsers can be given.
    service->capability = capability;
    service->status = status;

    DeviceAggregator* aggregator = DeviceAggregator::Instance();
    try {
        aggregator->LoadCapabilityModel();
    } catch (const std::string&) {
        return; // the no-group refusal: the panel shows it and ends
    }
    aggregator->LoadStatusModel();

    DeviceMaster* group = aggregator->GetGroup();
    if (!group)
        return;

    // The effect the status reports, else the group's first (the user's
    // first click); the mode keys are the numbers the capability parse took.
    const EffectSetting* loaded = group->GetGroupSettingLoaded();
    const ModeInfo* mode = loaded ? loaded->mode : nullptr;
    if (!mode && group->GetModes() && !group->GetModes()->GetModes().empty())
        mode = group->GetModes()->GetModes().front();
    if (!mode)
        return;
    const int effect = NumberText::ParseInt(mode->GetKey()).value_or(0);

    // Every kind of effect profile the views build, from the loaded model.
    for (const EffectProfile::Parts& parts : ViewProfiles())
        CheckProfile(effect, EffectProfile::Build(group, group->GetKey(), effect, parts));

    // And that effect's view, made by the factory as the panel makes it after
    // a load, loaded from the model and asked for its profile.
    std::unique_ptr<LumetBaseView> view(LumetViewFactory::GetInstance()->CreateView(page, group, -1, 1, effect));
    view->ShowView(false);
    CheckProfile(effect, view->GetXmlProfile());
}

std::string PanelModelDriver::Fixture(const char* relativePath)
{
    std::ifstream in(std::string(LUMET_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().empty()) {
        std::fprintf(stderr, "missing fixture %s\n", relativePath);
        std::abort();
    }
    return text.str();
}
