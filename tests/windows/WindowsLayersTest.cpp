// The Windows implementations of the platform layers, run on Windows or under
// wine; prints each failed check and a closing count. It is also the second
// process some checks need: --claim tries the single-instance claim (exit 0,
// or 3 when refused), --expect-dir DIR checks its program directory (0, else
// 4), and without arguments (as the hand-over starts it) it leaves a marker.

#include "app/CrashReporter.h"
#include "app/HandOver.h"
#include "app/ProgramDirectory.h"
#include "app/RegReader.h"
#include "app/SingleInstance.h"
#include "service/ServiceClient.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <process.h>
#include <sstream>
#include <string>

namespace {

int passed = 0, failed = 0;

void Check(bool ok, const char* what, const std::string& detail = std::string())
{
    ++(ok ? passed : failed);
    if (!ok)
        std::printf("FAIL: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
}

std::string TempDir()
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

// The exit code of program run with arguments, -1 when it cannot be started.
int RunChild(const std::string& program, const std::string& arguments)
{
    const std::string quoted = "\"" + program + "\"";
    return static_cast<int>(_spawnl(_P_WAIT, program.c_str(), quoted.c_str(), arguments.c_str(), nullptr));
}

std::string ReadFile(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path.c_str()).rdbuf();
    return text.str();
}

const std::string HandOverMarker = TempDir() + "vornlight-handover-marker";
const char* const TestKey = "Software\\VornlightLayerTest";

void TestRegistry()
{
    // nullptr: the read is refused, leaving the text alone. REG_NONE: not written.
    const struct { const char* name; DWORD type; std::string data; const char* expected; } values[] = {
        {"LUMET", REG_SZ, std::string("C:\\Lumet\\lumet.exe", 19), "C:\\Lumet\\lumet.exe"},
        {"needReboot", REG_DWORD, std::string("\1\0\0\0", 4), nullptr},
        {"Sequence", REG_MULTI_SZ, std::string("first\0second\0", 14), "first"},
        {"Path", REG_EXPAND_SZ, std::string("%SystemRoot%\\x", 15), "%SystemRoot%\\x"},
        {"Raw", REG_SZ, "abc", "abc"}, // stored without its NUL
        {"Missing", REG_NONE, "", nullptr},
    };
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, TestKey);
    for (const auto& value : values)
        if (value.type != REG_NONE)
            Check(RegSetKeyValueA(HKEY_LOCAL_MACHINE, TestKey, value.name, value.type, value.data.data(),
                                  static_cast<DWORD>(value.data.size()))
                      == ERROR_SUCCESS,
                  "the test key can be written", value.name);
    for (const char* name : {"\\One", "\\Two"})
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, (TestKey + std::string(name)).c_str(), nullptr, REG_SZ, "", 1);

    dali::RegReader reader;
    std::string text = "unchanged";
    Check(reader.values().count() == 0 && !reader.readString("LUMET", text), "a reader never opened has no values");
    Check(reader.open(dali::RegRoot::LocalMachine, TestKey, false, false), "the key opens");
    Check(reader.values().count() == 5 && reader.subKeys().count() == 2, "five values and two sub-keys counted");
    for (const auto& value : values) {
        text = "unchanged";
        const bool read = reader.readString(value.name, text);
        Check(read == (value.expected != nullptr) && text == (read ? value.expected : "unchanged"), value.name, text);
    }
    reader.close();
    reader.close();
    Check(!reader.isOpen() && reader.values().count() == 0, "closing twice leaves a closed reader");
    Check(!reader.open(dali::RegRoot::LocalMachine, "Software\\VornlightLayerTest\\Absent", false, false),
          "a missing key does not open");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, TestKey);
}

void TestSingleInstance(const std::string& self)
{
    {
        SingleInstance first, second;
        Check(first.Acquire() && !second.Acquire(), "a second claim in the same process is refused");
        Check(RunChild(self, "--claim") == 3, "a second process is refused while the mutex is owned");
    }
    Check(RunChild(self, "--claim") == 0, "the claim is free again once its owner is gone");
}

void TestProgramDirectory(const std::string& self)
{
    const std::string directory = GetProgramDirectory();
    Check(directory == self.substr(0, self.rfind('\\') + 1), "the directory of the test executable", directory);
    // Longer than the first buffer of 128 bytes, within what the ANSI calls copy.
    std::string deep = TempDir() + "vornlight-layer-test";
    CreateDirectoryA(deep.c_str(), nullptr);
    while (deep.size() < 180) {
        deep += "\\a-rather-long-directory-name";
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    const std::string copy = deep + "\\probe.exe";
    Check(CopyFileA(self.c_str(), copy.c_str(), FALSE) != 0, "the probe is copied into a deep directory");
    Check(RunChild(copy, "--expect-dir \"" + deep + "\\\\\"") == 0, "a program directory longer than 128 bytes", deep);
}

// Whether the hand-over of program started this test's own copy.
bool HandedOver(const std::string& program)
{
    DeleteFileA(HandOverMarker.c_str());
    return HandOver::Run(program) && !ReadFile(HandOverMarker).empty();
}

void TestHandOver(const std::string& self)
{
    Check(HandedOver(self), "the handed-over program ran before the panel went on");
    Check(!HandOver::Run(std::string(HandOver::MaxProgramLength + 1, 'x')), "a program name too long is refused");
    Check(!HandOver::Run(TempDir() + "vornlight-missing.exe") && !HandOver::Run(""),
          "a program that cannot be started lets the panel start");

    // A bare name comes from the absolute folders of PATH, never from the
    // current folder, and a relative path is refused: ".;" in PATH included.
    const std::string onPath = TempDir() + "vornlight-handover-path";
    const std::string current = TempDir() + "vornlight-handover-current";
    for (const std::string& copy : {onPath + "\\vornlight-on-path.exe", current + "\\vornlight-here.exe"}) {
        CreateDirectoryA(copy.substr(0, copy.rfind('\\')).c_str(), nullptr);
        CopyFileA(self.c_str(), copy.c_str(), FALSE);
    }
    Check(HandedOver(onPath + "\\vornlight-on-path"), "an absolute path may leave out .exe");
    char savedPath[32768] = {}, savedCurrent[MAX_PATH] = {};
    GetEnvironmentVariableA("PATH", savedPath, sizeof savedPath);
    GetCurrentDirectoryA(sizeof savedCurrent, savedCurrent);
    SetEnvironmentVariableA("PATH", (".;relative;" + onPath).c_str());
    SetCurrentDirectoryA(current.c_str());
    Check(HandedOver("vornlight-on-path"), "a bare name is found on PATH");
    Check(!HandedOver("vornlight-here.exe") && !HandedOver(".\\vornlight-here.exe")
              && !HandedOver("..\\vornlight-handover-current\\vornlight-here.exe") && ReadFile(HandOverMarker).empty(),
          "nothing is started from the current folder");
    SetCurrentDirectoryA(savedCurrent);
    SetEnvironmentVariableA("PATH", savedPath);
}

void TestCrashReporter(const std::string& libraries)
{
    const std::string record = TempDir() + "vornlight-crash-record.txt";
    DeleteFileA(record.c_str());
    // Through the C runtime, whose copy of the environment the library reads.
    _putenv(("CRASH_TEST_RECORD=" + record).c_str());
    for (const std::string& library : {std::string("vornlight-no-such-library.dll"),
                                       libraries + "\\incomplete\\crashrpt.dll", libraries + "\\complete\\crashrpt.dll"}) {
        const bool complete = library.find("\\complete\\") != std::string::npos;
        CrashReporter reporter(library.c_str(), 5);
        Check(reporter.loaded() == complete && reporter.initialised() == complete
                  && reporter.assertFilterInstalled() != complete,
              "only a complete library is used, else the assertion filter is installed", library);
        Check(complete || ReadFile(record).empty(), "nothing of an incomplete library is called", ReadFile(record));
        // Without the library the filter resumes after its assertion
        // exception; without the filter the process would end here.
        if (!complete)
            RaiseException(0xCCE17000, 0, 0, nullptr);
    }
    const std::string calls = ReadFile(record);
    Check(calls.find("GetVersionFromApp\nInitCrashRpt size=") == 0 && calls.find("version=3.1.4.15") != std::string::npos
              && calls.find("IsReadyToExit true") != std::string::npos,
          "the library is asked for the version, initialised and asked before exit", calls);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 1) {
        std::ofstream(HandOverMarker.c_str()) << "ran\n";
        return 0;
    }
    if (mode == "--claim")
        return SingleInstance().Acquire() ? 0 : 3;
    if (mode == "--expect-dir" && argc > 2)
        return GetProgramDirectory() == argv[2] ? 0 : 4;
    if (mode != "--libraries" || argc < 3) {
        std::printf("usage: %s --libraries DIR (holding complete\\ and incomplete\\crashrpt.dll)\n", argv[0]);
        return 2;
    }
    char self[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    TestRegistry();
    TestSingleInstance(self);
    TestProgramDirectory(self);
    TestHandOver(self);
    TestCrashReporter(argv[2]);
    // Without a registered service the fetching calls give nothing, and a profile goes nowhere.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ServiceClient& client = ServiceClient::Instance();
    Check(client.GetCapability().empty() && client.GetStatus().empty() && client.Exchange(u"<root/>").empty(),
          "without a registered service the fetching calls give nothing");
    client.SetProfile(u"Group", u"<root/>");
    CoUninitialize();
    std::printf("windows layers: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
