#pragma once

#include "ComMediator.h"

#include <functional>

// The class object of the service: makes ComMediator objects and counts what
// keeps the server alive (objects and LockServer locks). When that count
// falls back to zero, idle runs: a server that has served its clients ends.
class ComMediatorFactory final : public IClassFactory
{
public:
    ComMediatorFactory(const ComMediator::Backing& backing, std::function<void()> idle);
    ComMediatorFactory(const ComMediatorFactory&) = delete;
    ComMediatorFactory& operator=(const ComMediatorFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~ComMediatorFactory() = default;

    void Hold();
    void Drop();

    ComMediator::Backing backing;
    std::function<void()> idle;
    LONG references = 1;
    LONG holds = 0;
};
