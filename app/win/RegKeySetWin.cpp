#include "app/RegKeySet.h"
#include "app/win/RegKeyHandleWin.h"

namespace dali {

uint32_t RegKeySet::count() const
{
    if (!key)
        return 0;
    DWORD subKeys = 0;
    if (RegQueryInfoKeyA(key->key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr)
        != ERROR_SUCCESS)
        return 0;
    return subKeys;
}

} // namespace dali
