#include "ComMediator.h"

#include "service/ServiceText.h"
#include "simulator/core/CallJournal.h"
#include "simulator/core/LightingService.h"
#include "simulator/core/ServiceLog.h"

namespace {

std::u16string Text(BSTR text)
{
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : std::u16string();
}

// Every UTF-16 unit as it came, for the journal.
QString JournalText(BSTR text)
{
    return QString(reinterpret_cast<const QChar*>(text), static_cast<int>(SysStringLen(text)));
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
    released();
}

HRESULT ComMediator::GetTypeInfoCount(UINT* count)
{
    return count ? (*count = 1, S_OK) : E_POINTER;
}

HRESULT ComMediator::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = index == 0 ? backing.typeInfo : nullptr;
    if (!*info)
        return DISP_E_BADINDEX;
    backing.typeInfo->AddRef();
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

HRESULT ComMediator::SetProfile(BSTR target, BSTR document)
{
    const QString key = JournalText(target), text = JournalText(document);
    backing.journal->Record("SetProfile", &key, &text);
    if (FAILED(backing.failure))
        return backing.failure;
    std::string fault;
    const auto outcome =
        backing.service->SetProfile(ServiceText::Narrow(Text(target)), ServiceText::Narrow(Text(document)), fault);
    if (outcome == LightingService::Outcome::Applied)
        return S_OK;
    ServiceLog::Say(QStringLiteral("profile for %1 not applied: %2").arg(key, QString::fromStdString(fault)));
    return outcome == LightingService::Outcome::Refused ? E_INVALIDARG : E_FAIL;
}

HRESULT ComMediator::Exchange(BSTR document, BSTR* result)
{
    const QString text = JournalText(document);
    backing.journal->Record("Exchange", nullptr, &text);
    return Answer(Text(document), result);
}

HRESULT ComMediator::GetStatus(BSTR* status)
{
    backing.journal->Record("GetStatus");
    return Answer(ServiceText::Widen(backing.service->GetStatus()), status);
}

HRESULT ComMediator::GetCapability(BSTR* capability)
{
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
