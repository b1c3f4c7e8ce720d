// Stand-in for the crash-report library: each call appends a line to the file
// CRASH_TEST_RECORD; records are decoded from raw bytes, so a wrong layout shows.
// CRASH_TEST_NOT_READY: "IsReadyToExit" false that many times (-1: for ever);
// CRASH_TEST_VERSION fails the version; CRASH_TEST_INCOMPLETE drops an entry point.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr std::size_t pointerSize = sizeof(void*);
constexpr std::size_t versionOffset = 5 * pointerSize;
constexpr std::size_t packageOffset = (versionOffset + 12 + pointerSize - 1) / pointerSize * pointerSize;

int notReadyLeft = 0;

void Record(const std::string& line)
{
    if (const char* path = std::getenv("CRASH_TEST_RECORD"))
        std::ofstream(path, std::ios::app) << line << '\n';
}

template <class T> T At(const void* record, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
    return value;
}

// An 8-bit or 16-bit text of the record; only ASCII is expected.
template <class Unit> std::string Text(const void* record, std::size_t offset)
{
    const Unit* u = At<const Unit*>(record, offset);
    std::string text = u ? "" : "null";
    for (; u && *u; ++u)
        text += *u < 0x80 ? static_cast<char>(*u) : '?';
    return text;
}

} // namespace

extern "C" {

int GetVersionFromApp(void* info)
{
    Record("GetVersionFromApp");
    const bool fail = std::getenv("CRASH_TEST_VERSION");
    const std::uint16_t version[2][4] = {{3, 1, 4, 15}, {9, 9, 9, 9}};
    std::memcpy(static_cast<char*>(info) + versionOffset, version[fail], 8);
    return fail ? 0 : 1;
}

int InitCrashRpt(const void* info, const void* settings, int ownProcess)
{
    const auto word = [info](std::size_t offset) { return std::to_string(At<std::uint16_t>(info, offset)); };
    std::string line = "InitCrashRpt size=" + std::to_string(At<std::uint32_t>(info, 0))
        + " guid=" + Text<char>(info, pointerSize) + " prefix=" + Text<char>(info, 2 * pointerSize)
        + " name=" + Text<char16_t>(info, 3 * pointerSize) + " vendor=" + Text<char16_t>(info, 4 * pointerSize)
        + " version=" + word(versionOffset) + "." + word(versionOffset + 2) + "." + word(versionOffset + 4) + "."
        + word(versionOffset + 6) + " hotfix=" + word(versionOffset + 8) + " padding=" + word(versionOffset + 10)
        + " package=" + (At<const void*>(info, packageOffset) ? "set" : "null") + " settings=";
    for (int i = 0; i < 14; ++i) // fourteen 32-bit words whatever the pointer size
        line += (i ? "," : "") + std::to_string(At<std::uint32_t>(settings, 4 * i));
    Record(line + " ownProcess=" + std::to_string(ownProcess));

    const char* notReady = std::getenv("CRASH_TEST_NOT_READY");
    notReadyLeft = notReady ? std::atoi(notReady) : 0;
    return 1;
}

int IsReadyToExit()
{
    const bool ready = notReadyLeft == 0;
    notReadyLeft -= notReadyLeft > 0;
    Record(ready ? "IsReadyToExit true" : "IsReadyToExit false");
    return ready;
}

// The rest only say that they were called.
#define STAND_IN(name) \
    int name() { Record(#name); return 0; }
STAND_IN(SendReport) STAND_IN(SetCustomInfo) STAND_IN(AddUserInfoToReport) STAND_IN(RemoveUserInfoFromReport)
STAND_IN(AddFileToReport) STAND_IN(GetVersionFromFile)
#ifndef CRASH_TEST_INCOMPLETE
STAND_IN(RemoveFileFromReport)
#endif

} // extern "C"
