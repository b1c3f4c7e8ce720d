#include "app/RegValueSet.h"
#include "app/linux/RegKeyHandleLinux.h"

namespace dali {

uint32_t RegValueSet::count() const
{
    return key && key->key ? static_cast<uint32_t>(key->key->values.size()) : 0;
}

} // namespace dali
