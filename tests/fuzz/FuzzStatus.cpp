// The status document as the service might send it, on the capability
// fixture (every effect the panel knows), then every view's profile.

#include "tests/fuzz/PanelModelDriver.h"

#include <cstddef>
#include <cstdint>

namespace {
PanelModelDriver* driver = nullptr;
std::string capability;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    driver = new PanelModelDriver;
    capability = PanelModelDriver::Fixture("simulator/data/capability.xml");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    driver->Run(capability, std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
