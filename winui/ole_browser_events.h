// The sink for the browser control's events (DWebBrowserEvents2). It passes
// on the two the banner acts on and ignores the rest.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <string>

#include "winui/ole_com_object.h"

namespace imgcrypt::winui {

class BrowserEvents final : public ComObject<BrowserEvents, IDispatch> {
  public:
    struct Handlers {
        // A document of the page or of one of its frames has loaded.
        std::function<void(const std::wstring& url)> documentComplete;
        // A page or frame (`frame`) could not be loaded; the answer is whether to
        // suppress the control's own error page.
        std::function<bool(IDispatch* frame, const std::wstring& url)> navigateError;
    };

    explicit BrowserEvents(Handlers handlers) : handlers_(std::move(handlers)) {}

    // Stops passing events on: the control may still hold the sink after the
    // banner is gone.
    void Detach() { handlers_ = {}; }

    void* InterfaceFor(REFIID iid);
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override;

  private:
    Handlers handlers_;
};

}  // namespace imgcrypt::winui
