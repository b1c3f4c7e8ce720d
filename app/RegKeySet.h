#pragma once

#include "app/RegRoot.h"

#include <cstdint>

namespace dali {

// The sub-keys of one open key. Refers to the reader's key without owning it:
// it is valid while that reader stays open.
class RegKeySet
{
public:
    explicit RegKeySet(RegKeyHandle* key = nullptr) : key(key) {}
    virtual ~RegKeySet() = default;
    RegKeySet(const RegKeySet&) = default;
    RegKeySet& operator=(const RegKeySet&) = default;

    // The number of direct sub-keys; 0 when the set has no key or the query
    // fails.
    virtual uint32_t count() const;

private:
    RegKeyHandle* key;
};

} // namespace dali
