// The main window's menu bar, built from the form's menu tree, and captions
// set by identifier wherever the entry sits.
#pragma once

#include <windows.h>

#include <string_view>

#include "winui/handles.h"

namespace imgcrypt::winui {

// The bar with its drop-downs; every entry, drop-downs included, carries its
// identifier.
MenuHandle BuildMainMenu();

// Sets the caption (UTF-8) of the entry `id` in `menu` or its drop-downs.
void SetMenuCaption(HMENU menu, int id, std::string_view caption);

}  // namespace imgcrypt::winui
