// The banner `WebBrowser1`: the system's web-browser control in a child
// window of the main window. Each loaded document loses its scroll bars and
// border; a page that cannot be loaded gives way to a local page or a blank
// one. The banner never makes the window fail: without the control it is a
// plain blank child window. COM must be initialised on the calling thread
// (OleInitialize) for as long as the banner lives.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>

namespace imgcrypt::winui {

class WebBanner {
  public:
    // Creates the browser control as a child window of `parent` covering `bounds`
    // (client pixels). Never throws: when the control cannot be created, the
    // banner is a plain blank child window and Navigate does nothing.
    WebBanner(HWND parent, const RECT& bounds, int controlId);
    // For tests: hosts the control of class `browserClass` instead.
    WebBanner(HWND parent, const RECT& bounds, int controlId, const CLSID& browserClass);
    ~WebBanner();
    WebBanner(const WebBanner&) = delete;
    WebBanner& operator=(const WebBanner&) = delete;

    HWND Window() const noexcept;        // the banner's child window (always exists)
    bool HasBrowser() const noexcept;    // whether the web-browser control was created
    void SetBounds(const RECT& bounds);  // after a DPI change
    // Starts loading `url`; when it cannot be loaded and `fallbackFile` is not empty,
    // shows that local file instead (once; a failing fallback leaves the banner blank).
    void Navigate(const std::wstring& url, const std::wstring& fallbackFile = {});

    // For tests: told the address of every load the banner starts, and of every
    // document completed once the banner has adjusted it.
    struct Observer {
        std::function<void(const std::wstring& url)> loadStarted;
        std::function<void(const std::wstring& url)> documentComplete;
    };
    void SetObserver(Observer observer);
    // For tests: the control's automation object; null without the control.
    IDispatch* Automation() const noexcept;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace imgcrypt::winui
