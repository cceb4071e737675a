#include "winui/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "codec/password.h"
#include "runtime/errors.h"
#include "runtime/utf16.h"
#include "winui/dialogs.h"
#include "winui/dpi.h"
#include "winui/layout.h"
#include "winui/menu.h"
#include "winui/message_loop.h"
#include "winui/resource_ids.h"
#include "winui/window_text.h"

namespace imgcrypt::winui {

namespace {

// Resizable frame, system menu and Minimise; no Maximise, no scroll bars.
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
// Lets the dialog manager walk into the controls for Tab and the arrows.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

void RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    static const bool registered = [instance, windowProc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IMGCRYPT_ICON_ID),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), LR_SHARED));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IMGCRYPT_ICON_ID),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = kWindowClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
}

struct ChildClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// Every control but the non-first radio items starts a group, so the arrow
// keys move between the items of one radio group only.
ChildClass ChildClassOf(ChildKind kind) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    switch (kind) {
        case ChildKind::GroupBox:
            return {WC_BUTTONW, kChild | WS_GROUP | BS_GROUPBOX, 0};
        case ChildKind::FirstRadio:
            return {WC_BUTTONW, kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
        case ChildKind::Radio:
            return {WC_BUTTONW, kChild | BS_AUTORADIOBUTTON, 0};
        case ChildKind::Label:
            return {WC_STATICW, kChild | WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
        case ChildKind::CentredLabel:
            return {WC_STATICW, kChild | WS_GROUP | SS_CENTER | SS_NOPREFIX, 0};
        case ChildKind::ReadOnlyEdit:
            return {WC_EDITW, kChild | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY,
                    WS_EX_CLIENTEDGE};
        case ChildKind::PasswordEdit:
            return {WC_EDITW, kChild | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
                    WS_EX_CLIENTEDGE};
        case ChildKind::Button:
            return {WC_BUTTONW, kChild | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ChildKind::ProgressBar:
            return {PROGRESS_CLASSW, kChild | WS_GROUP, 0};
        case ChildKind::Banner:
            break;
    }
    return {WC_STATICW, kChild, 0};
}

// Room of a captioned control that its caption does not get: the radio
// circle, the button's frame, the group frame's corners (at 96 DPI); none for
// the boxes, whose text scrolls.
std::optional<int> CaptionMargin(ChildKind kind) {
    switch (kind) {
        case ChildKind::Radio:
        case ChildKind::FirstRadio:
            return 20;
        case ChildKind::Button:
            return 6;
        case ChildKind::GroupBox:
            return 16;
        case ChildKind::Label:
        case ChildKind::CentredLabel:
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace

EWindowCreateError::EWindowCreateError(DWORD err)
    : std::runtime_error("Cannot create the main window. " +
                         SystemErrorText(static_cast<int>(err))) {}

TfrmMain::TfrmMain(AppLocations locations, std::unique_ptr<Dialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : MakeSystemDialogs()),
      logic_(*this, *dialogs_, std::move(locations)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, &TfrmMain::WindowProc);
    MenuHandle menu = BuildMainMenu();
    window_ = CreateWindowExW(kWindowExStyle, kWindowClassName, Utf16FromUtf8(kFormCaption).c_str(),
                              kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, form::kCreationOuterWidth,
                              form::kCreationOuterHeight, nullptr, menu.get(), instance, this);
    if (window_ == nullptr) throw EWindowCreateError(GetLastError());
    (void)menu.release();  // the window destroys its menu
    if (systemDialogs_ != nullptr) systemDialogs_->SetOwner(window_);

    dpi_ = WindowDpi(window_);
    SetOuterHeight(form::kCreationOuterHeight);
    CreateControls();
    DragAcceptFiles(window_, TRUE);
    logic_.FormCreate();
    CentreOnWorkArea();
}

std::unique_ptr<Dialogs> TfrmMain::MakeSystemDialogs() {
    auto dialogs = std::make_unique<Win32Dialogs>();
    systemDialogs_ = dialogs.get();
    return dialogs;
}

TfrmMain::~TfrmMain() {
    if (window_ != nullptr) DestroyWindow(window_);
}

void TfrmMain::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

// ---- Controls ----

HWND TfrmMain::Control(form::Id id) const noexcept {
    return GetDlgItem(window_, CommandId(id));
}

void TfrmMain::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // Created in tab order: the z-order is the order Tab walks.
    for (const ChildSpec& spec : kChildWindows) {
        const RECT r = ScaleRect(spec.rect, dpi_);
        if (spec.kind == ChildKind::Banner) {
            banner_ = std::make_unique<WebBanner>(window_, r, CommandId(spec.id));
            continue;
        }
        const ChildClass child = ChildClassOf(spec.kind);
        const HWND control = CreateWindowExW(
            child.exStyle, child.className, Utf16FromUtf8(spec.caption).c_str(), child.style,
            r.left, r.top, r.right - r.left, r.bottom - r.top, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandId(spec.id))), instance, nullptr);
        switch (spec.kind) {
            case ChildKind::FirstRadio:
                Button_SetCheck(control, BST_CHECKED);
                break;
            case ChildKind::PasswordEdit:
                SendMessageW(control, EM_LIMITTEXT, kMaxPasswordLength, 0);
                SendMessageW(control, EM_SETPASSWORDCHAR, L'#', 0);
                break;
            case ChildKind::ProgressBar:
                SendMessageW(control, PBM_SETRANGE32, 0, 100);
                SendMessageW(control, PBM_SETPOS, 0, 0);
                break;
            default:
                break;
        }
    }
    ApplyFonts();
}

void TfrmMain::PlaceControls() {
    for (const ChildSpec& spec : kChildWindows) {
        const RECT r = ScaleRect(spec.rect, dpi_);
        if (spec.kind == ChildKind::Banner) {
            if (banner_) banner_->SetBounds(r);
            continue;
        }
        SetWindowPos(Control(spec.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TfrmMain::ApplyFonts() {
    // A language switch keeps the fonts; after a DPI change the old ones go
    // once no control uses them.
    std::optional<FormFonts> retired;
    if (fonts_.dpi() != dpi_) retired = std::exchange(fonts_, FormFonts(dpi_));
    const HDC dc = GetDC(window_);
    for (const ChildSpec& spec : kChildWindows) {
        if (spec.kind == ChildKind::Banner) continue;
        const HWND control = Control(spec.id);
        HFONT font = fonts_.Regular();
        if (const std::optional<int> margin = CaptionMargin(spec.kind)) {
            RECT r;
            GetClientRect(control, &r);
            font = fonts_.Fitting(dc, WideWindowText(control),
                                  (r.right - r.left) - Scale(*margin, dpi_));
        }
        if (reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)) != font) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    ReleaseDC(window_, dc);
}

void TfrmMain::CentreOnWorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT r;
    GetWindowRect(window_, &r);
    const RECT& area = monitor.rcWork;
    const int left = area.left + ((area.right - area.left) - (r.right - r.left)) / 2;
    const int top = area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2;
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::EnableControl(form::Id id, bool enabled) {
    const HWND control = Control(id);
    if (!enabled && GetFocus() == control) {
        SetFocus(GetNextDlgTabItem(window_, control, FALSE));
    }
    EnableWindow(control, enabled);
}

// ---- Messages ----

LRESULT CALLBACK TfrmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TfrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self != nullptr) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self = nullptr;
    }
    return self != nullptr ? self->HandleMessage(hwnd, message, wParam, lParam)
                           : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TfrmMain::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_SETFOCUS, OnSetFocus);
        HANDLE_MSG(hwnd, WM_DROPFILES, OnDropFiles);
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void TfrmMain::OnCommand(HWND, int id, HWND, UINT code) {
    if (id == IDCANCEL) {  // Esc, wherever the focus is
        logic_.Command(form::Id::btncancel);
        return;
    }
    const std::optional<form::Id> command = FormIdOf(id);
    if (!command) return;  // IDOK from Enter among others: nothing to do
    if (*command == form::Id::edtEnpass) {
        if (code == EN_CHANGE) logic_.edtEnpassChange();
        return;
    }
    // A button's click, or a menu command (code 0, as BN_CLICKED).
    if (code == BN_CLICKED) logic_.Command(*command);
}

void TfrmMain::OnClose(HWND hwnd) {
    if (!logic_.FormCloseQuery()) return;
    logic_.FormClose();
    DestroyWindow(hwnd);
}

void TfrmMain::OnDestroy(HWND) {
    banner_.reset();  // while its parent still exists
    if (onDestroy_) onDestroy_();
}

// The focus comes back to the control that had it when the window was left.
void TfrmMain::OnActivate(HWND, UINT state, HWND, BOOL minimized) {
    if (state == WA_INACTIVE && !minimized) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) focusWhenDeactivated_ = focus;
    }
}

void TfrmMain::OnSetFocus(HWND, HWND) {
    HWND target = focusWhenDeactivated_;
    if (target == nullptr || !IsWindow(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    }
    if (target != nullptr) SetFocus(target);
}

// Files dropped anywhere on the window select them as the open dialog would;
// the logic refuses a drop during a run or without files of one folder.
void TfrmMain::OnDropFiles(HWND, HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(Utf8FromUtf16(path));
    }
    DragFinish(drop);
    logic_.FormDragDrop(paths);
}

void TfrmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    PlaceControls();
    ApplyFonts();
    // The system's suggestion scales the frame with the client area; the
    // frame at the new DPI may differ, so only its place is taken.
    const SIZE outer = OuterSize();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TfrmMain::OuterSize() const {
    return OuterSizeForClient(form::kClientWidth, form::ClientHeightForOuter(formHeight_),
                              kWindowStyle, kWindowExStyle, dpi_);
}

// ---- WindowPort ----

int TfrmMain::CheckedItem(form::Id group) const {
    const std::span<const form::RadioItem> items = form::ControlOf(group).items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (Button_GetCheck(Control(items[i].id)) == BST_CHECKED) return static_cast<int>(i);
    }
    return 0;
}

std::string TfrmMain::PasswordText() const {
    std::wstring wide = WideWindowText(Control(form::Id::edtEnpass));
    return Utf8WipingUtf16(wide);
}

int TfrmMain::SuffixMode() const {
    return CheckedItem(form::Id::rgsuffix);
}

int TfrmMain::EncryptionClassIndex() const {
    return CheckedItem(form::Id::gbencClass);
}

std::string TfrmMain::FolderBoxText() const {
    return Utf8WindowText(Control(form::Id::edtdir));
}

void TfrmMain::SetFolderBoxText(const std::string& text) {
    SetUtf8WindowText(Control(form::Id::edtdir), text);
}

void TfrmMain::ProcessPendingEvents() {
    PumpPendingMessages(window_);
}

// The form's height (kRestHeight, kRunHeight, ...) as the client area of the
// classic window it stands for, under this system's own frame.
void TfrmMain::SetOuterHeight(int height) {
    formHeight_ = height;
    const SIZE outer = OuterSize();
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::SetProgressRange(int minimum, int maximum) {
    SendMessageW(Control(form::Id::ProgressBar1), PBM_SETRANGE32, static_cast<WPARAM>(minimum),
                 static_cast<LPARAM>(maximum));
}

void TfrmMain::SetProgressPosition(int position) {
    SendMessageW(Control(form::Id::ProgressBar1), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void TfrmMain::SetProgressLabel(const std::string& text) {
    SetUtf8WindowText(Control(form::Id::lbprogress), text);
}

void TfrmMain::SetDecryptEnabled(bool enabled) {
    EnableControl(form::Id::btndec, enabled);
}

void TfrmMain::SetRunCommandsEnabled(bool enabled) {
    const HMENU menu = GetMenu(window_);
    for (const form::Id id : form::kRunCommands) {
        if (Control(id) != nullptr) {
            EnableControl(id, enabled);
        } else {
            EnableMenuItem(menu, static_cast<UINT>(CommandId(id)),
                           MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        }
    }
    DrawMenuBar(window_);
}

void TfrmMain::OpenLocalPath(const std::string& path) {
    opener_.Open(window_, Utf16FromUtf8(path));
}

void TfrmMain::OpenUrl(const std::string& url) {
    opener_.Open(window_, Utf16FromUtf8(url));
}

void TfrmMain::SetTexts(const FormTexts& texts) {
    const HMENU menu = GetMenu(window_);
    for (const Caption& caption : texts.captions) {
        if (const HWND control = Control(caption.id)) {
            SetUtf8WindowText(control, caption.text);
        } else {
            SetMenuCaption(menu, CommandId(caption.id), caption.text);
        }
    }
    DrawMenuBar(window_);
    ApplyFonts();
    SetUtf8WindowText(window_, texts.windowCaption);
}

void TfrmMain::NavigateBanner(const std::string& url, const std::string& fallbackPath) {
    if (banner_) banner_->Navigate(Utf16FromUtf8(url), Utf16FromUtf8(fallbackPath));
}

void TfrmMain::Close() {
    // After the handler that asks has returned: a run may still be on the stack.
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace imgcrypt::winui
