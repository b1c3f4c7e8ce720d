#pragma once

#include "app/RegRoot.h"

#include <windows.h>

namespace dali {

// An open key on Windows.
struct RegKeyHandle
{
    HKEY key;
};

} // namespace dali
