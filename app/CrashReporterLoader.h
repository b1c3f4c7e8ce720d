#pragma once

#include <memory>

// The platform half of the crash reporter: opening the crash-report library,
// finding its entry points, and the guard against its assertion exception.
class CrashReporterLoader
{
public:
    using Symbol = void (*)();

    CrashReporterLoader();
    // Leaves the library loaded: it may still hold the process's crash handlers.
    ~CrashReporterLoader();

    CrashReporterLoader(const CrashReporterLoader&) = delete;
    CrashReporterLoader& operator=(const CrashReporterLoader&) = delete;

    // The library's own name on this platform ("crashrpt.dll" on Windows).
    static const char* DefaultLibraryName();

    bool open(const char* name);
    // Null when the library is not open or lacks the entry point.
    Symbol resolve(const char* name) const;
    // Unloads a library that will not be used.
    void close();

    // Resumes execution after the library's assertion exception when the
    // library itself is not there to handle it. False where no such guard
    // is needed.
    bool installAssertFilter();
    void removeAssertFilter();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
