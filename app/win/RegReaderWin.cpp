#include "app/RegReader.h"
#include "app/win/RegKeyHandleWin.h"

#include <vector>

namespace dali {

namespace {

HKEY RootKey(RegRoot root)
{
    return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// True when this 32-bit process runs on 64-bit Windows. IsWow64Process is
// looked up at run time because older systems lack it.
bool RunsUnderWow64()
{
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HMODULE kernel = GetModuleHandleA("kernel32");
    if (!kernel)
        return false;
    const auto isWow64 = reinterpret_cast<IsWow64Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

bool RegReader::open(RegRoot root, const char* subKey, bool create, bool use64BitView)
{
    close();
    REGSAM mask = KEY_ALL_ACCESS;
    if (use64BitView && RunsUnderWow64())
        mask |= KEY_WOW64_64KEY;
    HKEY opened = nullptr;
    LONG result;
    if (create) {
        DWORD disposition = 0;
        result = RegCreateKeyExA(RootKey(root), subKey, 0, nullptr, 0, mask, nullptr, &opened, &disposition);
    } else {
        result = RegOpenKeyExA(RootKey(root), subKey, 0, mask, &opened);
    }
    if (result != ERROR_SUCCESS)
        return false;
    key = new RegKeyHandle{opened};
    openFlag = true;
    keySet = RegKeySet(key);
    valueSet = RegValueSet(key);
    return true;
}

bool RegReader::readString(const char* name, std::string& out) const
{
    if (!openFlag)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key->key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || !IsStringType(type))
        return false;
    // The stored text need not end in a NUL: one more byte guarantees it.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    DWORD read = size;
    // The value may have been changed in between: its type is checked again.
    if (RegQueryValueExA(key->key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &read)
            != ERROR_SUCCESS
        || !IsStringType(type))
        return false;
    out.assign(buffer.data());
    return true;
}

void RegReader::ReleaseKey(RegKeyHandle* key)
{
    if (key)
        RegCloseKey(key->key);
    delete key;
}

} // namespace dali
