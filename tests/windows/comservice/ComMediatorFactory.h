#pragma once

#include "ComMediator.h"

#include <functional>

// The class object of the service: makes ComMediator objects and counts what
// keeps the server alive (objects and LockServer locks). When that count
// falls back to zero, idle runs: a server that has served its clients ends.
class ComMediatorFactory final : public ComObject<IClassFactory>
{
public:
    ComMediatorFactory(const ComMediator::Backing& backing, std::function<void()> idle);

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    void Drop();

    ComMediator::Backing backing;
    std::function<void()> idle;
    LONG holds = 0;
};
