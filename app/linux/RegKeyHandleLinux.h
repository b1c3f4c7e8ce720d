#pragma once

#include "app/RegRoot.h"
#include "app/linux/RegistryFile.h"

#include <cstdint>
#include <memory>

namespace dali {

// An open key on Linux: the registry file as it was read when the key was
// opened, shared with every other reader of the same file.
struct RegKeyHandle
{
    std::shared_ptr<const RegistryFile> file;
    // Null for a key that only exists as the parent of listed keys.
    const RegistryFile::Key* key = nullptr;
    uint32_t subKeyCount = 0;
};

} // namespace dali
