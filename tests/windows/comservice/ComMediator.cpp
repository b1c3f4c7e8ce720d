#include "ComMediator.h"

#include "service/ServiceText.h"
#include "simulator/core/CallJournal.h"
#include "simulator/core/LightingService.h"

#include <QString>

namespace {

std::u16string Text(BSTR text)
{
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : std::u16string();
}

// Every UTF-16 unit as it came, for the journal.
QString JournalText(BSTR text)
{
    const std::u16string units = Text(text);
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<int>(units.size()));
}

} // namespace

ComMediator::ComMediator(const Backing& backing, std::function<void()> released)
    : backing(backing), released(std::move(released))
{
    backing.typeInfo->AddRef();
}

ComMediator::~ComMediator()
{
    backing.typeInfo->Release();
    if (released)
        released();
}

HRESULT ComMediator::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IServiceMediator)
        *object = static_cast<IServiceMediator*>(this);
    else if (iid == IID_ISupportErrorInfo)
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ComMediator::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG ComMediator::Release()
{
    const LONG left = InterlockedDecrement(&references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT ComMediator::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT ComMediator::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    backing.typeInfo->AddRef();
    *info = backing.typeInfo;
    return S_OK;
}

HRESULT ComMediator::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return DispGetIDsOfNames(backing.typeInfo, names, count, ids);
}

HRESULT ComMediator::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                            EXCEPINFO* exception, UINT* argumentError)
{
    return DispInvoke(static_cast<IServiceMediator*>(this), backing.typeInfo, id, flags, parameters, result,
                      exception, argumentError);
}

HRESULT ComMediator::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == IID_IServiceMediator ? S_OK : S_FALSE;
}

HRESULT ComMediator::SetProfile(BSTR target, BSTR document)
{
    if (backing.journal) {
        const QString key = JournalText(target);
        const QString text = JournalText(document);
        backing.journal->Record("SetProfile", &key, &text);
    }
    if (FAILED(backing.failure))
        return backing.failure;
    std::string fault;
    switch (backing.service->SetProfile(ServiceText::Narrow(Text(target)), ServiceText::Narrow(Text(document)),
                                        fault)) {
    case LightingService::Outcome::Applied:
        return S_OK;
    case LightingService::Outcome::Refused:
        return Refuse(E_INVALIDARG, fault);
    case LightingService::Outcome::Failed:
        break;
    }
    return Refuse(E_FAIL, fault);
}

HRESULT ComMediator::Exchange(BSTR document, BSTR* result)
{
    if (backing.journal) {
        const QString text = JournalText(document);
        backing.journal->Record("Exchange", nullptr, &text);
    }
    return Answer(Text(document), result);
}

HRESULT ComMediator::GetStatus(BSTR* status)
{
    if (backing.journal)
        backing.journal->Record("GetStatus");
    return Answer(ServiceText::Widen(backing.service->GetStatus()), status);
}

HRESULT ComMediator::GetCapability(BSTR* capability)
{
    if (backing.journal)
        backing.journal->Record("GetCapability");
    return Answer(ServiceText::Widen(backing.service->GetCapability()), capability);
}

HRESULT ComMediator::Answer(const std::u16string& text, BSTR* out) const
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    if (!*out)
        return E_OUTOFMEMORY;
    return FAILED(backing.failure) ? backing.failure : S_OK;
}

HRESULT ComMediator::Refuse(HRESULT code, const std::string& fault)
{
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
        const std::u16string description = ServiceText::Widen(fault);
        std::wstring wide(description.begin(), description.end());
        create->SetGUID(IID_IServiceMediator);
        create->SetDescription(&wide[0]);
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    }
    return code;
}
