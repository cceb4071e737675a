// What the Win32 main window adds to the shared form: control and menu
// identifiers, every control's kind, the radio items' places and the menu
// tree. The table lists the controls in creation order, which is also their
// z-order and so the order Tab walks (labels come right before the box they
// name, which is where screen readers look for a box's name).
#pragma once

#include <array>
#include <string_view>

#include "batch/form_layout.h"

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

// The two items of a radio group sit side by side in its frame, below the
// caption.
constexpr form::Rect RadioItemRect(const form::Rect& group, int item) {
    constexpr int kColumnWidth = 245;
    return {group.left + 8 + item * kColumnWidth, group.top + 14, kColumnWidth - 10, 22};
}

struct ControlSpec {
    constexpr ControlSpec(int id, ControlKind kind, const form::Control& control)
        : id(id), kind(kind), rect(control.rect), caption(control.caption) {}
    constexpr ControlSpec(int id, ControlKind kind, const form::RadioGroup& group, int item)
        : id(id), kind(kind), rect(RadioItemRect(group.rect, item)), caption(group.items[item]) {}

    int id;
    ControlKind kind;
    form::Rect rect;           // at 96 DPI
    std::string_view caption;  // UTF-8, before the first language switch
};

inline constexpr std::array<ControlSpec, 18> kControls{{
    {ids::btnopen, ControlKind::Button, form::btnopen},
    {ids::lbpassword, ControlKind::Label, form::lbpassword},
    {ids::edtEnpass, ControlKind::PasswordEdit, form::edtEnpass},
    {ids::lbpassnote, ControlKind::Label, form::lbpassnote},
    {ids::btnenc, ControlKind::Button, form::btnenc},
    {ids::btndec, ControlKind::Button, form::btndec},
    {ids::lbopen, ControlKind::Label, form::lbopen},
    {ids::edtdir, ControlKind::ReadOnlyEdit, form::edtdir},
    {ids::WebBrowser1, ControlKind::Banner, form::WebBrowser1},
    {ids::rgsuffix, ControlKind::GroupBox, form::rgsuffix},
    {ids::rgsuffixItem0, ControlKind::FirstRadio, form::rgsuffix, 0},
    {ids::rgsuffixItem1, ControlKind::Radio, form::rgsuffix, 1},
    {ids::gbencClass, ControlKind::GroupBox, form::gbencClass},
    {ids::gbencClassItem0, ControlKind::FirstRadio, form::gbencClass, 0},
    {ids::gbencClassItem1, ControlKind::Radio, form::gbencClass, 1},
    {ids::ProgressBar1, ControlKind::ProgressBar, form::ProgressBar1},
    {ids::lbprogress, ControlKind::CentredLabel, form::lbprogress},
    {ids::btncancel, ControlKind::Button, form::btncancel},
}};

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
    {ids::N1, 0, form::menu::N1},
    {ids::N2, ids::N1, form::menu::N2},
    {ids::N4, ids::N1, form::menu::N4},
    {ids::N5, ids::N1, form::menu::N5},
    {ids::N6, 0, form::menu::N6},
    {ids::N7, ids::N6, form::menu::N7},
    {ids::N8, ids::N6, form::menu::N8},
    {ids::N11, 0, form::menu::N11},
    {ids::nabout, ids::N11, form::menu::nabout},
    {ids::mdonate, 0, form::menu::mdonate},
    {ids::ndonate, ids::mdonate, form::menu::ndonate},
    {ids::mch, 0, form::menu::mch},
    {ids::men, 0, form::menu::men},
}};

}  // namespace imgcrypt::winui
