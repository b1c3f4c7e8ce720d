#pragma once

#include "app/RegRoot.h"
#include "app/linux/RegistryFile.h"

#include <cstdint>

namespace dali {

// An open key on Linux: what the registry file held for it when it was opened.
struct RegKeyHandle
{
    RegistryFile::ValueList values;
    uint32_t subKeyCount = 0;
};

} // namespace dali
