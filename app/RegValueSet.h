#pragma once

#include "app/RegRoot.h"

#include <cstdint>

namespace dali {

// The values of one open key. Refers to the reader's key without owning it:
// it is valid while that reader stays open.
class RegValueSet
{
public:
    explicit RegValueSet(RegKeyHandle* key = nullptr) : key(key) {}
    virtual ~RegValueSet() = default;
    RegValueSet(const RegValueSet&) = default;
    RegValueSet& operator=(const RegValueSet&) = default;

    // The number of values of the key; 0 when the set has no key or the
    // query fails.
    virtual uint32_t count() const;

private:
    RegKeyHandle* key;
};

} // namespace dali
