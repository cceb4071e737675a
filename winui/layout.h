// The form of the Win32 main window: control and menu identifiers, every
// control's place at 96 DPI, its kind and its caption at creation. The table
// lists the controls in creation order, which is also their z-order and so
// the order Tab walks (labels come right before the box they name, which is
// where screen readers look for a box's name).
#pragma once

#include <array>
#include <string_view>

#include "batch/language_tables.h"

namespace imgcrypt::winui {

// Child-window and menu-command identifiers, named after the controls and
// menu items. They stay clear of IDOK and IDCANCEL, which the dialog keys
// send.
namespace ids {
enum : int {
    WebBrowser1 = 100,
    rgsuffix,
    rgsuffixItem0,
    rgsuffixItem1,
    gbencClass,
    gbencClassItem0,
    gbencClassItem1,
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
};
enum : int {
    N1 = 200,
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
}  // namespace ids

// Left, top, width, height in client pixels at 96 DPI.
struct Rect96 {
    int left, top, width, height;
};

enum class ControlKind {
    Banner,        // the web banner (WebBanner)
    GroupBox,      // frame and caption of a radio group
    Radio,         // one item of a radio group
    FirstRadio,    // the first item of a group: starts the group, takes the Tab stop
    Label,         // static text, no focus
    CentredLabel,  // static text, centred
    ReadOnlyEdit,  // single-line edit box the user cannot change
    PasswordEdit,  // single-line edit box, limited and masked
    Button,        // push button
    ProgressBar,   // progress bar, no focus
};

struct ControlSpec {
    int id;
    ControlKind kind;
    Rect96 rect;
    std::string_view caption;  // UTF-8, before the first language switch
};

inline constexpr Rect96 kRgSuffixRect{8, 152, 500, 41};
inline constexpr Rect96 kGbEncClassRect{8, 200, 500, 41};

// The two items of a radio group sit side by side in its frame, below the
// caption.
constexpr Rect96 RadioItemRect(const Rect96& group, int item) {
    constexpr int kColumnWidth = 245;
    return {group.left + 8 + item * kColumnWidth, group.top + 14, kColumnWidth - 10, 22};
}

inline constexpr std::array<ControlSpec, 18> kControls{{
    {ids::btnopen, ControlKind::Button, {447, 248, 60, 25}, "打开"},
    {ids::lbpassword, ControlKind::Label, {8, 284, 73, 13}, "Password"},
    {ids::edtEnpass, ControlKind::PasswordEdit, {80, 280, 81, 21}, ""},
    {ids::lbpassnote, ControlKind::Label, {168, 285, 217, 17}, "最多10位，支持空格以外所有字符"},
    {ids::btnenc, ControlKind::Button, {387, 280, 60, 25}, "加密"},
    {ids::btndec, ControlKind::Button, {447, 280, 60, 25}, "解密"},
    {ids::lbopen, ControlKind::Label, {8, 252, 73, 13}, "打开文件夹"},
    {ids::edtdir, ControlKind::ReadOnlyEdit, {80, 248, 353, 21}, ""},
    {ids::WebBrowser1, ControlKind::Banner, {8, 5, 500, 140}, ""},
    {ids::rgsuffix, ControlKind::GroupBox, kRgSuffixRect, "加密文件后缀名"},
    {ids::rgsuffixItem0, ControlKind::FirstRadio, RadioItemRect(kRgSuffixRect, 0),
     "不变，如 abc.JPG 加密为 abc.JPG"},
    {ids::rgsuffixItem1, ControlKind::Radio, RadioItemRect(kRgSuffixRect, 1),
     "加 'E'，如 abc.JPG 加密为 abc.JPGE"},
    {ids::gbencClass, ControlKind::GroupBox, kGbEncClassRect, "压缩级别"},
    {ids::gbencClassItem0, ControlKind::FirstRadio, RadioItemRect(kGbEncClassRect, 0),
     "标准加密（16位加密，迅捷加密）"},
    {ids::gbencClassItem1, ControlKind::Radio, RadioItemRect(kGbEncClassRect, 1),
     "高级加密（256位加密，比较费时）"},
    {ids::ProgressBar1, ControlKind::ProgressBar, {8, 320, 361, 17}, ""},
    {ids::lbprogress, ControlKind::CentredLabel, {376, 322, 73, 13}, ""},
    {ids::btncancel, ControlKind::Button, {448, 317, 60, 25}, "Cancel"},
}};

// The window's outer size at creation; start-up then sets the rest height.
inline constexpr int kCreationOuterWidth = 526;
inline constexpr int kCreationOuterHeight = 404;

// "MS Sans Serif" 8 point: 11 pixels high at 96 DPI.
inline constexpr const wchar_t* kFontFace = L"MS Sans Serif";
inline constexpr int kFontHeight96 = -11;

// The menu tree: entries of the bar have parent 0; an entry that is some
// entry's parent opens a drop-down, the others are commands. "-" is a
// separator line.
struct MenuEntry {
    int id;
    int parent;
    std::string_view caption;  // UTF-8, before the first language switch
};

inline constexpr std::array<MenuEntry, 13> kMenu{{
    {ids::N1, 0, "文件"},
    {ids::N2, ids::N1, "打开"},
    {ids::N4, ids::N1, "-"},
    {ids::N5, ids::N1, "退出"},
    {ids::N6, 0, "帮助"},
    {ids::N7, ids::N6, "说明"},
    {ids::N8, ids::N6, "在线帮助"},
    {ids::N11, 0, "关于"},
    {ids::nabout, ids::N11, "关于"},
    {ids::mdonate, 0, "捐助"},
    {ids::ndonate, ids::mdonate, "捐助"},
    {ids::mch, 0, kChineseCommandCaption},
    {ids::men, 0, kEnglishCommandCaption},
}};

}  // namespace imgcrypt::winui
