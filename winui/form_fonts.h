// The form's font at one DPI, and the smaller sizes a caption falls back to
// when it does not fit its fixed-size control (a substituted font can be
// wider than the one the layout was made for): never below a readable size.
#pragma once

#include <windows.h>

#include <map>
#include <string_view>

#include "winui/handles.h"

namespace imgcrypt::winui {

class FormFonts {
  public:
    explicit FormFonts(UINT dpi) : dpi_(dpi) {}

    UINT dpi() const noexcept { return dpi_; }

    HFONT Regular();
    // The largest size, down to the minimum, at which `text` fits in `room`
    // pixels.
    HFONT Fitting(HDC dc, std::wstring_view text, int room);

  private:
    HFONT OfHeight(int height96);

    UINT dpi_;
    std::map<int, FontHandle> fonts_;  // by height at 96 DPI
};

}  // namespace imgcrypt::winui
