#include "app/ProgramDirectory.h"

#include <windows.h>

#include <vector>

std::string GetProgramDirectory()
{
    // The buffer doubles from 128 bytes until the returned length is shorter.
    std::vector<char> buf(128);
    DWORD n = 0;
    for (;;) {
        n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return std::string();
        if (n < buf.size())
            break;
        buf.resize(buf.size() * 2);
    }
    std::string path(buf.data(), n);
    const size_t backslash = path.rfind('\\');
    if (backslash != std::string::npos)
        return path.substr(0, backslash + 1);
    const size_t colon = path.find(':');
    if (colon != std::string::npos)
        return path.substr(0, colon + 1);
    return std::string();
}
