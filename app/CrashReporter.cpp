#include "app/CrashReporter.h"

#include <chrono>
#include <cstddef>
#include <thread>

namespace {

const char applicationGuid[] = "A1C4E7F0-3B52-4D86-9E1A-7C0F5B2D8E43";

template <std::size_t N>
struct WideText
{
    CrashChar units[N];
};

// The library wants UTF-16; the names are plain ASCII.
template <std::size_t N>
constexpr WideText<N> Widen(const char (&text)[N])
{
    WideText<N> wide{};
    for (std::size_t i = 0; i < N; ++i)
        wide.units[i] = static_cast<CrashChar>(static_cast<unsigned char>(text[i]));
    return wide;
}

constexpr WideText<5> applicationName = Widen("Vorn");
constexpr WideText<6> vendorName = Widen("Orvel");

using InitCrashRptFn = int (*)(CrashAppInfo* info, CrashHandlerSettings* settings, int ownProcess);
using IsReadyToExitFn = int (*)();

} // namespace

const char* const CrashReporter::EntryPointNames[EntryPointCount] = {
    "InitCrashRpt",
    "SendReport",
    "IsReadyToExit",
    "SetCustomInfo",
    "AddUserInfoToReport",
    "RemoveUserInfoFromReport",
    "AddFileToReport",
    "RemoveFileFromReport",
    "GetVersionFromApp",
    "GetVersionFromFile",
};

CrashReporter::CrashReporter(const char* libraryName, int maxExitPolls)
    : m_maxExitPolls(maxExitPolls)
{
    if (m_library.open(libraryName ? libraryName : CrashReporterLoader::DefaultLibraryName())) {
        bool all = true;
        for (int i = 0; i < EntryPointCount; ++i) {
            m_entry[i] = m_library.resolve(EntryPointNames[i]);
            all = all && m_entry[i];
        }
        m_loaded = all;
        if (!m_loaded) {
            // A library we cannot drive completely is not used at all: not even
            // its "IsReadyToExit" may hold up the exit.
            for (CrashReporterLoader::Symbol& entry : m_entry)
                entry = nullptr;
            m_library.close();
        }
    }
    if (!m_loaded)
        m_assertFilterInstalled = m_library.installAssertFilter();
    else
        m_initialised = initialise();
}

CrashReporter::~CrashReporter()
{
    waitUntilReadyToExit();
    if (m_assertFilterInstalled)
        m_library.removeAssertFilter();
}

CrashAppInfo CrashReporter::MakeAppInfo(GetVersionFromAppFn getVersion)
{
    CrashAppInfo info{};
    info.size = sizeof(CrashAppInfo);
    info.applicationGuid = applicationGuid;
    info.applicationName = applicationName.units;
    info.vendorName = vendorName.units;
    if (!getVersion || !getVersion(&info)) {
        info.version[0] = 1;
        info.version[1] = 0;
        info.version[2] = 0;
        info.version[3] = 0;
    }
    return info;
}

CrashHandlerSettings CrashReporter::MakeHandlerSettings()
{
    CrashHandlerSettings settings{};
    settings.size = sizeof(CrashHandlerSettings);
    settings.mode = 1;
    return settings;
}

bool CrashReporter::initialise()
{
    const auto init = reinterpret_cast<InitCrashRptFn>(m_entry[InitCrashRpt]);
    const auto getVersion = reinterpret_cast<GetVersionFromAppFn>(m_entry[GetVersionFromApp]);
    if (!init || !getVersion)
        return false;
    m_appInfo = MakeAppInfo(getVersion);
    m_handlerSettings = MakeHandlerSettings();
    return init(&m_appInfo, &m_handlerSettings, 1) != 0;
}

void CrashReporter::waitUntilReadyToExit() const
{
    const auto isReady = reinterpret_cast<IsReadyToExitFn>(m_entry[IsReadyToExit]);
    if (!isReady)
        return;
    for (int polls = 0; !isReady() && polls < m_maxExitPolls; ++polls)
        std::this_thread::sleep_for(std::chrono::milliseconds(ExitPollIntervalMs));
}
