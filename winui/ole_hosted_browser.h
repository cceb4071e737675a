// The web-browser control (IWebBrowser2) in-place active in a window, with
// its events connected: creating, fitting, focusing and closing it.
#pragma once

#include <windows.h>

#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>

#include "winui/ole_browser_events.h"
#include "winui/ole_com_object.h"
#include "winui/ole_site.h"

namespace imgcrypt::winui {

class HostedBrowser {
  public:
    // The control will cover the client area of `host`.
    explicit HostedBrowser(HWND host) : host_(host) {}
    // Disconnects the events and closes the control.
    ~HostedBrowser() { Close(); }
    HostedBrowser(const HostedBrowser&) = delete;
    HostedBrowser& operator=(const HostedBrowser&) = delete;

    // Creates the control of class `browserClass`, activates it in the host
    // window and connects `handlers` to its events. False when any step fails;
    // nothing of it is left then.
    bool Open(const CLSID& browserClass, BrowserEvents::Handlers handlers);

    IWebBrowser2* browser() const noexcept { return browser_.Get(); }
    // Whether `frame` is the control itself rather than a frame in its page.
    bool IsTopLevel(IDispatch* frame) const;
    // Resizes the control to the host's client area.
    void Fit();
    // Gives the keyboard focus to the page.
    void Focus();

  private:
    bool Activate(const CLSID& browserClass);
    bool Connect(BrowserEvents::Handlers handlers);
    void Close();

    HWND host_;
    ComPtr<OleSite> site_;
    ComPtr<IOleObject> control_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<BrowserEvents> events_;
    ComPtr<IConnectionPoint> connection_;
    DWORD cookie_ = 0;
};

}  // namespace imgcrypt::winui
