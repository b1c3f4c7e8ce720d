#include "service/win/ComServiceBackend.h"
#include "service/ServiceClient.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// The service's dual interface: its own operations follow the seven slots of
// IUnknown and IDispatch. Outside the anonymous namespace on purpose: its
// implementation lives in another process, and for a type that no other
// translation unit can see, an optimising compiler concludes that no object
// implements it and drops the calls made through it.
struct IServiceMediator : public IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE SetProfile(BSTR target, BSTR document) = 0;
    virtual HRESULT STDMETHODCALLTYPE Exchange(BSTR document, BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(BSTR* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCapability(BSTR* capability) = 0;
};

namespace {

// {3F8A1D62-C4B7-49E0-8A15-D27C6E93B4A1}
const IID IID_IServiceMediator = {0x3F8A1D62, 0xC4B7, 0x49E0, {0x8A, 0x15, 0xD2, 0x7C, 0x6E, 0x93, 0xB4, 0xA1}};

const wchar_t* const ProgId = L"OvTarskLumetService.ServiceMediator";

// One service object for the length of one call.
class Mediator
{
public:
    Mediator()
    {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(ProgId, &clsid)))
            CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IServiceMediator, reinterpret_cast<void**>(&object));
    }
    ~Mediator()
    {
        if (object)
            object->Release();
    }
    Mediator(const Mediator&) = delete;
    Mediator& operator=(const Mediator&) = delete;

    IServiceMediator* get() const { return object; }

private:
    IServiceMediator* object = nullptr;
};

// A system string of exactly the text's length, freed with the object.
class SystemString
{
public:
    SystemString() = default;
    explicit SystemString(const std::u16string& text)
        : value(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())))
    {
    }
    ~SystemString() { SysFreeString(value); }
    SystemString(const SystemString&) = delete;
    SystemString& operator=(const SystemString&) = delete;

    BSTR get() const { return value; }
    BSTR* out() { return &value; }
    std::u16string text() const
    {
        return value ? std::u16string(reinterpret_cast<const char16_t*>(value), SysStringLen(value)) : std::u16string();
    }

private:
    BSTR value = nullptr;
};

using FetchOperation = HRESULT (STDMETHODCALLTYPE IServiceMediator::*)(BSTR*);

// One of the operations that only return a document.
std::u16string Fetch(FetchOperation operation)
{
    Mediator mediator;
    if (!mediator.get())
        return std::u16string();
    SystemString result;
    if (FAILED((mediator.get()->*operation)(result.out())))
        return std::u16string();
    return result.text();
}

} // namespace

void ComServiceBackend::SetProfile(const std::u16string& target, const std::u16string& document)
{
    Mediator mediator;
    if (!mediator.get())
        return;
    SystemString targetText(target);
    SystemString documentText(document);
    mediator.get()->SetProfile(targetText.get(), documentText.get());
}

std::u16string ComServiceBackend::Exchange(const std::u16string& document)
{
    Mediator mediator;
    if (!mediator.get())
        return std::u16string();
    SystemString documentText(document);
    SystemString result;
    if (FAILED(mediator.get()->Exchange(documentText.get(), result.out())))
        return std::u16string();
    return result.text();
}

std::u16string ComServiceBackend::GetStatus()
{
    return Fetch(&IServiceMediator::GetStatus);
}

std::u16string ComServiceBackend::GetCapability()
{
    return Fetch(&IServiceMediator::GetCapability);
}

std::unique_ptr<ServiceBackend> CreatePlatformServiceBackend()
{
    return std::make_unique<ComServiceBackend>();
}
