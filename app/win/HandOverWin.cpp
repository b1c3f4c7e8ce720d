#include "app/HandOver.h"

#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

namespace HandOver {

namespace {

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

// The program's name from the ANSI code page.
std::wstring FromAnsi(const std::string& program)
{
    if (program.empty())
        return std::wstring();
    const int units = MultiByteToWideChar(CP_ACP, 0, program.data(), static_cast<int>(program.size()), nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, program.data(), static_cast<int>(program.size()), &wide[0], units);
    return wide;
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:\x", "C:/x" or a UNC path such as \\host\share\x.
bool IsAbsolute(const std::wstring& path)
{
    if (path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// The absolute folders of PATH, joined again with ';'. The current folder
// (".", an empty entry, any relative entry) is left out.
std::wstring AbsoluteSearchPath()
{
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring path(size, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", &path[0], size));
    std::wstring kept;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L';', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring folder = path.substr(start, end - start);
        if (IsAbsolute(folder))
            kept += (kept.empty() ? L"" : L";") + folder;
        start = end + 1;
    }
    return kept;
}

// The file to start for the registry's name: an absolute path as it is, a
// bare name from the absolute folders of PATH, anything else (empty, or a
// relative path such as .\tool.exe or C:tool.exe) nothing. Left to
// itself CreateProcessW would also look in the current folder.
std::wstring ProgramPath(const std::wstring& program)
{
    if (program.empty())
        return std::wstring();
    if (IsAbsolute(program))
        return program;
    if (program.find_first_of(L"\\/:") != std::wstring::npos)
        return std::wstring();
    const std::wstring folders = AbsoluteSearchPath();
    if (folders.empty())
        return std::wstring();
    std::vector<wchar_t> found(MAX_PATH);
    for (;;) {
        const DWORD length = SearchPathW(folders.c_str(), program.c_str(), L".exe",
                                         static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (length == 0)
            return std::wstring();
        if (length < found.size())
            return std::wstring(found.data(), length);
        found.resize(length);
    }
}

} // namespace

size_t ProgramLength(const std::string& program)
{
    return FromAnsi(program).size();
}

bool IsWindowOpen()
{
    return FindWindowW(nullptr, Widen(WindowTitle).c_str()) != nullptr;
}

bool StartAndWait(const std::string& program)
{
    const std::wstring path = ProgramPath(FromAnsi(program));
    if (path.empty())
        return false;
    // CreateProcessW may write into the command line: it gets its own buffer.
    const std::wstring quoted = L"\"" + path + L"\"";
    std::vector<wchar_t> commandLine(quoted.begin(), quoted.end());
    commandLine.push_back(L'\0');
    std::wstring title = Widen(WindowTitle);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpTitle = &title[0];
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    // No application name: from the command line Windows adds ".exe" where
    // the name has none, and a full path is never searched for.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, WaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace HandOver
