// The Windows implementations of the platform layers, run on Windows (or
// under wine): the registry reader against keys written here, the named
// mutex, the program directory, the hand-over, the crash-report loader and
// the COM client without a registered service. Built without Qt; prints one
// line per failed check and a closing "passed, failed" count.
//
// The same executable serves as the second process some checks need:
//   --claim              exit 0 when the single-instance claim succeeds, 3 when refused
// and, copied under the name HandOverProbe, it creates HandOverMarker in the
// temporary folder (the hand-over passes no arguments).
//   --expect-dir DIR     exit 0 when the program directory is exactly DIR, else 4

#include "app/CrashReporter.h"
#include "app/HandOver.h"
#include "app/ProgramDirectory.h"
#include "app/RegReader.h"
#include "app/SingleInstance.h"
#include "service/ServiceClient.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what, const std::string& detail = std::string())
{
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::printf("FAIL: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
}

std::string OwnPath()
{
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string TempDir()
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

// Runs program with arguments, waits for it and returns its exit code (-1
// when it cannot be started).
int RunChild(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------- registry

const char* const HandOverProbe = "vornlight-handover-probe.exe";
const char* const HandOverMarker = "vornlight-handover-marker";

const char* const TestKey = "Software\\VornlightLayerTest";

void SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size)
{
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

void TestRegistry()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, TestKey);
    HKEY key = nullptr;
    Check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, TestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
              == ERROR_SUCCESS,
          "the test key can be written");
    const char plain[] = "C:\\Program Files\\Lumet\\lumet.exe";
    const DWORD reboot = 1;
    const char multi[] = "first\0second\0";        // two strings and the closing NUL
    const char expand[] = "%SystemRoot%\\x";
    const char unterminated[] = {'a', 'b', 'c'};     // stored without its NUL
    SetValue(key, "LUMET", REG_SZ, plain, sizeof plain);
    SetValue(key, "needReboot", REG_DWORD, &reboot, sizeof reboot);
    SetValue(key, "Sequence", REG_MULTI_SZ, multi, sizeof multi);
    SetValue(key, "Path", REG_EXPAND_SZ, expand, sizeof expand);
    SetValue(key, "Raw", REG_SZ, unterminated, sizeof unterminated);
    HKEY sub = nullptr;
    RegCreateKeyExA(key, "One", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
    RegCloseKey(sub);
    RegCreateKeyExA(key, "Two", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
    RegCloseKey(sub);
    RegCloseKey(key);

    dali::RegReader reader;
    std::string text = "unchanged";
    Check(reader.values().count() == 0 && !reader.readString("LUMET", text),
          "a reader that was never opened has no values");
    Check(reader.open(dali::RegRoot::LocalMachine, TestKey, false, false), "the key opens");
    Check(reader.values().count() == 5, "five values counted",
          std::to_string(reader.values().count()));
    Check(reader.subKeys().count() == 2, "two sub-keys counted", std::to_string(reader.subKeys().count()));

    Check(reader.readString("LUMET", text) && text == plain, "a string reads back", text);
    text = "unchanged";
    Check(!reader.readString("needReboot", text) && text == "unchanged", "a dword value is refused");
    Check(reader.readString("Sequence", text) && text == "first", "a multi-string gives its first string", text);
    Check(reader.readString("Path", text) && text == expand, "an expandable string is not expanded", text);
    Check(reader.readString("Raw", text) && text == "abc", "a string stored without its NUL ends after its bytes",
          text);
    Check(!reader.readString("Missing", text), "a missing value is refused");

    reader.close();
    reader.close();
    Check(!reader.isOpen() && reader.values().count() == 0, "closing twice leaves a closed reader");
    Check(!reader.open(dali::RegRoot::LocalMachine, "Software\\VornlightLayerTest\\Absent", false, false),
          "a missing key does not open");
    Check(reader.open(dali::RegRoot::LocalMachine, "Software\\VornlightLayerTest\\Made", true, false)
              && reader.values().count() == 0,
          "create makes a missing key");
    reader.close();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, TestKey);
}

// --------------------------------------------------------- single instance

void TestSingleInstance(const std::string& self)
{
    {
        SingleInstance first;
        Check(first.Acquire(), "the first claim succeeds");
        SingleInstance second;
        Check(!second.Acquire(), "a second claim in the same process is refused");
        Check(RunChild(self, "--claim") == 3, "a second process is refused while the mutex is owned");
    }
    Check(RunChild(self, "--claim") == 0, "the claim is free again once its owner is gone");
}

// -------------------------------------------------------- program directory

void TestProgramDirectory(const std::string& self)
{
    const std::string directory = GetProgramDirectory();
    const std::string expected = self.substr(0, self.rfind('\\') + 1);
    Check(!directory.empty() && directory == expected, "the directory of the test executable", directory);

    // A path longer than the first buffer of 128 bytes, within what the ANSI
    // functions can copy to.
    std::string deep = TempDir() + "vornlight-layer-test";
    CreateDirectoryA(deep.c_str(), nullptr);
    while (deep.size() < 180) {
        deep += "\\a-rather-long-directory-name";
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    const std::string copy = deep + "\\probe.exe";
    Check(CopyFileA(self.c_str(), copy.c_str(), FALSE) != 0, "the probe is copied into a deep directory");
    Check(RunChild(copy, "--expect-dir \"" + deep + "\\\\\"") == 0, "a program directory longer than 128 bytes",
          deep);
    DeleteFileA(copy.c_str());
}

// ----------------------------------------------------------------- hand-over

void TestHandOver(const std::string& self)
{
    Check(!HandOver::IsWindowOpen(), "no window titled ORVEL LUMET is open");
    const std::string marker = TempDir() + HandOverMarker;
    const std::string probe = TempDir() + HandOverProbe;
    DeleteFileA(marker.c_str());
    Check(CopyFileA(self.c_str(), probe.c_str(), FALSE) != 0, "the hand-over probe is copied");
    Check(HandOver::Run(probe), "the hand-over runs for a program of normal length");
    Check(FileExists(marker), "the handed-over program ran before the panel went on");
    DeleteFileA(marker.c_str());
    DeleteFileA(probe.c_str());
    Check(!HandOver::Run(std::string(HandOver::MaxProgramLength + 1, 'x')),
          "a program name too long for the command line is refused");
    Check(HandOver::ProgramLength("C:\\x.exe") == 8, "the program length counts UTF-16 units");
}

// ------------------------------------------------------------ crash reports

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path.c_str());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void TestCrashReporter(const std::string& libraries)
{
    {
        CrashReporter reporter("vornlight-no-such-library.dll", 5);
        Check(!reporter.loaded() && !reporter.initialised(), "a missing library is not used");
        Check(reporter.assertFilterInstalled(), "without the library the assertion filter is installed");
        // The filter resumes after the library's assertion exception;
        // without it the process would end here.
        volatile bool resumed = false;
        RaiseException(0xCCE17000, 0, 0, nullptr);
        resumed = true;
        Check(resumed, "execution resumes after the assertion exception");
    }
    const std::string record = TempDir() + "vornlight-crash-record.txt";
    DeleteFileA(record.c_str());
    // Through the C runtime, whose copy of the environment the library reads.
    _putenv(("CRASH_TEST_RECORD=" + record).c_str());
    {
        CrashReporter reporter((libraries + "\\incomplete\\crashrpt.dll").c_str(), 5);
        Check(!reporter.loaded() && !reporter.initialised(), "a library lacking an entry point is not used");
    }
    Check(ReadFile(record).empty(), "nothing of an incomplete library is called", ReadFile(record));
    {
        CrashReporter reporter((libraries + "\\complete\\crashrpt.dll").c_str(), 5);
        Check(reporter.loaded() && reporter.initialised() && !reporter.assertFilterInstalled(),
              "a complete library is loaded and initialised");
    }
    const std::string calls = ReadFile(record);
    Check(calls.find("GetVersionFromApp\nInitCrashRpt size=") == 0 && calls.find("version=3.1.4.15") != std::string::npos
              && calls.find("IsReadyToExit true") != std::string::npos,
          "the library is asked for the version, initialised and asked before exit", calls);
    _putenv("CRASH_TEST_RECORD=");
    DeleteFileA(record.c_str());
}

// ---------------------------------------------------------------- COM client

void TestServiceClient()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ServiceClient& client = ServiceClient::Instance();
    Check(client.GetCapability().empty() && client.GetStatus().empty() && client.Exchange(u"<root/>").empty(),
          "without a registered service the fetching calls give nothing");
    client.SetProfile(u"Group", u"<root/>"); // must simply return
    CoUninitialize();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--claim") {
        SingleInstance claim;
        return claim.Acquire() ? 0 : 3;
    }
    const std::string self = OwnPath();
    if (self.size() >= std::strlen(HandOverProbe)
        && self.compare(self.size() - std::strlen(HandOverProbe), std::string::npos, HandOverProbe) == 0) {
        std::ofstream((TempDir() + HandOverMarker).c_str()) << "ran\n";
        return 0;
    }
    if (mode == "--expect-dir" && argc > 2)
        return GetProgramDirectory() == argv[2] ? 0 : 4;
    if (mode != "--libraries" || argc < 3) {
        std::printf("usage: %s --libraries DIR (the folder holding complete\\ and incomplete\\crashrpt.dll)\n",
                    argv[0]);
        return 2;
    }

    TestRegistry();
    TestSingleInstance(self);
    TestProgramDirectory(self);
    TestHandOver(self);
    TestCrashReporter(argv[2]);
    TestServiceClient();
    std::printf("windows layers: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
