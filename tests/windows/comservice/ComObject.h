#pragma once

#include <windows.h>

// What the service's COM objects share: they answer to IUnknown, Base and
// Interface, and their last reference deletes them.
template <class Interface, class Base = IUnknown>
class ComObject : public Interface
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        const bool offered = iid == __uuidof(IUnknown) || iid == __uuidof(Base) || iid == __uuidof(Interface);
        *object = offered ? static_cast<Interface*>(this) : nullptr;
        if (!offered)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() = default;

private:
    LONG references = 1;
};
