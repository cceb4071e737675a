// The form as the Win32 window builds it: places, kinds and initial state,
// captions at creation, the order Tab walks, frame and heights, DPI, menu
// tree, the password and folder boxes. What the controls do is the wiring
// test's.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "batch/form_layout.h"
#include "batch/language_tables.h"
#include "runtime/utf16.h"
#include "tests/winui/window_fixture.h"
#include "winui/message_loop.h"

namespace imgcrypt::winui::test {
namespace {

RECT RectOf(const form::Rect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + "}";
}

LONG_PTR Style(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

bool IsLabel(const form::Control& control) {
    return control.kind == form::Kind::Label || control.kind == form::Kind::CentredLabel;
}

// The system's class of each kind of the form; the banner is a window of its own.
const wchar_t* ClassOfKind(form::Kind kind) {
    switch (kind) {
        case form::Kind::Label:
        case form::Kind::CentredLabel:
            return WC_STATICW;
        case form::Kind::ReadOnlyEdit:
        case form::Kind::PasswordEdit:
            return WC_EDITW;
        case form::Kind::RadioGroup:
        case form::Kind::Button:
            return WC_BUTTONW;
        case form::Kind::ProgressBar:
            return PROGRESS_CLASSW;
        case form::Kind::Banner:
            break;
    }
    return nullptr;
}

// Captions and creation order of every child window as the system creates them.
thread_local std::vector<std::pair<int, std::string>>* gCreated = nullptr;

LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && gCreated != nullptr) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if ((create->style & WS_CHILD) != 0 && create->lpszName != nullptr &&
            !IS_INTRESOURCE(create->lpszName)) {
            gCreated->emplace_back(static_cast<int>(reinterpret_cast<INT_PTR>(create->hMenu)),
                                   Utf8FromUtf16(create->lpszName));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(WindowLayout, ControlsSitWhereTheFormPutsThemAndKeepThePlaceWhenTheFrameIsResized) {
    WindowFixture f;
    for (int pass = 0; pass < 2; ++pass) {
        for (const form::Control& control : form::kControls) {
            const HWND window = f.Control(control.id);
            ASSERT_NE(window, nullptr) << control.name;
            if (const wchar_t* className = ClassOfKind(control.kind)) {
                EXPECT_EQ(ClassOf(window), className) << control.name;
            }
            EXPECT_TRUE(SameRect(ClientRectOf(window), RectOf(control.rect)))
                << control.name << ": " << Describe(ClientRectOf(window));
            for (std::size_t i = 0; i < control.items.size(); ++i) {
                const HWND item = f.Control(control.items[i].id);
                const RECT expected = RectOf(form::RadioItemRect(control, static_cast<int>(i)));
                EXPECT_TRUE(SameRect(ClientRectOf(item), expected))
                    << control.items[i].name << ": " << Describe(ClientRectOf(item));
            }
        }
        SetWindowPos(f.hwnd(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    }
}

TEST(WindowLayout, KindsAndInitialStateOfTheControls) {
    WindowFixture f;
    for (const form::Control& control : form::kControls) {
        const HWND window = f.Control(control.id);
        const LONG_PTR style = Style(window);
        switch (control.kind) {
            case form::Kind::RadioGroup:
                EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX) << control.name;
                for (std::size_t i = 0; i < control.items.size(); ++i) {
                    const HWND item = f.Control(control.items[i].id);
                    EXPECT_EQ(Style(item) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
                    EXPECT_EQ(SendMessageW(item, BM_GETCHECK, 0, 0),
                              i == 0 ? BST_CHECKED : BST_UNCHECKED);
                }
                break;
            case form::Kind::ReadOnlyEdit:
                EXPECT_NE(style & ES_READONLY, 0) << control.name;
                EXPECT_TRUE(TextOf(window).empty());
                break;
            case form::Kind::PasswordEdit:
                EXPECT_NE(style & ES_PASSWORD, 0) << control.name;
                break;
            case form::Kind::CentredLabel:
                EXPECT_NE(style & SS_CENTER, 0) << control.name;
                break;
            case form::Kind::Button:
                EXPECT_TRUE(IsWindowEnabled(window)) << control.name;
                break;
            case form::Kind::ProgressBar:
                EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 0);
                break;
            default:
                break;
        }
        if (control.kind == form::Kind::Banner) continue;
        // The form's font; a caption too wide for its control gets a smaller size.
        const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << control.name;
        LOGFONTW logFont{};
        GetObjectW(font, sizeof logFont, &logFont);
        EXPECT_EQ(logFont.lfFaceName, Utf16FromUtf8(form::kFontFace)) << control.name;
        EXPECT_TRUE(logFont.lfHeight >= -form::kFontPixels &&
                    logFont.lfHeight <= -form::kMinFontPixels)
            << control.name;
        if (control.id == form::Id::btnenc || control.id == form::Id::edtEnpass) {
            EXPECT_EQ(logFont.lfHeight, -form::kFontPixels);
        }
    }
    EXPECT_TRUE(f.Text(form::Id::lbprogress).empty());
    EXPECT_TRUE(f.dialogs().records().empty());  // a clean start shows no box
}

// The sealed class's caption is the form's longest: at 96 DPI it fits its
// row in the form's font, in both languages (the radio circle takes 20
// pixels of the row).
TEST(WindowLayout, SealedClassCaptionFitsWithoutShrinking) {
    WindowFixture f;
    const HWND item = f.Control(form::Id::gbencClassItem2);
    RECT room;
    GetClientRect(item, &room);
    for (const bool english : {true, false}) {
        f.Command(english ? form::Id::men : form::Id::mch);
        EXPECT_EQ(TextOf(item), LanguageTableFor(english).gbencClassItems[2]);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        GetObjectW(font, sizeof logFont, &logFont);
        EXPECT_EQ(logFont.lfHeight, -form::kFontPixels);
        const HDC dc = GetDC(item);
        const HGDIOBJ old = SelectObject(dc, font);
        const std::wstring text = Utf16FromUtf8(TextOf(item));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(item, dc);
        std::printf("%s: %ld + 20 of %ld pixels\n", english ? "English" : "Chinese", size.cx,
                    room.right - room.left);
        EXPECT_LE(size.cx + 20, room.right - room.left);
    }
}

TEST(WindowLayout, CaptionsAtCreationAndTheOrderTabWalks) {
    std::vector<std::pair<int, std::string>> created;
    gCreated = &created;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
    auto f = std::make_unique<WindowFixture>();
    UnhookWindowsHookEx(hook);
    gCreated = nullptr;

    std::map<int, std::string> captions(created.begin(), created.end());
    std::vector<form::Id> expected;
    for (const form::Control& control : form::kControls) {
        if (!IsLabel(control)) expected.push_back(control.id);
        if (control.kind == form::Kind::Banner) continue;
        EXPECT_EQ(captions[CommandId(control.id)], control.caption) << control.name;
        for (const form::RadioItem& item : control.items) {
            EXPECT_EQ(captions[CommandId(item.id)], item.caption) << item.name;
        }
    }
    // Tab stops in z-order, each radio item standing for its group; the
    // banner and the progress bar hold their places without being stops.
    std::map<form::Id, form::Id> groupOf;
    for (const form::Control& control : form::kControls) {
        for (const form::RadioItem& item : control.items) groupOf[item.id] = control.id;
    }
    std::vector<form::Id> order;
    for (HWND w = GetWindow(f->hwnd(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        const std::optional<form::Id> id = FormIdOf(GetDlgCtrlID(w));
        ASSERT_TRUE(id.has_value());
        const form::Id stop = groupOf.contains(*id) ? groupOf.at(*id) : *id;
        const bool counts = (Style(w) & WS_TABSTOP) != 0 || stop == form::Id::WebBrowser1 ||
                            stop == form::Id::ProgressBar1;
        if (counts && (order.empty() || order.back() != stop)) order.push_back(stop);
    }
    EXPECT_EQ(order, expected);
    for (const form::Control& control : form::kControls) {
        if (IsLabel(control)) {
            EXPECT_EQ(Style(f->Control(control.id)) & WS_TABSTOP, 0) << control.name;
        }
    }

    // Tab itself, through the dialog manager as the message loop runs it:
    // a radio group's first item stands for it; the banner is a stop where it
    // holds the browser control, the progress bar never.
    f->window().Show(SW_SHOWNORMAL);
    SetForegroundWindow(f->hwnd());
    SetFocus(f->Control(form::Id::btnopen));
    std::vector<form::Id> walk;
    for (std::size_t i = 1; i < expected.size(); ++i) {
        const form::Id stop = expected[i];
        if (stop == form::Id::ProgressBar1) continue;
        if (stop == form::Id::WebBrowser1 && (Style(f->Control(stop)) & WS_TABSTOP) == 0) {
            continue;
        }
        const auto& items = form::ControlOf(stop).items;
        walk.push_back(items.empty() ? stop : items.front().id);
    }
    walk.push_back(form::Id::btnopen);
    std::vector<form::Id> walked;
    for (std::size_t press = 0; press < walk.size(); ++press) {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        f->Pump();
        HWND focus = GetFocus();
        // Inside the banner the focus sits in the browser's own windows.
        while (focus != nullptr && GetParent(focus) != f->hwnd()) focus = GetParent(focus);
        walked.push_back(FormIdOf(GetDlgCtrlID(focus)).value_or(form::Id::N1));
    }
    EXPECT_EQ(walked, walk);
}

TEST(WindowLayout, FrameIconAndTheTwoHeights) {
    WindowFixture f;
    EXPECT_STREQ(ClassOf(f.hwnd()).c_str(), L"TfrmMain");
    const LONG_PTR style = Style(f.hwnd());
    EXPECT_NE(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_NE(GetClassLongPtrW(f.hwnd(), GCLP_HICON), 0);

    // The icon resource: one 48 x 48 picture with 32 bits per pixel.
    const auto icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 48);
    EXPECT_EQ(colour.bmHeight, 48);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    EXPECT_EQ(ClientWidth(f.hwnd()), form::kClientWidth);
    EXPECT_EQ(ClientHeight(f.hwnd()), form::ClientHeightForOuter(form::kRestHeight));
    // During a run the whole progress row is in view, whatever the frame.
    f.window().SetOuterHeight(form::kRunHeight);
    RECT client;
    GetClientRect(f.hwnd(), &client);
    for (const form::Id id : {form::Id::ProgressBar1, form::Id::btncancel}) {
        EXPECT_LE(ClientRectOf(f.Control(id)).bottom, client.bottom) << form::ControlOf(id).name;
    }
    f.window().SetOuterHeight(form::kRestHeight);
    // Centred on the work area.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r;
    GetWindowRect(f.hwnd(), &r);
    EXPECT_LE(std::abs((r.left + r.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - (work.top + work.bottom)), 1);
}

TEST(WindowLayout, ADpiChangeScalesPlacesFontAndHeights) {
    WindowFixture f;
    // 150 %: the run height still fits the virtual screen.
    auto scaled = [](int pixels) { return MulDiv(pixels, 3, 2); };
    RECT suggested;
    GetWindowRect(f.hwnd(), &suggested);
    suggested.right = suggested.left + scaled(form::kCreationOuterWidth);
    suggested.bottom = suggested.top + scaled(form::kRestHeight);
    SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    for (const form::Id id : {form::Id::btnenc, form::Id::WebBrowser1}) {
        const form::Rect r = form::ControlOf(id).rect;
        const int left = scaled(r.left);
        const int top = scaled(r.top);
        const RECT expected{left, top, left + scaled(r.width), top + scaled(r.height)};
        EXPECT_TRUE(SameRect(ClientRectOf(f.Control(id)), expected))
            << Describe(ClientRectOf(f.Control(id)));
    }
    LOGFONTW logFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.Control(form::Id::btnenc), WM_GETFONT, 0, 0)),
               sizeof logFont, &logFont);
    EXPECT_EQ(logFont.lfHeight, -scaled(form::kFontPixels));
    // The message is sent by hand: the system's frame stays that of its real
    // DPI, thinner than the one the window adds for 144, so the client area
    // comes out a little larger, never smaller.
    EXPECT_GE(ClientHeight(f.hwnd()), scaled(form::ClientHeightForOuter(form::kRestHeight)));
    f.window().SetOuterHeight(form::kRunHeight);
    EXPECT_GE(ClientHeight(f.hwnd()), scaled(form::ClientHeightForOuter(form::kRunHeight)));
    EXPECT_GE(ClientWidth(f.hwnd()), scaled(form::kClientWidth));
}

TEST(WindowLayout, MenuTreeFollowsTheForm) {
    WindowFixture f;
    const HMENU bar = GetMenu(f.hwnd());
    ASSERT_NE(bar, nullptr);
    // Every entry of a menu: its id and drop-down.
    auto entries = [](HMENU menu) {
        std::vector<std::pair<std::optional<form::Id>, HMENU>> found;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_SUBMENU;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
            found.emplace_back(FormIdOf(static_cast<int>(item.wID)), item.hSubMenu);
        }
        return found;
    };
    auto expectedUnder = [](std::optional<form::Id> parent) {
        std::vector<std::optional<form::Id>> ids;
        for (const form::MenuEntry& entry : form::kMenu) {
            if (entry.parent == parent) ids.emplace_back(entry.id);
        }
        return ids;
    };
    std::vector<std::optional<form::Id>> top;
    for (const auto& [id, dropDown] : entries(bar)) {
        top.push_back(id);
        ASSERT_TRUE(id.has_value());
        EXPECT_EQ(dropDown != nullptr, form::OpensDropDown(*id));
        if (dropDown == nullptr) continue;
        std::vector<std::optional<form::Id>> under;
        for (const auto& [child, none] : entries(dropDown)) {
            under.push_back(child);
            const bool separator = child == form::Id::N4;
            const UINT state =
                GetMenuState(dropDown, static_cast<UINT>(under.size() - 1), MF_BYPOSITION);
            EXPECT_EQ((state & MF_SEPARATOR) != 0, separator);
        }
        EXPECT_EQ(under, expectedUnder(id));
    }
    EXPECT_EQ(top, expectedUnder(std::nullopt));
    EXPECT_EQ(f.Menu(form::Id::mch), kChineseCommandCaption);
    EXPECT_EQ(f.Menu(form::Id::men), kEnglishCommandCaption);
}

TEST(WindowLayout, PasswordBoxTakesTenCharactersShownAsHashes) {
    WindowFixture f;
    const HWND box = f.Control(form::Id::edtEnpass);
    EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 10);
    EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), L'#');
    for (const wchar_t c : std::wstring(L"abcdefghijkl")) SendMessageW(box, WM_CHAR, c, 0);
    EXPECT_EQ(f.window().PasswordText(), "abcdefghij");
    // Chinese characters arrive as typed.
    SetWindowTextW(box, L"密码abc");
    EXPECT_EQ(f.window().PasswordText(), "密码abc");
    // The folder box takes nothing typed.
    for (const wchar_t c : std::wstring(L"typed"))
        SendMessageW(f.Control(form::Id::edtdir), WM_CHAR, c, 0);
    EXPECT_TRUE(f.Text(form::Id::edtdir).empty());
}

// The password's UTF-16 copy, read from the box, is gone once converted.
TEST(WindowLayout, PasswordConversionWipesTheUtf16Copy) {
    std::wstring wide = L"密码abc";
    EXPECT_EQ(Utf8WipingUtf16(wide), "密码abc");
    EXPECT_EQ(wide, std::wstring(5, L'\0'));
}

TEST(WindowLayout, EnterInABoxStartsNothing) {
    WindowFixture f;
    for (const form::Id box : {form::Id::edtEnpass, form::Id::edtdir}) {
        PostMessageW(f.Control(box), WM_KEYDOWN, VK_RETURN, 0);
        f.Pump();
    }
    EXPECT_TRUE(f.dialogs().records().empty());
    EXPECT_TRUE(f.opened().empty());
}

}  // namespace
}  // namespace imgcrypt::winui::test
