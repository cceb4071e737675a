#include "winui/dpi.h"

namespace imgcrypt::winui {

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Looked up once: older systems lack the function.
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kLayoutDpi;
}

SIZE OuterSizeForClient(int clientWidth96, int clientHeight96, DWORD style, DWORD exStyle,
                        UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    // Looked up once: older systems lack the function.
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT r{0, 0, Scale(clientWidth96, dpi), Scale(clientHeight96, dpi)};
    const BOOL adjusted = adjustForDpi != nullptr ? adjustForDpi(&r, style, TRUE, exStyle, dpi)
                                                  : AdjustWindowRectEx(&r, style, TRUE, exStyle);
    if (!adjusted) {
        // No frame to add: the classic one, scaled.
        return {Scale(clientWidth96 + form::kClassicFrameWidth, dpi),
                Scale(clientHeight96 + form::kClassicFrameHeight, dpi)};
    }
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace imgcrypt::winui
