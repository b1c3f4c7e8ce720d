#pragma once

#include "app/RegKeySet.h"
#include "app/RegRoot.h"
#include "app/RegValueSet.h"

#include <string>

namespace dali {

// Read access to one registry key. On Windows this is the registry itself
// (ANSI functions); on Linux a text file in the registry export format, named
// by $VORNLIGHT_REGISTRY or found under the system configuration directory.
// Every failure is a false result: nothing is shown or logged.
class RegReader
{
public:
    RegReader();
    ~RegReader();
    RegReader(const RegReader&) = delete;
    RegReader& operator=(const RegReader&) = delete;

    // Opens subKey ("Software\\ORVEL\\LUMET") under root. create makes a
    // missing key where the registry is writable; use64BitView asks a 32-bit
    // process on 64-bit Windows for the 64-bit view. An open reader is closed
    // first.
    bool open(RegRoot root, const char* subKey, bool create, bool use64BitView);

    // The key's values and sub-keys; empty sets while the reader is closed.
    const RegValueSet& values() const { return valueSet; }
    const RegKeySet& subKeys() const { return keySet; }

    // Reads a string value (string, expandable string or multi-string) as
    // bytes: environment references are not expanded and of a multi-string
    // only the first string is returned. Any other type gives false.
    bool readString(const char* name, std::string& out) const;

    // Releases the key. Safe to call more than once.
    void close();

    bool isOpen() const { return openFlag; }

private:
    // Frees what open obtained for the key.
    static void ReleaseKey(RegKeyHandle* key);

    RegKeyHandle* key = nullptr;
    bool openFlag = false;
    RegKeySet keySet;
    RegValueSet valueSet;
};

} // namespace dali
