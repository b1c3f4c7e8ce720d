#pragma once

#include "LumetService.h"

#include <functional>
#include <string>

class CallJournal;
class LightingService;

// One object of the lighting service as COM clients see it: the four
// operations over a LightingService, each call recorded in the journal before
// it is answered, as the D-Bus service records them. Text arrives and leaves
// as BSTRs; the documents inside are byte strings, narrowed and widened the
// way the panel does. Exchange answers the document it is given, so that a
// client can see a document travel both ways unchanged.
class ComMediator final : public IServiceMediator, public ISupportErrorInfo
{
public:
    struct Backing
    {
        LightingService* service = nullptr;
        CallJournal* journal = nullptr; // null: nothing recorded
        ITypeInfo* typeInfo = nullptr;  // the interface's, for IDispatch
        // A failure code makes every operation answer it, after filling its
        // result as a careless service might; S_OK serves normally.
        HRESULT failure = S_OK;
    };

    // released runs when the object goes away.
    ComMediator(const Backing& backing, std::function<void()> released);
    ComMediator(const ComMediator&) = delete;
    ComMediator& operator=(const ComMediator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

    HRESULT STDMETHODCALLTYPE SetProfile(BSTR target, BSTR document) override;
    HRESULT STDMETHODCALLTYPE Exchange(BSTR document, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE GetStatus(BSTR* status) override;
    HRESULT STDMETHODCALLTYPE GetCapability(BSTR* capability) override;

private:
    ~ComMediator();

    // Hands text out as a new BSTR in *out, then answers the failure code
    // when one is set.
    HRESULT Answer(const std::u16string& text, BSTR* out) const;
    // A refused call: the fault becomes the call's error information.
    static HRESULT Refuse(HRESULT code, const std::string& fault);

    Backing backing;
    std::function<void()> released;
    LONG references = 1;
};
