#include "app/CrashReporterLoader.h"

#include <windows.h>

namespace {

// The code the crash-report library raises for a failed assertion.
constexpr DWORD assertionExceptionCode = 0xCCE17000;

LONG CALLBACK ResumeAfterAssertion(EXCEPTION_POINTERS* exception)
{
    if (exception && exception->ExceptionRecord
        && exception->ExceptionRecord->ExceptionCode == assertionExceptionCode)
        return EXCEPTION_CONTINUE_EXECUTION;
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

struct CrashReporterLoader::Impl
{
    HMODULE module = nullptr;
    PVOID filter = nullptr;
};

CrashReporterLoader::CrashReporterLoader()
    : d(new Impl)
{
}

// The library stays loaded: its handlers may still be in place at exit.
CrashReporterLoader::~CrashReporterLoader() = default;

const char* CrashReporterLoader::DefaultLibraryName()
{
    return "crashrpt.dll";
}

bool CrashReporterLoader::open(const char* name)
{
    d->module = LoadLibraryA(name);
    return d->module != nullptr;
}

CrashReporterLoader::Symbol CrashReporterLoader::resolve(const char* name) const
{
    if (!d->module)
        return nullptr;
    return reinterpret_cast<Symbol>(reinterpret_cast<void*>(GetProcAddress(d->module, name)));
}

void CrashReporterLoader::close()
{
    if (d->module)
        FreeLibrary(d->module);
    d->module = nullptr;
}

bool CrashReporterLoader::installAssertFilter()
{
    // First in the chain, so no other handler sees the assertion first.
    if (!d->filter)
        d->filter = AddVectoredExceptionHandler(1, ResumeAfterAssertion);
    return d->filter != nullptr;
}

void CrashReporterLoader::removeAssertFilter()
{
    if (d->filter)
        RemoveVectoredExceptionHandler(d->filter);
    d->filter = nullptr;
}
