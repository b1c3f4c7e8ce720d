#include "ComServerRegistration.h"

#include "LumetService.h"

#include <windows.h>

namespace ComServerRegistration {

namespace {

const wchar_t* const ProgId = L"OvTarskLumetService.ServiceMediator";
const wchar_t* const Description = L"Vornlight lighting service";
// Names and values are short: paths and a code.
constexpr DWORD MaxText = 4096;

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring ClassKey()
{
    return L"Software\\Classes\\CLSID\\" + GuidText(CLSID_ServiceMediator);
}

std::wstring SettingsKey()
{
    return ClassKey() + L"\\Settings";
}

std::wstring ProgIdKey()
{
    return std::wstring(L"Software\\Classes\\") + ProgId;
}

std::string Describe(const char* step, LONG code)
{
    return std::string(step) + " failed with code " + std::to_string(code);
}

// A value (the default one for an empty name) of a key under
// HKEY_LOCAL_MACHINE, the key made when missing.
bool SetValue(const std::wstring& key, const std::wstring& name, const std::wstring& value, std::string& error)
{
    HKEY handle = nullptr;
    LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExW(handle, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    if (result != ERROR_SUCCESS)
        error = Describe("writing the registry", result);
    return result == ERROR_SUCCESS;
}

} // namespace

bool Register(const std::wstring& program, const Settings& settings, std::string& error)
{
    // Settings of an earlier registration must not linger.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, SettingsKey().c_str());
    if (!SetValue(ClassKey(), L"", Description, error) || !SetValue(ClassKey() + L"\\ProgID", L"", ProgId, error)
        || !SetValue(ClassKey() + L"\\LocalServer32", L"", L"\"" + program + L"\"", error)
        || !SetValue(ProgIdKey(), L"", Description, error)
        || !SetValue(ProgIdKey() + L"\\CLSID", L"", GuidText(CLSID_ServiceMediator), error))
        return false;
    for (const auto& setting : settings)
        if (!SetValue(SettingsKey(), setting.first, setting.second, error))
            return false;
    ITypeLib* library = nullptr;
    const HRESULT loaded = LoadTypeLibEx(program.c_str(), REGKIND_REGISTER, &library);
    if (FAILED(loaded)) {
        error = Describe("registering the type library", loaded);
        return false;
    }
    library->Release();
    return true;
}

bool Unregister(const std::wstring& program, std::string& error)
{
    for (const std::wstring& key : {ClassKey(), ProgIdKey()}) {
        const LONG result = RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
            error = Describe("cleaning the registry", result);
            return false;
        }
    }
    ITypeLib* library = nullptr;
    if (SUCCEEDED(LoadTypeLibEx(program.c_str(), REGKIND_NONE, &library))) {
        TLIBATTR* attributes = nullptr;
        if (SUCCEEDED(library->GetLibAttr(&attributes))) {
            UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                              attributes->syskind);
            library->ReleaseTLibAttr(attributes);
        }
        library->Release();
    }
    return true;
}

Settings Stored()
{
    Settings settings;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SettingsKey().c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return settings;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        DWORD type = 0;
        std::wstring value(MaxText, L'\0');
        DWORD bytes = MaxText * sizeof(wchar_t);
        if (RegEnumValueW(handle, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]),
                          &bytes)
            != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        // The stored text need not end in a NUL: it ends where the data does, or at its first NUL.
        value.resize(bytes / sizeof(wchar_t));
        value.resize(value.find(L'\0') == std::wstring::npos ? value.size() : value.find(L'\0'));
        settings.emplace_back(name, value);
    }
    RegCloseKey(handle);
    return settings;
}

} // namespace ComServerRegistration
