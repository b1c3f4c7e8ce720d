#include "ComMediatorFactory.h"

ComMediatorFactory::ComMediatorFactory(const ComMediator::Backing& backing, std::function<void()> idle)
    : backing(backing), idle(std::move(idle))
{
}

HRESULT ComMediatorFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    InterlockedIncrement(&holds);
    ComMediator* mediator = new ComMediator(backing, [this] { Drop(); });
    const HRESULT result = mediator->QueryInterface(iid, object);
    mediator->Release();
    return result;
}

HRESULT ComMediatorFactory::LockServer(BOOL lock)
{
    if (lock)
        InterlockedIncrement(&holds);
    else
        Drop();
    return S_OK;
}

void ComMediatorFactory::Drop()
{
    if (InterlockedDecrement(&holds) == 0)
        idle();
}
