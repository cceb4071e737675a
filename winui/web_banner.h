// The banner at the top of the main window: the system's web-browser control
// in a minimal OLE container. Whatever fails, the banner is a blank child
// window and the main window works on.
#pragma once

#include <windows.h>

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
    HWND Window() const noexcept;        // the banner's child window (always exists)
    bool HasBrowser() const noexcept;    // whether the web-browser control was created
    void SetBounds(const RECT& bounds);  // after a DPI change
    // Starts loading `url`; when it cannot be loaded and `fallbackFile` is not empty,
    // shows that local file instead (once; a failing fallback leaves the banner blank).
    void Navigate(const std::wstring& url, const std::wstring& fallbackFile = {});

  private:
    HWND window_ = nullptr;
};

}  // namespace imgcrypt::winui
