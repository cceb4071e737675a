// Pixels at the window's DPI from the 96-DPI layout. The window is per-monitor
// DPI aware: it scales its layout itself and again on every DPI change.
#pragma once

#include <windows.h>

#include "batch/form_layout.h"

namespace imgcrypt::winui {

inline constexpr UINT kLayoutDpi = 96;

// The DPI of the monitor the window is on (GetDpiForWindow, Windows 10 1607
// and later); on older systems the screen's DPI.
UINT WindowDpi(HWND window);

inline int Scale(int pixels96, UINT dpi) {
    return MulDiv(pixels96, static_cast<int>(dpi), static_cast<int>(kLayoutDpi));
}

// The outer size of a window of `style`/`exStyle` with a menu bar whose client
// area is clientWidth96 x clientHeight96 at 96 DPI, at `dpi`: the frame is the
// system's own (AdjustWindowRectExForDpi where the system has it).
SIZE OuterSizeForClient(int clientWidth96, int clientHeight96, DWORD style, DWORD exStyle,
                        UINT dpi);

inline RECT ScaleRect(const form::Rect& r, UINT dpi) {
    const int left = Scale(r.left, dpi);
    const int top = Scale(r.top, dpi);
    return {left, top, left + Scale(r.width, dpi), top + Scale(r.height, dpi)};
}

}  // namespace imgcrypt::winui
