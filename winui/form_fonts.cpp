#include "winui/form_fonts.h"

#include "winui/dpi.h"
#include "winui/layout.h"

namespace imgcrypt::winui {

namespace {

// Character height (negative: without the internal leading) at 96 DPI.
constexpr int kMinFontHeight96 = -9;

int TextWidth(HDC dc, HFONT font, std::wstring_view text) {
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

}  // namespace

HFONT FormFonts::Regular() {
    return OfHeight(kFontHeight96);
}

HFONT FormFonts::Fitting(HDC dc, std::wstring_view text, int room) {
    int height = kFontHeight96;
    HFONT font = OfHeight(height);
    while (height < kMinFontHeight96 && TextWidth(dc, font, text) > room) {
        font = OfHeight(++height);
    }
    return font;
}

HFONT FormFonts::OfHeight(int height96) {
    FontHandle& font = fonts_[height96];
    if (!font) {
        font.reset(CreateFontW(Scale(height96, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kFontFace));
    }
    return font.get();
}

}  // namespace imgcrypt::winui
