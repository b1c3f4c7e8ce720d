#include "app/RegValueSet.h"
#include "app/win/RegKeyHandleWin.h"

namespace dali {

uint32_t RegValueSet::count() const
{
    if (!key)
        return 0;
    DWORD values = 0;
    if (RegQueryInfoKeyA(key->key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr)
        != ERROR_SUCCESS)
        return 0;
    return values;
}

} // namespace dali
