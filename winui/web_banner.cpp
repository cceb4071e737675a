#include "winui/web_banner.h"

#include <shlwapi.h>
#include <wininet.h>

#include <new>
#include <optional>

#include "batch/banner_stages.h"
#include "winui/ole_automation.h"
#include "winui/ole_hosted_browser.h"

namespace imgcrypt::winui {

namespace {

constexpr wchar_t kWindowClass[] = L"ImgcryptWebBanner";
constexpr wchar_t kBlankPage[] = L"about:blank";
// Posted when the page in view could not be loaded; wParam is the number of
// the navigation that failed. The next page is loaded from the message loop,
// not from inside the control's event.
constexpr UINT kNavigationFailed = WM_APP + 1;

HINSTANCE ThisModule() {
    return ::GetModuleHandleW(nullptr);
}

// A file: address for a local path, or the path itself when it cannot be
// turned into one (the control takes plain paths too).
std::wstring FileUrl(const std::wstring& path) {
    std::wstring url(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD length = static_cast<DWORD>(url.size());
    if (FAILED(::UrlCreateFromPathW(path.c_str(), url.data(), &length, 0))) return path;
    url.resize(length);
    return url;
}

}  // namespace

class WebBanner::Impl {
  public:
    Impl(HWND parent, const RECT& bounds, int controlId);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    HWND window() const noexcept { return window_; }
    void Navigate(const std::wstring& url, const std::wstring& fallbackFile);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OpenBrowser();
    void Load(const std::wstring& url);
    void ShowNextAfterFailure();
    bool OnNavigateError(IDispatch* frame);

    HWND window_ = nullptr;
    std::unique_ptr<HostedBrowser> browser_;
    std::wstring fallbackFile_;
    BannerStage stage_ = BannerStage::Page;
    WPARAM navigation_ = 0;  // counts the loads started
};

WebBanner::Impl::Impl(HWND parent, const RECT& bounds, int controlId) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassExW(&windowClass);  // the second banner of a process finds it registered

    window_ = ::CreateWindowExW(
        0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, bounds.left,
        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), ThisModule(), this);
    if (window_ != nullptr) OpenBrowser();
}

WebBanner::Impl::~Impl() {
    browser_.reset();
    if (window_ != nullptr) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

void WebBanner::Impl::OpenBrowser() {
    try {
        auto browser = std::make_unique<HostedBrowser>(window_);
        BrowserEvents::Handlers handlers;
        handlers.documentComplete = [this](const std::wstring&) {
            if (browser_) AdjustBannerDocument(browser_->browser());
        };
        handlers.navigateError = [this](IDispatch* frame, const std::wstring&) {
            return OnNavigateError(frame);
        };
        if (browser->Open(CLSID_WebBrowser, std::move(handlers))) browser_ = std::move(browser);
    } catch (const std::bad_alloc&) {
        browser_.reset();  // a blank banner, not a failing window
    }
}

void WebBanner::Impl::Navigate(const std::wstring& url, const std::wstring& fallbackFile) {
    if (!browser_ || window_ == nullptr) return;
    fallbackFile_ = fallbackFile;
    stage_ = BannerStage::Page;
    Load(url);
}

// A load that fails at once (the system cannot show the page at all) moves
// on at once; one that fails later is reported by the NavigateError event.
void WebBanner::Impl::Load(const std::wstring& url) {
    ++navigation_;
    Variant address(url);
    if (FAILED(browser_->browser()->Navigate2(address.get(), nullptr, nullptr, nullptr, nullptr))) {
        ShowNextAfterFailure();
    }
}

void WebBanner::Impl::ShowNextAfterFailure() {
    const std::optional<BannerStage> next = StageAfterFailure(stage_, !fallbackFile_.empty());
    if (!next) return;
    stage_ = *next;
    Load(stage_ == BannerStage::Fallback ? FileUrl(fallbackFile_) : std::wstring(kBlankPage));
}

bool WebBanner::Impl::OnNavigateError(IDispatch* frame) {
    // A frame that fails stays empty inside the page; only the page itself
    // gives way to the next one.
    if (browser_ && browser_->IsTopLevel(frame)) {
        ::PostMessageW(window_, kNavigationFailed, navigation_, 0);
    }
    return true;  // never the control's own error page
}

void AdjustBannerDocument(IWebBrowser2* browser) {
    const ComPtr<IDispatch> document = GetObjectProperty(browser, L"Document");
    const ComPtr<IDispatch> body = GetObjectProperty(document.Get(), L"Body");
    if (!body) return;
    PutTextProperty(body.Get(), L"Scroll", L"no");
    PutTextProperty(GetObjectProperty(body.Get(), L"style").Get(), L"border", L"none");
}

LRESULT CALLBACK WebBanner::Impl::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Impl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self != nullptr) {
        // The parent went first and took the banner's window along.
        self->window_ = nullptr;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    if (self == nullptr || !self->browser_) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        switch (message) {
            case WM_SIZE:
                self->browser_->Fit();
                return 0;
            case WM_SETFOCUS:
                self->browser_->Focus();
                return 0;
            case kNavigationFailed:
                // A failure reported twice, or of a load already replaced, is no news.
                if (wParam == self->navigation_) self->ShowNextAfterFailure();
                return 0;
            default:
                break;
        }
    } catch (const std::bad_alloc&) {
        return 0;  // nothing crosses the message loop; the banner stays as it is
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

WebBanner::WebBanner(HWND parent, const RECT& bounds, int controlId)
    : impl_(std::make_unique<Impl>(parent, bounds, controlId)) {}

WebBanner::~WebBanner() = default;

HWND WebBanner::window() const noexcept {
    return impl_->window();
}

void WebBanner::SetBounds(const RECT& bounds) {
    ::MoveWindow(impl_->window(), bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, TRUE);
}

void WebBanner::Navigate(const std::wstring& url, const std::wstring& fallbackFile) {
    impl_->Navigate(url, fallbackFile);
}

}  // namespace imgcrypt::winui
