#include "app/SingleInstance.h"

#include <windows.h>

#include <string>

struct SingleInstance::Claim
{
    HANDLE mutex = nullptr;
    ~Claim()
    {
        if (mutex)
            CloseHandle(mutex);
    }
};

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire()
{
    const std::string narrow(Name);
    const std::wstring name(narrow.begin(), narrow.end());
    claim = std::make_unique<Claim>();
    claim->mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    if (claim->mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        claim.reset();
        return false;
    }
    return true;
}
