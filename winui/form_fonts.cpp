#include "winui/form_fonts.h"

#include <string>

#include "batch/form_layout.h"
#include "runtime/utf16.h"
#include "winui/dpi.h"

namespace imgcrypt::winui {

namespace {

// Character heights at 96 DPI, negative: without the internal leading.
constexpr int kFontHeight96 = -form::kFontPixels;
constexpr int kMinFontHeight96 = -form::kMinFontPixels;

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
        static const std::wstring face = Utf16FromUtf8(form::kFontFace);
        font.reset(CreateFontW(Scale(height96, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face.c_str()));
    }
    return font.get();
}

}  // namespace imgcrypt::winui
