// The main window's form, shared by every window that implements WindowPort:
// each control, radio item and menu entry by its name, the kind of every
// control, places in client pixels at 96 DPI, captions at creation, the order
// Tab walks, the menu tree, the font and the outer heights. The captions at
// creation differ from the language tables on purpose (the first switch
// replaces them before the window is shown). A window maps the names to its
// own controls and follows the rest; only how a kind looks is its own.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "batch/language_tables.h"

namespace imgcrypt::form {

// Every control, radio item and menu entry of the form.
enum class Id : int {
    WebBrowser1,
    rgsuffix,
    rgsuffixItem0,
    rgsuffixItem1,
    gbencClass,
    gbencClassItem0,
    gbencClassItem1,
    gbencClassItem2,
    lbopen,
    edtdir,
    btnopen,
    lbpassword,
    edtEnpass,
    lbpassnote,
    btnenc,
    btndec,
    ProgressBar1,
    lbprogress,
    btncancel,
    N1,
    N2,
    N4,
    N5,
    N6,
    N7,
    N8,
    N11,
    nabout,
    mdonate,
    ndonate,
    mch,
    men,
};
// How many ids there are; they count from 0.
inline constexpr int kIdCount = static_cast<int>(Id::men) + 1;

constexpr int IndexOf(Id id) noexcept {
    return static_cast<int>(id);
}

struct Rect {
    int left, top, width, height;
};

enum class Kind {
    Banner,        // the embedded web browser
    RadioGroup,    // frame, caption and items; one stop for Tab, the arrows move between items
    Label,         // static text, takes no focus
    CentredLabel,  // static text, centred, takes no focus
    ReadOnlyEdit,  // single-line box the user cannot change
    PasswordEdit,  // single-line box, at most kMaxPasswordLength characters, each shown as "#"
    Button,        // push button
    ProgressBar,   // holds its place in the tab order without taking the focus
};

struct RadioItem {
    Id id;
    std::string_view name;
    std::string_view caption;  // UTF-8
};

struct Control {
    Id id;
    std::string_view name;
    Kind kind;
    Rect rect;
    std::string_view caption;          // UTF-8
    std::span<const RadioItem> items;  // a radio group's items; item 0 is checked at creation
    std::optional<Id> names;           // the box a label names (screen readers read it as the box's name)
};

inline constexpr RadioItem kSuffixItems[] = {
    {Id::rgsuffixItem0, "rgsuffixItem0", "不变，如 abc.JPG 加密为 abc.JPG"},
    {Id::rgsuffixItem1, "rgsuffixItem1", "加 'E'，如 abc.JPG 加密为 abc.JPGE"},
};
inline constexpr RadioItem kClassItems[] = {
    {Id::gbencClassItem0, "gbencClassItem0", "标准加密（16位加密，迅捷加密）"},
    {Id::gbencClassItem1, "gbencClassItem1", "高级加密（256位加密，比较费时）"},
    {Id::gbencClassItem2, "gbencClassItem2",
     "密封加密（真正的加密：Argon2id + ChaCha20-Poly1305，不限文件大小）"},
};

// The controls in the order Tab walks them, each label right before the box
// it names; the order the windows create them in, so it is also their
// z-order. Labels take no focus.
inline constexpr std::array<Control, 14> kControls{{
    {Id::btnopen, "btnopen", Kind::Button, {447, 268, 60, 25}, "打开", {}, {}},
    {Id::lbpassword, "lbpassword", Kind::Label, {8, 304, 73, 13}, "Password", {}, Id::edtEnpass},
    {Id::edtEnpass, "edtEnpass", Kind::PasswordEdit, {80, 300, 81, 21}, "", {}, {}},
    {Id::lbpassnote, "lbpassnote", Kind::Label, {168, 305, 217, 17}, "最多10位，支持空格以外所有字符",
     {}, {}},
    {Id::btnenc, "btnenc", Kind::Button, {387, 300, 60, 25}, "加密", {}, {}},
    {Id::btndec, "btndec", Kind::Button, {447, 300, 60, 25}, "解密", {}, {}},
    {Id::lbopen, "lbopen", Kind::Label, {8, 272, 73, 13}, "打开文件夹", {}, Id::edtdir},
    {Id::edtdir, "edtdir", Kind::ReadOnlyEdit, {80, 268, 353, 21}, "", {}, {}},
    {Id::WebBrowser1, "WebBrowser1", Kind::Banner, {8, 5, 500, 140}, "", {}, {}},
    {Id::rgsuffix, "rgsuffix", Kind::RadioGroup, {8, 152, 500, 41}, "加密文件后缀名", kSuffixItems, {}},
    // Three items: the sealed class has the second row to itself.
    {Id::gbencClass, "gbencClass", Kind::RadioGroup, {8, 200, 500, 61}, "压缩级别", kClassItems, {}},
    {Id::ProgressBar1, "ProgressBar1", Kind::ProgressBar, {8, 340, 361, 17}, "", {}, {}},
    {Id::lbprogress, "lbprogress", Kind::CentredLabel, {376, 342, 73, 13}, "", {}, {}},
    {Id::btncancel, "btncancel", Kind::Button, {448, 337, 60, 25}, "Cancel", {}, {}},
}};

// The control `id` names; the first one when `id` is no control.
constexpr const Control& ControlOf(Id id) noexcept {
    for (const Control& control : kControls) {
        if (control.id == id) return control;
    }
    return kControls.front();
}

// A radio group's items sit in two columns, row by row, below its caption,
// as the classic radio group arranges them; a last item alone on its row
// takes the whole row, so a long caption keeps the form's font. The place of
// item `item` in the group's own pixels.
constexpr Rect RadioItemRectInGroup(const Control& group, int item) noexcept {
    constexpr int kColumns = 2;
    constexpr int kColumnWidth = 245;
    constexpr int kRowHeight = 22;
    const bool aloneOnItsRow =
        item % kColumns == 0 && item + 1 == static_cast<int>(group.items.size());
    const int columns = aloneOnItsRow ? kColumns : 1;
    return {8 + (item % kColumns) * kColumnWidth, 14 + (item / kColumns) * kRowHeight,
            columns * kColumnWidth - 10, kRowHeight};
}
// The same in the window's client pixels.
constexpr Rect RadioItemRect(const Control& group, int item) noexcept {
    const Rect r = RadioItemRectInGroup(group, item);
    return {group.rect.left + r.left, group.rect.top + r.top, r.width, r.height};
}

// The menu tree: entries of the bar have no parent; an entry that is some
// entry's parent opens a drop-down, the others are commands. "-" is a
// separator line. No entry has a shortcut key, check mark or image.
struct MenuEntry {
    Id id;
    std::string_view name;
    std::optional<Id> parent;
    std::string_view caption;  // UTF-8, at creation
};

inline constexpr std::array<MenuEntry, 13> kMenu{{
    {Id::N1, "N1", {}, "文件"},
    {Id::N2, "N2", Id::N1, "打开"},
    {Id::N4, "N4", Id::N1, "-"},
    {Id::N5, "N5", Id::N1, "退出"},
    {Id::N6, "N6", {}, "帮助"},
    {Id::N7, "N7", Id::N6, "说明"},
    {Id::N8, "N8", Id::N6, "在线帮助"},
    {Id::N11, "N11", {}, "关于"},
    {Id::nabout, "nabout", Id::N11, "关于"},
    {Id::mdonate, "mdonate", {}, "捐助"},
    {Id::ndonate, "ndonate", Id::mdonate, "捐助"},
    // The two language commands act at once from the bar; no drop-down.
    {Id::mch, "mch", {}, kChineseCommandCaption},
    {Id::men, "men", {}, kEnglishCommandCaption},
}};

constexpr bool OpensDropDown(Id id) noexcept {
    for (const MenuEntry& entry : kMenu) {
        if (entry.parent == id) return true;
    }
    return false;
}

// The commands a run disables: they would start another run, change the
// selection or rename the output folders under it.
inline constexpr std::array<Id, 5> kRunCommands{Id::btnopen, Id::btnenc, Id::N2, Id::mch, Id::men};

// The form's font, "MS Sans Serif" 8 point: 11 pixels high at 96 DPI. A
// caption wider than its fixed-size control gets a smaller size, down to a
// readable minimum, rather than being cut off.
inline constexpr std::string_view kFontFace = "MS Sans Serif";
inline constexpr int kFontPixels = 11;
inline constexpr int kMinFontPixels = 9;

// The outer size at creation; start-up then sets the rest height.
inline constexpr int kCreationOuterWidth = 526;
inline constexpr int kCreationOuterHeight = 424;
// The window's outer heights: at rest the progress row is out of view, during
// a run it shows.
inline constexpr int kRestHeight = 390;
inline constexpr int kRunHeight = 420;

// The heights above are those of a classic framed window: its borders, title
// bar and menu bar took this much, and the controls live in the rest. Both
// windows size their client area from them, so a thicker frame (a newer
// system's, another window manager's) never cuts off the lowest row.
inline constexpr int kClassicFrameHeight = 53;
inline constexpr int kClassicFrameWidth = 8;

// 390 -> 337: the client area ends just above the progress row (top 337).
// 420 -> 367: the progress row, Cancel button included, is in view.
constexpr int ClientHeightForOuter(int outerHeight) noexcept {
    return outerHeight - kClassicFrameHeight;
}
// The width never changes after creation.
inline constexpr int kClientWidth = kCreationOuterWidth - kClassicFrameWidth;

}  // namespace imgcrypt::form
