#include "winui/ole_hosted_browser.h"

namespace imgcrypt::winui {

namespace {

// Both pointers name the same COM object (identity through IUnknown).
bool SameObject(IUnknown* a, IUnknown* b) {
    if (a == nullptr || b == nullptr) return false;
    ComPtr<IUnknown> identityA;
    ComPtr<IUnknown> identityB;
    return SUCCEEDED(a->QueryInterface(IID_IUnknown, &identityA)) &&
           SUCCEEDED(b->QueryInterface(IID_IUnknown, &identityB)) &&
           identityA.Get() == identityB.Get();
}

}  // namespace

bool HostedBrowser::Open(const CLSID& browserClass, BrowserEvents::Handlers handlers) {
    if (Activate(browserClass) && Connect(std::move(handlers))) return true;
    Close();
    return false;
}

bool HostedBrowser::Activate(const CLSID& browserClass) {
    if (FAILED(::CoCreateInstance(browserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  &control_))) {
        return false;
    }
    site_ = MakeComObject<OleSite>(host_);
    if (FAILED(control_->SetClientSite(site_.Get()))) return false;
    ::OleSetContainedObject(control_.Get(), TRUE);  // only tunes locking; no need to check
    RECT area;
    ::GetClientRect(host_, &area);
    if (FAILED(control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, host_, &area))) {
        return false;
    }
    if (FAILED(control_.As(&browser_))) return false;
    // Script errors and other prompts of an advertisement must never reach the user.
    browser_->put_Silent(VARIANT_TRUE);
    return true;
}

bool HostedBrowser::Connect(BrowserEvents::Handlers handlers) {
    ComPtr<IConnectionPointContainer> points;
    if (FAILED(browser_.As(&points))) return false;
    ComPtr<IConnectionPoint> point;
    if (FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) return false;
    auto events = MakeComObject<BrowserEvents>(std::move(handlers));
    DWORD cookie = 0;
    if (FAILED(point->Advise(events.Get(), &cookie))) return false;
    events_ = std::move(events);
    connection_ = std::move(point);
    cookie_ = cookie;
    return true;
}

// Teardown goes on whatever each step answers.
void HostedBrowser::Close() {
    if (events_) events_->Detach();
    if (connection_) connection_->Unadvise(cookie_);
    connection_.Reset();
    events_.Reset();
    if (browser_) browser_->Stop();
    browser_.Reset();
    if (control_) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(control_.As(&inPlace))) inPlace->InPlaceDeactivate();
        control_->Close(OLECLOSE_NOSAVE);
        control_->SetClientSite(nullptr);
    }
    control_.Reset();
    site_.Reset();
}

bool HostedBrowser::IsTopLevel(IDispatch* frame) const {
    return SameObject(frame, browser_.Get());
}

void HostedBrowser::Fit() {
    ComPtr<IOleInPlaceObject> inPlace;
    if (!control_ || FAILED(control_.As(&inPlace))) return;
    RECT area;
    ::GetClientRect(host_, &area);
    inPlace->SetObjectRects(&area, &area);
}

void HostedBrowser::Focus() {
    if (!control_) return;
    RECT area;
    ::GetClientRect(host_, &area);
    control_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.Get(), 0, host_, &area);
}

}  // namespace imgcrypt::winui
