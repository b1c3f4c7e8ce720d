#pragma once

#include "ComObject.h"
#include "LumetService.h"

#include <functional>
#include <string>

class CallJournal;
class LightingService;

// One object of the lighting service as COM clients see it: the four
// operations over a LightingService, each call recorded in the journal before
// it is answered, as the D-Bus service records them. The documents inside the
// BSTRs are byte strings, narrowed and widened the way the panel does.
// Exchange answers the document it is given, so that a client can see a
// document travel both ways unchanged.
class ComMediator final : public ComObject<IServiceMediator, IDispatch>
{
public:
    struct Backing
    {
        LightingService* service = nullptr;
        CallJournal* journal = nullptr;
        ITypeInfo* typeInfo = nullptr; // the interface's, for IDispatch
        // A failure code makes every operation answer it, after filling its
        // result as a careless service might; S_OK serves normally.
        HRESULT failure = S_OK;
    };

    // released runs when the object goes away.
    ComMediator(const Backing& backing, std::function<void()> released);

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE SetProfile(BSTR target, BSTR document) override;
    HRESULT STDMETHODCALLTYPE Exchange(BSTR document, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE GetStatus(BSTR* status) override;
    HRESULT STDMETHODCALLTYPE GetCapability(BSTR* capability) override;

private:
    ~ComMediator() override;

    // Hands text out as a new BSTR in *out, then answers the failure code
    // when one is set.
    HRESULT Answer(const std::u16string& text, BSTR* out) const;

    Backing backing;
    std::function<void()> released;
};
