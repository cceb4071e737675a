// Owning handles for the GDI objects and menus the window creates; each is
// released when its owner goes.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace imgcrypt::winui {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};

using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
// A menu not yet handed to a window (a window destroys its own menu).
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

}  // namespace imgcrypt::winui
