#include "winui/menu.h"

#include <string>

#include "batch/form_layout.h"
#include "runtime/utf16.h"
#include "winui/layout.h"

namespace imgcrypt::winui {

namespace {

void AppendEntries(HMENU menu, std::optional<form::Id> parent) {
    for (const form::MenuEntry& entry : form::kMenu) {
        if (entry.parent != parent) continue;
        const std::wstring caption = Utf16FromUtf8(entry.caption);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE;
        item.wID = static_cast<UINT>(CommandId(entry.id));
        if (entry.caption == "-") {
            item.fType = MFT_SEPARATOR;
        } else {
            item.fMask |= MIIM_STRING;
            item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
        }
        if (form::OpensDropDown(entry.id)) {
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = CreatePopupMenu();
            AppendEntries(item.hSubMenu, entry.id);
        }
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
    }
}

}  // namespace

MenuHandle BuildMainMenu() {
    MenuHandle bar(CreateMenu());
    AppendEntries(bar.get(), std::nullopt);
    return bar;
}

void SetMenuCaption(HMENU menu, int id, std::string_view caption) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
        if (item.wID == static_cast<UINT>(id)) {
            std::wstring text = Utf16FromUtf8(caption);
            MENUITEMINFOW change{};
            change.cbSize = sizeof change;
            change.fMask = MIIM_STRING;
            change.dwTypeData = text.data();
            SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &change);
            return;
        }
        if (item.hSubMenu != nullptr) SetMenuCaption(item.hSubMenu, id, caption);
    }
}

}  // namespace imgcrypt::winui
