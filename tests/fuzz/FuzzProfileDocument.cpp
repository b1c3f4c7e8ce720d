// A profile sent to the simulated service: the target key on the first line,
// the document after it. The virtual rig applies it whole, leaving a status
// that parses, or refuses it with a fault and keeps its state exactly.

#include "simulator/core/RigService.h"
#include "simulator/virtual/VirtualRig.h"

#include "tests/fuzz/FuzzHarness.h"

#include <tinyxml2.h>

using FuzzHarness::Fail;

static VirtualRig hardware;
static RigService* pristine = nullptr;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    pristine = new RigService(hardware, nullptr);
    QString error;
    if (!pristine->Start(true, error))
        Fail("the rig does not start", error.toStdString());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = FuzzHarness::Input(data, size);
    const size_t newline = input.find('\n');
    const std::string key = input.substr(0, newline);
    const std::string document = newline == std::string::npos ? std::string() : input.substr(newline + 1);

    RigService rig = *pristine;
    std::string fault;
    switch (rig.SetProfile(key, document, fault)) {
    case LightingService::Outcome::Applied: {
        tinyxml2::XMLDocument status;
        if (status.Parse(rig.GetStatus().c_str()) != tinyxml2::XML_SUCCESS || !status.RootElement())
            Fail("an applied profile left a status that does not parse", rig.GetStatus());
        break;
    }
    case LightingService::Outcome::Refused:
    case LightingService::Outcome::Failed:
        if (fault.empty())
            Fail("a refusal without a fault", document);
        if (rig.State() != pristine->State() || rig.GetStatus() != pristine->GetStatus())
            Fail("a refused profile changed the rig", document);
        break;
    }
    return 0;
}
