// The banner `WebBrowser1`: the system's web-browser control in a child
// window of the main window. Each loaded document loses its scroll bars and
// border; a page that cannot be loaded gives way to a local page or a blank
// one (batch/banner_stages.h). The banner never makes the window fail:
// without the control it is a plain blank child window. COM must be
// initialised on the calling thread (OleInitialize) for as long as the
// banner lives.
#pragma once

#include <windows.h>

#include <exdisp.h>

#include <memory>
#include <string>

namespace imgcrypt::winui {

class WebBanner {
  public:
    // Creates the browser control as a child window of `parent` covering `bounds`
    // (client pixels). Never throws: when the control cannot be created, the
    // banner is a plain blank child window and Navigate does nothing.
    WebBanner(HWND parent, const RECT& bounds, int controlId);
    ~WebBanner();
    WebBanner(const WebBanner&) = delete;
    WebBanner& operator=(const WebBanner&) = delete;

    HWND window() const noexcept;        // the banner's child window (always exists)
    void SetBounds(const RECT& bounds);  // after a DPI change
    // Starts loading `url`; when it cannot be loaded and `fallbackFile` is not empty,
    // shows that local file instead (once; a failing fallback leaves the banner blank).
    void Navigate(const std::wstring& url, const std::wstring& fallbackFile = {});

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// What the banner does to every document the control completes: the top-level
// document's body loses its scroll bars and border, whichever frame
// completed. A document without a body (no HTML) is left alone.
void AdjustBannerDocument(IWebBrowser2* browser);

}  // namespace imgcrypt::winui
