// Stand-in for the browser host: the blank banner the window shows when the
// web-browser control cannot be created.
#include "winui/web_banner.h"

namespace imgcrypt::winui {

WebBanner::WebBanner(HWND parent, const RECT& bounds, int controlId)
    : window_(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_WHITERECT, bounds.left,
                              bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              GetModuleHandleW(nullptr), nullptr)) {}

WebBanner::~WebBanner() = default;

HWND WebBanner::Window() const noexcept {
    return window_;
}

bool WebBanner::HasBrowser() const noexcept {
    return false;
}

void WebBanner::SetBounds(const RECT& bounds) {
    SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WebBanner::Navigate(const std::wstring&, const std::wstring&) {}

}  // namespace imgcrypt::winui
