#include "winui/ole_site.h"

namespace imgcrypt::winui {

namespace {

// Clears an out-parameter the site has nothing for.
template <typename T>
HRESULT Nothing(T** out, HRESULT result) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return result;
}

}  // namespace

void* OleSite::InterfaceFor(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
        return static_cast<IOleClientSite*>(this);
    }
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
        return static_cast<IOleInPlaceSite*>(this);
    }
    if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        return static_cast<IOleInPlaceFrame*>(this);
    }
    if (iid == __uuidof(IDocHostUIHandler)) return static_cast<IDocHostUIHandler*>(this);
    return nullptr;
}

HRESULT OleSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
    return Nothing(out, E_NOTIMPL);
}

HRESULT OleSite::GetContainer(IOleContainer** out) {
    return Nothing(out, E_NOINTERFACE);
}

HRESULT OleSite::GetWindow(HWND* out) {
    if (out == nullptr) return E_POINTER;
    *out = host_;
    return S_OK;
}

HRESULT OleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                  LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || doc == nullptr || position == nullptr || clip == nullptr ||
        info == nullptr) {
        return E_POINTER;
    }
    // The frame is this object too; no separate document window.
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    ::GetClientRect(host_, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(host_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT OleSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info == nullptr) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT OleSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    return Nothing(key, E_NOTIMPL);
}

HRESULT OleSite::GetDropTarget(IDropTarget*, IDropTarget** out) {
    return Nothing(out, E_NOTIMPL);
}

HRESULT OleSite::GetExternal(IDispatch** out) {
    return Nothing(out, E_NOTIMPL);
}

HRESULT OleSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
    return Nothing(out, S_FALSE);
}

HRESULT OleSite::FilterDataObject(IDataObject*, IDataObject** out) {
    return Nothing(out, S_FALSE);
}

}  // namespace imgcrypt::winui
