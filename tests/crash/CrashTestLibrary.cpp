// Stand-in for the crash-report library. Each entry point appends a line to
// the file named by CRASH_TEST_RECORD; "InitCrashRpt" decodes its records from
// the raw bytes, at the offsets the library's layout gives for this pointer
// size, so a wrongly laid out record shows in the line.
//   CRASH_TEST_NOT_READY  "IsReadyToExit" answers false this many times
//                         after initialisation (-1: for ever)
//   CRASH_TEST_VERSION    "fail": "GetVersionFromApp" scribbles and fails
//   CRASH_TEST_INIT       "fail": "InitCrashRpt" fails
// Built a second time with CRASH_TEST_INCOMPLETE, lacking one entry point.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t pointerSize = sizeof(void*);
constexpr std::size_t versionOffset = 5 * pointerSize;
constexpr std::size_t packageOffset = (versionOffset + 12 + pointerSize - 1) / pointerSize * pointerSize;

int notReadyLeft = 0;

void Record(const std::string& line)
{
    const char* path = std::getenv("CRASH_TEST_RECORD");
    if (!path || !*path)
        return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

bool EnvIs(const char* name, const char* value)
{
    const char* v = std::getenv(name);
    return v && std::strcmp(v, value) == 0;
}

template <class T>
T At(const void* record, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
    return value;
}

std::string Text8(const void* p)
{
    return p ? std::string(static_cast<const char*>(p)) : std::string("null");
}

std::string Text16(const void* p)
{
    if (!p)
        return "null";
    std::string text;
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0;; i += 2) {
        std::uint16_t unit;
        std::memcpy(&unit, bytes + i, 2);
        if (!unit)
            break;
        text += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return text;
}

std::string Number(unsigned long long n)
{
    return std::to_string(n);
}

} // namespace

extern "C" {

int GetVersionFromApp(void* info)
{
    Record("GetVersionFromApp");
    const bool fail = EnvIs("CRASH_TEST_VERSION", "fail");
    const std::uint16_t version[4] = {
        std::uint16_t(fail ? 9 : 3), std::uint16_t(fail ? 9 : 1),
        std::uint16_t(fail ? 9 : 4), std::uint16_t(fail ? 9 : 15)};
    std::memcpy(static_cast<char*>(info) + versionOffset, version, sizeof version);
    return fail ? 0 : 1;
}

int InitCrashRpt(const void* info, const void* settings, int ownProcess)
{
    std::string line = "InitCrashRpt";
    line += " size=" + Number(At<std::uint32_t>(info, 0));
    line += " guid=" + Text8(At<const void*>(info, pointerSize));
    line += " prefix=" + Text8(At<const void*>(info, 2 * pointerSize));
    line += " name=" + Text16(At<const void*>(info, 3 * pointerSize));
    line += " vendor=" + Text16(At<const void*>(info, 4 * pointerSize));
    line += " version=";
    for (int i = 0; i < 4; ++i)
        line += (i ? "." : "") + Number(At<std::uint16_t>(info, versionOffset + 2 * i));
    line += " hotfix=" + Number(At<std::uint16_t>(info, versionOffset + 8));
    line += " padding=" + Number(At<std::uint16_t>(info, versionOffset + 10));
    line += " package=" + std::string(At<const void*>(info, packageOffset) ? "set" : "null");
    line += " settings=";
    // Fourteen 32-bit words whatever the pointer size.
    for (int i = 0; i < 14; ++i)
        line += (i ? "," : "") + Number(At<std::uint32_t>(settings, 4 * i));
    line += " ownProcess=" + Number(static_cast<unsigned>(ownProcess));
    Record(line);

    const char* notReady = std::getenv("CRASH_TEST_NOT_READY");
    notReadyLeft = notReady ? std::atoi(notReady) : 0;
    return EnvIs("CRASH_TEST_INIT", "fail") ? 0 : 1;
}

int IsReadyToExit()
{
    const bool ready = notReadyLeft == 0;
    if (notReadyLeft > 0)
        --notReadyLeft;
    Record(ready ? "IsReadyToExit true" : "IsReadyToExit false");
    return ready ? 1 : 0;
}

int SendReport() { Record("SendReport"); return 0; }
int SetCustomInfo() { Record("SetCustomInfo"); return 0; }
int AddUserInfoToReport() { Record("AddUserInfoToReport"); return 0; }
int RemoveUserInfoFromReport() { Record("RemoveUserInfoFromReport"); return 0; }
int AddFileToReport() { Record("AddFileToReport"); return 0; }
#ifndef CRASH_TEST_INCOMPLETE
int RemoveFileFromReport() { Record("RemoveFileFromReport"); return 0; }
#endif
int GetVersionFromFile() { Record("GetVersionFromFile"); return 0; }

} // extern "C"
