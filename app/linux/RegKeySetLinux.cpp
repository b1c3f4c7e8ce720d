#include "app/RegKeySet.h"
#include "app/linux/RegKeyHandleLinux.h"

namespace dali {

uint32_t RegKeySet::count() const
{
    return key ? key->subKeyCount : 0;
}

} // namespace dali
