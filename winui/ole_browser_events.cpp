#include "winui/ole_browser_events.h"

#include <exdisp.h>
#include <exdispid.h>

#include "winui/ole_automation.h"

namespace imgcrypt::winui {

namespace {

// Argument `index` in the order the event declares them (DISPPARAMS holds
// them last to first); null when the event came with fewer.
const VARIANT* Argument(const DISPPARAMS& params, UINT index, UINT declared) {
    if (params.rgvarg == nullptr || params.cArgs != declared || index >= declared) return nullptr;
    return &params.rgvarg[declared - 1 - index];
}

IDispatch* DispatchOf(const VARIANT* value) {
    if (value == nullptr) return nullptr;
    if (value->vt == VT_DISPATCH) return value->pdispVal;
    if (value->vt == (VT_DISPATCH | VT_BYREF) && value->ppdispVal != nullptr) {
        return *value->ppdispVal;
    }
    return nullptr;
}

std::wstring UrlOf(const VARIANT* value) {
    if (value == nullptr) return {};
    return TextOf(*value).value_or(std::wstring());
}

}  // namespace

void* BrowserEvents::InterfaceFor(REFIID iid) {
    const bool mine = iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2;
    return mine ? static_cast<IDispatch*>(this) : nullptr;
}

HRESULT BrowserEvents::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT BrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                              EXCEPINFO*, UINT*) {
    if (params == nullptr) return S_OK;
    // Nothing may be thrown back into the control.
    try {
        switch (id) {
            case DISPID_DOCUMENTCOMPLETE:  // (pDisp, URL)
                // Copies: a handler may detach the sink while it runs.
                if (auto handler = handlers_.documentComplete; handler && params->cArgs == 2) {
                    handler(UrlOf(Argument(*params, 1, 2)));
                }
                break;
            case DISPID_NAVIGATEERROR: {  // (pDisp, URL, TargetFrameName, StatusCode, Cancel)
                auto handler = handlers_.navigateError;
                if (!handler || params->cArgs != 5) break;
                const bool suppress =
                    handler(DispatchOf(Argument(*params, 0, 5)), UrlOf(Argument(*params, 1, 5)));
                const VARIANT* cancel = Argument(*params, 4, 5);
                if (suppress && cancel->vt == (VT_BOOL | VT_BYREF) && cancel->pboolVal != nullptr) {
                    *cancel->pboolVal = VARIANT_TRUE;
                }
                break;
            }
            default:
                break;
        }
    } catch (...) {
        return E_FAIL;
    }
    return S_OK;
}

}  // namespace imgcrypt::winui
