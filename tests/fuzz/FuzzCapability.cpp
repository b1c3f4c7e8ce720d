// The capability document as the service might send it, followed by the
// status fixture and every view of the effects the document lists.

#include "tests/fuzz/PanelModelDriver.h"

#include <cstddef>
#include <cstdint>

namespace {
PanelModelDriver* driver = nullptr;
std::string status;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    driver = new PanelModelDriver;
    status = PanelModelDriver::Fixture("simulator/data/status.xml");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    driver->Run(std::string(reinterpret_cast<const char*>(data), size), status);
    return 0;
}
