#include "ComServerRegistration.h"

#include "LumetService.h"
#include "simulator/core/ServiceLog.h"

#include <QStringList>

#include <windows.h>

#include <array>
#include <vector>

namespace ComServerRegistration {

namespace {

std::wstring ClassId()
{
    wchar_t text[40] = {};
    StringFromGUID2(CLSID_ServiceMediator, text, 40);
    return text;
}

const std::wstring ProgId = L"OvTarskLumetService.ServiceMediator";
const std::wstring Description = L"Vornlight lighting service";
const std::wstring ProgIdKey = L"Software\\Classes\\" + ProgId;
const std::wstring ClassKey = L"Software\\Classes\\CLSID\\" + ClassId();
const std::wstring SettingsKey = ClassKey + L"\\Settings";

bool Failed(const char* step, long code)
{
    ServiceLog::Say(QStringLiteral("%1 failed with code %2").arg(QLatin1String(step)).arg(code));
    return false;
}

} // namespace

bool Register(const QMap<QString, QString>& settings)
{
    wchar_t program[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
    // Settings of an earlier registration must not linger.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, SettingsKey.c_str());
    // Key, value name (empty: the default value) and text.
    std::vector<std::array<std::wstring, 3>> values{
        {ClassKey, L"", Description}, {ClassKey + L"\\ProgID", L"", ProgId},
        {ClassKey + L"\\LocalServer32", L"", L"\"" + std::wstring(program) + L"\""}, {ProgIdKey, L"", Description},
        {ProgIdKey + L"\\CLSID", L"", ClassId()}};
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        values.push_back({SettingsKey, it.key().toStdWString(), it.value().toStdWString()});
    for (const auto& value : values) {
        const LONG written = RegSetKeyValueW(HKEY_LOCAL_MACHINE, value[0].c_str(),
                                             value[1].empty() ? nullptr : value[1].c_str(), REG_SZ, value[2].c_str(),
                                             static_cast<DWORD>((value[2].size() + 1) * sizeof(wchar_t)));
        if (written != ERROR_SUCCESS)
            return Failed("writing the registry", written);
    }
    ITypeLib* library = nullptr;
    const HRESULT loaded = LoadTypeLibEx(program, REGKIND_REGISTER, &library);
    if (FAILED(loaded))
        return Failed("registering the type library", loaded);
    library->Release();
    return true;
}

bool Unregister()
{
    for (const std::wstring& key : {ClassKey, ProgIdKey}) {
        const LONG result = RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            return Failed("cleaning the registry", result);
    }
    // A type library that is not registered is no error either.
    UnRegisterTypeLib(LIBID_VornlightService, 1, 0, LANG_NEUTRAL, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    return true;
}

QMap<QString, QString> Stored(const QStringList& names)
{
    QMap<QString, QString> settings;
    for (const QString& name : names) {
        // Paths and a code; the last unit stays for the closing NUL.
        wchar_t value[4096] = {};
        DWORD bytes = sizeof value - sizeof(wchar_t);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, SettingsKey.c_str(), name.toStdWString().c_str(), RRF_RT_REG_SZ,
                         nullptr, value, &bytes)
            == ERROR_SUCCESS)
            settings.insert(name, QString::fromWCharArray(value));
    }
    return settings;
}

} // namespace ComServerRegistration
