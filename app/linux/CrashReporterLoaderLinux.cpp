#include "app/CrashReporterLoader.h"

#include <QLibrary>
#include <QString>

struct CrashReporterLoader::Impl
{
    QLibrary library;
};

CrashReporterLoader::CrashReporterLoader() = default;

// QLibrary never unloads on destruction, so a library in use stays loaded.
CrashReporterLoader::~CrashReporterLoader() = default;

const char* CrashReporterLoader::DefaultLibraryName()
{
    // QLibrary adds the "lib" prefix and ".so" suffix: libcrashrpt.so, found
    // through the dynamic linker's usual search.
    return "crashrpt";
}

bool CrashReporterLoader::open(const char* name)
{
    d.reset(new Impl);
    d->library.setFileName(QString::fromLocal8Bit(name));
    if (d->library.load())
        return true;
    d.reset();
    return false;
}

CrashReporterLoader::Symbol CrashReporterLoader::resolve(const char* name) const
{
    return d ? reinterpret_cast<Symbol>(d->library.resolve(name)) : nullptr;
}

void CrashReporterLoader::close()
{
    if (d)
        d->library.unload();
    d.reset();
}

// The library's assertion exception is a Windows structured exception; there
// is nothing to guard against here.
bool CrashReporterLoader::installAssertFilter()
{
    return false;
}

void CrashReporterLoader::removeAssertFilter()
{
}
