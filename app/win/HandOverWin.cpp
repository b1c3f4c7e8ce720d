#include "app/HandOver.h"

#include <windows.h>

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
    // CreateProcessW may write into the command line: it gets its own buffer.
    const std::wstring quoted = L"\"" + FromAnsi(program) + L"\"";
    std::vector<wchar_t> commandLine(quoted.begin(), quoted.end());
    commandLine.push_back(L'\0');
    std::wstring title = Widen(WindowTitle);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpTitle = &title[0];
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, WaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace HandOver
