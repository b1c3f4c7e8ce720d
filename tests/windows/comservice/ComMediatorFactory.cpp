#include "ComMediatorFactory.h"

ComMediatorFactory::ComMediatorFactory(const ComMediator::Backing& backing, std::function<void()> idle)
    : backing(backing), idle(std::move(idle))
{
}

HRESULT ComMediatorFactory::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG ComMediatorFactory::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG ComMediatorFactory::Release()
{
    const LONG left = InterlockedDecrement(&references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT ComMediatorFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    Hold();
    ComMediator* mediator = new ComMediator(backing, [this] { Drop(); });
    const HRESULT result = mediator->QueryInterface(iid, object);
    mediator->Release();
    return result;
}

HRESULT ComMediatorFactory::LockServer(BOOL lock)
{
    lock ? Hold() : Drop();
    return S_OK;
}

void ComMediatorFactory::Hold()
{
    InterlockedIncrement(&holds);
}

void ComMediatorFactory::Drop()
{
    if (InterlockedDecrement(&holds) == 0 && idle)
        idle();
}
