#pragma once

#include "app/CrashReporterLoader.h"

#include <cstdint>

// Text units of the crash-report library's wide strings: UTF-16 in both cases.
#ifdef _WIN32
using CrashChar = wchar_t;
#else
using CrashChar = char16_t;
#endif

// Application information handed to the crash-report library. Laid out field
// by field in the library's order; the pointers take the target's size.
struct CrashAppInfo
{
    std::uint32_t size;
    const char* applicationGuid;
    const char* prefix;
    const CrashChar* applicationName;
    const CrashChar* vendorName;
    std::uint16_t version[4];
    std::uint16_t hotfix;
    std::uint16_t padding;
    const void* packageName;
};

// Handler settings: a size word, the handler mode word third, all else zero.
struct CrashHandlerSettings
{
    std::uint32_t size;
    std::uint32_t reserved1;
    std::uint32_t mode;
    std::uint32_t reserved[11];
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(CrashAppInfo) == 36, "the library expects a 36-byte application record");
static_assert(sizeof(CrashHandlerSettings) == 56, "the library expects a 56-byte handler record");
#endif

// Optional crash reports through the external crash-report library. When the
// library is absent or incomplete the reporter does nothing at all (on Windows
// it only swallows the library's assertion exception, which nothing else would
// catch). The panel keeps one instance, set up before main and destroyed at
// process exit, where it lets the library finish a report in progress.
class CrashReporter
{
public:
    // The entry points, looked up in this order; all ten must be present.
    enum EntryPoint {
        InitCrashRpt,
        SendReport,
        IsReadyToExit,
        SetCustomInfo,
        AddUserInfoToReport,
        RemoveUserInfoFromReport,
        AddFileToReport,
        RemoveFileFromReport,
        GetVersionFromApp,
        GetVersionFromFile,
        EntryPointCount
    };
    static const char* const EntryPointNames[EntryPointCount];

    static constexpr int ExitPollIntervalMs = 100;
    // A library that never becomes ready must not keep the panel alive for ever.
    static constexpr int DefaultMaxExitPolls = 300;

    // Loads the library by name (the platform's crash-report library when
    // null) and initialises it when it is complete.
    explicit CrashReporter(const char* libraryName = nullptr, int maxExitPolls = DefaultMaxExitPolls);
    // Waits, polling every ExitPollIntervalMs, until the library is ready to exit.
    ~CrashReporter();

    CrashReporter(const CrashReporter&) = delete;
    CrashReporter& operator=(const CrashReporter&) = delete;

    bool loaded() const { return m_loaded; }
    bool initialised() const { return m_initialised; }
    bool assertFilterInstalled() const { return m_assertFilterInstalled; }

    // The records handed to "InitCrashRpt". The version comes from
    // "GetVersionFromApp" when given and successful, else it is 1.0.0.0.
    using GetVersionFromAppFn = int (*)(CrashAppInfo* info);
    static CrashAppInfo MakeAppInfo(GetVersionFromAppFn getVersion);
    static CrashHandlerSettings MakeHandlerSettings();

private:
    bool initialise();
    void waitUntilReadyToExit() const;

    CrashReporterLoader m_library;
    CrashReporterLoader::Symbol m_entry[EntryPointCount] = {};
    // The library may keep pointers into the records: they live as long as
    // the reporter, which for the panel is until process exit.
    CrashAppInfo m_appInfo = {};
    CrashHandlerSettings m_handlerSettings = {};
    int m_maxExitPolls;
    bool m_loaded = false;
    bool m_initialised = false;
    bool m_assertFilterInstalled = false;
};

// The panel's one reporter, defined in app/instance/CrashReporterInstance.cpp,
// which the panel (and any test process that wants it) compiles in directly.
extern CrashReporter crashReporter;
