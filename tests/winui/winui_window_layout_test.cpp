// The Win32 form: controls, places, captions at creation, the order Tab
// walks, window frame and heights, DPI, menu, both languages, the password
// and folder boxes, the pages the commands open, and the banner's failure
// path.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <tuple>

#include "batch/language_tables.h"
#include "runtime/utf16.h"
#include "tests/winui/window_fixture.h"
#include "winui/layout.h"
#include "winui/message_loop.h"

namespace imgcrypt::winui::test {
namespace {

struct Expected {
    int id;
    const wchar_t* className;
    RECT rect;  // left, top, right, bottom in client pixels at 96 DPI
    const char* creationCaption;
};

// The form's table, written out independently of layout.h.
const std::vector<Expected> kExpected = {
    {ids::WebBrowser1, nullptr, {8, 5, 508, 145}, ""},
    {ids::rgsuffix, WC_BUTTONW, {8, 152, 508, 193}, "加密文件后缀名"},
    {ids::gbencClass, WC_BUTTONW, {8, 200, 508, 241}, "压缩级别"},
    {ids::lbopen, WC_STATICW, {8, 252, 81, 265}, "打开文件夹"},
    {ids::edtdir, WC_EDITW, {80, 248, 433, 269}, ""},
    {ids::btnopen, WC_BUTTONW, {447, 248, 507, 273}, "打开"},
    {ids::lbpassword, WC_STATICW, {8, 284, 81, 297}, "Password"},
    {ids::edtEnpass, WC_EDITW, {80, 280, 161, 301}, ""},
    {ids::lbpassnote, WC_STATICW, {168, 285, 385, 302}, "最多10位，支持空格以外所有字符"},
    {ids::btnenc, WC_BUTTONW, {387, 280, 447, 305}, "加密"},
    {ids::btndec, WC_BUTTONW, {447, 280, 507, 305}, "解密"},
    {ids::ProgressBar1, PROGRESS_CLASSW, {8, 320, 369, 337}, ""},
    {ids::lbprogress, WC_STATICW, {376, 322, 449, 335}, ""},
    {ids::btncancel, WC_BUTTONW, {448, 317, 508, 342}, "Cancel"},
    {ids::rgsuffixItem0, WC_BUTTONW, {}, "不变，如 abc.JPG 加密为 abc.JPG"},
    {ids::rgsuffixItem1, WC_BUTTONW, {}, "加 'E'，如 abc.JPG 加密为 abc.JPGE"},
    {ids::gbencClassItem0, WC_BUTTONW, {}, "标准加密（16位加密，迅捷加密）"},
    {ids::gbencClassItem1, WC_BUTTONW, {}, "高级加密（256位加密，比较费时）"},
};

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

TEST(WindowLayout, ControlsSitAtTheirPlacesAndKeepThemWhenTheFrameIsResized) {
    WindowFixture f;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Expected& e : kExpected) {
            const HWND control = f.Control(e.id);
            ASSERT_NE(control, nullptr) << e.id;
            if (e.className != nullptr) {
                EXPECT_EQ(ClassOf(control), e.className) << e.id;
            }
            if (e.rect.right != 0) {
                EXPECT_TRUE(SameRect(ClientRectOf(control), e.rect))
                    << e.id << ": " << Describe(ClientRectOf(control));
            }
        }
        SetWindowPos(f.hwnd(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    }
    // The items of a group sit side by side inside its frame.
    for (const auto& [group, first, second] :
         {std::tuple{ids::rgsuffix, ids::rgsuffixItem0, ids::rgsuffixItem1},
          std::tuple{ids::gbencClass, ids::gbencClassItem0, ids::gbencClassItem1}}) {
        const RECT frame = ClientRectOf(f.Control(group));
        const RECT a = ClientRectOf(f.Control(first));
        const RECT b = ClientRectOf(f.Control(second));
        EXPECT_EQ(a.top, b.top);
        EXPECT_LT(a.right, b.left);
        EXPECT_GT(a.left, frame.left);
        EXPECT_LT(b.right, frame.right);
        EXPECT_GT(a.top, frame.top);
        EXPECT_LE(a.bottom, frame.bottom);
    }
}

TEST(WindowLayout, KindsAndInitialStateOfTheControls) {
    WindowFixture f;
    EXPECT_EQ(Style(f.Control(ids::rgsuffix)) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(Style(f.Control(ids::gbencClass)) & BS_TYPEMASK, BS_GROUPBOX);
    for (const int item :
         {ids::rgsuffixItem0, ids::rgsuffixItem1, ids::gbencClassItem0, ids::gbencClassItem1}) {
        EXPECT_EQ(Style(f.Control(item)) & BS_TYPEMASK, BS_AUTORADIOBUTTON) << item;
    }
    EXPECT_EQ(SendMessageW(f.Control(ids::rgsuffixItem0), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(f.Control(ids::gbencClassItem0), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(f.window().SuffixMode(), 0);
    EXPECT_EQ(f.window().EncryptionClassIndex(), 0);
    EXPECT_NE(Style(f.Control(ids::edtdir)) & ES_READONLY, 0);
    EXPECT_NE(Style(f.Control(ids::lbprogress)) & SS_CENTER, 0);
    EXPECT_EQ(SendMessageW(f.Control(ids::ProgressBar1), PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(f.Text(ids::edtdir).empty());
    EXPECT_TRUE(f.Text(ids::lbprogress).empty());
    for (const int button : {ids::btnopen, ids::btnenc, ids::btndec, ids::btncancel}) {
        EXPECT_TRUE(f.Enabled(button)) << button;
    }
    // The form's font; a caption too wide for its control gets a smaller size.
    for (const Expected& e : kExpected) {
        if (e.id == ids::WebBrowser1) continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageW(f.Control(e.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << e.id;
        LOGFONTW logFont{};
        GetObjectW(font, sizeof logFont, &logFont);
        EXPECT_STREQ(logFont.lfFaceName, L"MS Sans Serif") << e.id;
        EXPECT_TRUE(logFont.lfHeight >= -11 && logFont.lfHeight <= -9) << e.id;
        if (e.id == ids::btnenc || e.id == ids::edtEnpass) {
            EXPECT_EQ(logFont.lfHeight, -11);
        }
    }
    EXPECT_TRUE(f.dialogs().records().empty());  // a clean start shows no box
}

TEST(WindowLayout, CaptionsAtCreationAndTheOrderTabWalks) {
    std::vector<std::pair<int, std::string>> created;
    gCreated = &created;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
    auto f = std::make_unique<WindowFixture>();
    UnhookWindowsHookEx(hook);
    gCreated = nullptr;

    std::map<int, std::string> captions(created.begin(), created.end());
    for (const Expected& e : kExpected) {
        if (e.id == ids::WebBrowser1) continue;
        EXPECT_EQ(captions[e.id], e.creationCaption) << e.id;
    }
    // Tab stops in z-order, each radio item standing for its group; the
    // banner and the progress bar hold their places without being stops.
    const std::map<int, int> groupOf = {{ids::rgsuffixItem0, ids::rgsuffix},
                                        {ids::rgsuffixItem1, ids::rgsuffix},
                                        {ids::gbencClassItem0, ids::gbencClass},
                                        {ids::gbencClassItem1, ids::gbencClass}};
    std::vector<int> order;
    for (HWND w = GetWindow(f->hwnd(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(w);
        if (groupOf.contains(id)) id = groupOf.at(id);
        const bool counts =
            (Style(w) & WS_TABSTOP) != 0 || id == ids::WebBrowser1 || id == ids::ProgressBar1;
        if (counts && (order.empty() || order.back() != id)) order.push_back(id);
    }
    EXPECT_EQ(order, (std::vector<int>{ids::btnopen, ids::edtEnpass, ids::btnenc, ids::btndec,
                                       ids::edtdir, ids::WebBrowser1, ids::rgsuffix,
                                       ids::gbencClass, ids::ProgressBar1, ids::btncancel}));
    for (const int label : {ids::lbopen, ids::lbpassword, ids::lbpassnote, ids::lbprogress}) {
        EXPECT_EQ(Style(f->Control(label)) & WS_TABSTOP, 0) << label;
    }

    // Tab itself, through the dialog manager as the message loop runs it.
    f->window().Show(SW_SHOWNORMAL);
    SetForegroundWindow(f->hwnd());
    SetFocus(f->Control(ids::btnopen));
    // The banner is a stop where it holds the browser control.
    std::vector<int> expected = {ids::edtEnpass, ids::btnenc, ids::btndec, ids::edtdir};
    if ((Style(f->Control(ids::WebBrowser1)) & WS_TABSTOP) != 0) {
        expected.push_back(ids::WebBrowser1);
    }
    for (const int id : {ids::rgsuffixItem0, ids::gbencClassItem0, ids::btncancel, ids::btnopen}) {
        expected.push_back(id);
    }
    std::vector<int> walked;
    for (std::size_t press = 0; press < expected.size(); ++press) {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        f->Pump();
        HWND focus = GetFocus();
        // Inside the banner the focus sits in the browser's own windows.
        while (focus != nullptr && GetParent(focus) != f->hwnd()) focus = GetParent(focus);
        walked.push_back(GetDlgCtrlID(focus));
    }
    EXPECT_EQ(walked, expected);
}

TEST(WindowLayout, FrameIconAndTheTwoOuterHeights) {
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

    EXPECT_EQ(OuterWidth(f.hwnd()), 526);
    EXPECT_EQ(OuterHeight(f.hwnd()), kRestHeight);
    EXPECT_EQ(f.window().outerHeight(), kRestHeight);
    // Centred on the work area.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r;
    GetWindowRect(f.hwnd(), &r);
    EXPECT_LE(std::abs((r.left + r.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - (work.top + work.bottom)), 1);

    f.window().SetOuterHeight(kRunHeight);
    EXPECT_EQ(OuterHeight(f.hwnd()), kRunHeight);
    f.window().SetOuterHeight(kRestHeight);
    EXPECT_EQ(OuterHeight(f.hwnd()), kRestHeight);
    EXPECT_EQ(OuterWidth(f.hwnd()), 526);
}

TEST(WindowLayout, ADpiChangeScalesPlacesFontAndHeights) {
    WindowFixture f;
    // 150 %: the run height still fits the virtual screen.
    RECT suggested;
    GetWindowRect(f.hwnd(), &suggested);
    suggested.right = suggested.left + 789;
    suggested.bottom = suggested.top + 555;
    SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(SameRect(ClientRectOf(f.Control(ids::btnenc)), RECT{581, 420, 671, 458}))
        << Describe(ClientRectOf(f.Control(ids::btnenc)));
    EXPECT_TRUE(SameRect(ClientRectOf(f.Control(ids::WebBrowser1)), RECT{12, 8, 762, 218}))
        << Describe(ClientRectOf(f.Control(ids::WebBrowser1)));
    LOGFONTW logFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.Control(ids::btnenc), WM_GETFONT, 0, 0)),
               sizeof logFont, &logFont);
    EXPECT_EQ(logFont.lfHeight, -17);
    EXPECT_EQ(OuterHeight(f.hwnd()), 555);
    f.window().SetOuterHeight(kRunHeight);
    EXPECT_EQ(OuterHeight(f.hwnd()), 600);
    EXPECT_EQ(OuterWidth(f.hwnd()), 789);
}

TEST(WindowLayout, MenuTreeWithTheLanguageCommandsOnTheBar) {
    WindowFixture f;
    const HMENU bar = GetMenu(f.hwnd());
    ASSERT_NE(bar, nullptr);
    auto entries = [](HMENU menu) {
        std::vector<std::pair<int, HMENU>> found;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
            found.emplace_back(static_cast<int>(item.wID), item.hSubMenu);
        }
        return found;
    };
    auto ids = [](const std::vector<std::pair<int, HMENU>>& list) {
        std::vector<int> out;
        for (const auto& entry : list) out.push_back(entry.first);
        return out;
    };
    const auto top = entries(bar);
    EXPECT_EQ(ids(top),
              (std::vector<int>{ids::N1, ids::N6, ids::N11, ids::mdonate, ids::mch, ids::men}));
    ASSERT_EQ(top.size(), 6u);
    EXPECT_EQ(ids(entries(top[0].second)), (std::vector<int>{ids::N2, ids::N4, ids::N5}));
    EXPECT_EQ(ids(entries(top[1].second)), (std::vector<int>{ids::N7, ids::N8}));
    EXPECT_EQ(ids(entries(top[2].second)), (std::vector<int>{ids::nabout}));
    EXPECT_EQ(ids(entries(top[3].second)), (std::vector<int>{ids::ndonate}));
    EXPECT_EQ(top[4].second, nullptr);  // the language commands act at once
    EXPECT_EQ(top[5].second, nullptr);
    EXPECT_NE(GetMenuState(top[0].second, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(f.Menu(ids::mch), kChineseCommandCaption);
    EXPECT_EQ(f.Menu(ids::men), kEnglishCommandCaption);
}

class EveryCaption : public ::testing::TestWithParam<bool> {};

TEST_P(EveryCaption, FollowsTheLanguageTable) {
    const bool english = GetParam();
    // Start in the other language so every text has to change.
    WindowFixture f(english ? "ch\r\n" : "en\r\n", "www.example.org");
    f.Command(english ? ids::men : ids::mch);
    const LanguageTable& t = LanguageTableFor(english);

    EXPECT_EQ(f.Menu(ids::N1), t.N1);
    EXPECT_EQ(f.Menu(ids::N2), t.N2);
    EXPECT_EQ(f.Menu(ids::N5), t.N5);
    EXPECT_EQ(f.Menu(ids::N6), t.N6);
    EXPECT_EQ(f.Menu(ids::N7), t.N7);
    EXPECT_EQ(f.Menu(ids::N8), t.N8);
    EXPECT_EQ(f.Menu(ids::N11), t.N11);
    EXPECT_EQ(f.Menu(ids::nabout), std::string(t.naboutPrefix) + "www.example.org");
    EXPECT_EQ(f.Menu(ids::mdonate), t.mdonate);
    EXPECT_EQ(f.Menu(ids::ndonate), t.ndonate);
    EXPECT_EQ(f.Menu(ids::mch), kChineseCommandCaption);
    EXPECT_EQ(f.Menu(ids::men), kEnglishCommandCaption);
    EXPECT_EQ(f.Text(ids::btnopen), t.btnopen);
    EXPECT_EQ(f.Text(ids::btnenc), t.btnenc);
    EXPECT_EQ(f.Text(ids::btndec), t.btndec);
    EXPECT_EQ(f.Text(ids::btncancel), t.btncancel);
    EXPECT_EQ(f.Text(ids::lbopen), t.lbopen);
    EXPECT_EQ(f.Text(ids::lbpassword), t.lbpassword);
    EXPECT_EQ(f.Text(ids::lbpassnote), t.lbpassnote);
    EXPECT_EQ(f.Text(ids::rgsuffix), t.rgsuffixCaption);
    EXPECT_EQ(f.Text(ids::rgsuffixItem0), t.rgsuffixItems[0]);
    EXPECT_EQ(f.Text(ids::rgsuffixItem1), t.rgsuffixItems[1]);
    EXPECT_EQ(f.Text(ids::gbencClass), t.gbencClassCaption);
    EXPECT_EQ(f.Text(ids::gbencClassItem0), t.gbencClassItems[0]);
    EXPECT_EQ(f.Text(ids::gbencClassItem1), t.gbencClassItems[1]);
    EXPECT_EQ(TextOf(f.hwnd()), t.windowCaption);
    EXPECT_EQ(f.window().applicationTitle(), t.applicationTitle);
    EXPECT_EQ(ReadBytes(f.locations().configPath), english ? "en\r\n" : "ch\r\n");

    // Plain boxes carry the application title; the open dialog gets the
    // language's filter.
    f.Click(ids::btnenc);
    const auto& shown = f.dialogs().records();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Message);
    EXPECT_EQ(shown[0].caption, t.applicationTitle);
    EXPECT_EQ(shown[0].text, t.messages.msgNoImageEncrypt);
    EXPECT_EQ(shown[1].kind, Dialogs::Kind::OpenFiles);
    EXPECT_EQ(shown[1].request.filter, t.dialogFilter);
}

INSTANTIATE_TEST_SUITE_P(Languages, EveryCaption, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "English" : "Chinese"; });

TEST(WindowLayout, PasswordBoxTakesTenCharactersShownAsHashes) {
    WindowFixture f;
    const HWND box = f.Control(ids::edtEnpass);
    EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 10);
    EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), L'#');
    EXPECT_NE(Style(box) & ES_PASSWORD, 0);
    for (const wchar_t c : std::wstring(L"abcdefghijkl")) SendMessageW(box, WM_CHAR, c, 0);
    EXPECT_EQ(f.window().PasswordText(), "abcdefghij");
    // Chinese characters arrive as typed.
    SetWindowTextW(box, L"密码abc");
    EXPECT_EQ(f.window().PasswordText(), "密码abc");
    // The folder box takes nothing typed.
    for (const wchar_t c : std::wstring(L"typed"))
        SendMessageW(f.Control(ids::edtdir), WM_CHAR, c, 0);
    EXPECT_TRUE(f.Text(ids::edtdir).empty());
}

TEST(WindowLayout, EnterInABoxStartsNothing) {
    WindowFixture f;
    for (const int box : {ids::edtEnpass, ids::edtdir}) {
        PostMessageW(f.Control(box), WM_KEYDOWN, VK_RETURN, 0);
        f.Pump();
    }
    EXPECT_TRUE(f.dialogs().records().empty());
    EXPECT_TRUE(f.opened().empty());
}

TEST(WindowLayout, HelpAndWebCommandsOpenTheirPagesAndExitCloses) {
    WindowFixture f(std::nullopt, "www.example.org");
    f.Command(ids::N7);
    f.Command(ids::men);
    f.Command(ids::N7);
    f.Command(ids::N8);
    f.Command(ids::nabout);
    f.Command(ids::ndonate);
    EXPECT_EQ(f.opened(),
              (std::vector<std::string>{
                  f.locations().helpFolder + "help.htm", f.locations().helpFolder + "ehelp.htm",
                  "http://www.example.org/ien/ehelp.htm", "http://www.example.org/ien/eabout.htm",
                  "http://www.example.org/ien/edonate.htm"}));
    f.Command(ids::N5);
    EXPECT_EQ(f.hwnd(), nullptr);
}

TEST(WindowLayout, WithoutABrowserTheBannerIsBlankAndTheWindowWorks) {
    // Nobody answers on the banner's host.
    WindowFixture f(std::nullopt, kDeadSiteHost);
    const HWND banner = f.Control(ids::WebBrowser1);
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(IsWindowVisible(banner) || !IsWindowVisible(f.hwnd()));
    EXPECT_TRUE(SameRect(ClientRectOf(banner), RECT{8, 5, 508, 145}));
    if (!f.window().BannerHasBrowser()) {
        EXPECT_TRUE(TextOf(banner).empty());
    }
    EXPECT_TRUE(f.dialogs().records().empty());
    f.Command(ids::men);
    EXPECT_EQ(f.Text(ids::btnenc), EnglishTable().btnenc);
    const auto sources = f.MakeSources({"a.jpg"});
    f.TypePassword("secret");
    f.Select(sources);
    f.dialogs().QueueAnswer(false);
    f.Click(ids::btnenc);
    EXPECT_EQ(f.Text(ids::lbprogress), "1/1");
}

}  // namespace
}  // namespace imgcrypt::winui::test
