// The banner: a child window of the form that never makes the window fail,
// whatever the page does; the browser control it hosts, which may be missing;
// and what every completed document loses. Which page the banner tries next
// after a failure is batch's rule (batch/banner_stages.h).
//
// The cases of the suite Rendering need a control that renders pages
// (Windows, or Wine with its Gecko engine); CTest reports them as skipped
// where it renders none.
#include "winui/web_banner.h"

#include <exdispid.h>
#include <gtest/gtest.h>
#include <ole2.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "winui/ole_automation.h"
#include "winui/ole_browser_events.h"
#include "winui/ole_hosted_browser.h"

using namespace imgcrypt::winui;

namespace {

// A class no system registers.
constexpr CLSID kNoSuchControl = {
    0x5b1e0c4d, 0x7a2f, 0x4c61, {0x9e, 0x3a, 0x1d, 0x44, 0x0b, 0x6f, 0x2c, 0x81}};
// The discard port: nothing listens there, so the page cannot be loaded.
constexpr wchar_t kUnreachable[] = L"http://127.0.0.1:9/ien/ad.htm";
constexpr int kBannerId = 1001;
constexpr RECT kBounds = {8, 5, 508, 145};

// Posted by DrainQueue; the pump counts it instead of dispatching it.
constexpr UINT kQueueMarker = WM_APP + 0x3F0;
int gMarkersSeen = 0;

// Pumps messages until `done` holds or 90 seconds have passed; whether it held.
// (Wine's first run in a new prefix can take seconds per load, and a loaded
// machine once took over 30 s to refuse a connection.)
template <typename Predicate>
bool PumpUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (!done() && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == kQueueMarker) {
                ++gMarkersSeen;
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return true;
}

// Handles every message posted so far: a load the banner would start in
// answer to one announces itself before the marker posted last comes round.
void DrainQueue(HWND window) {
    const int before = gMarkersSeen;
    ASSERT_TRUE(::PostMessageW(window, kQueueMarker, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return gMarkersSeen > before; }));
}

RECT BoundsInParent(HWND window) {
    RECT bounds;
    ::GetWindowRect(window, &bounds);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void ExpectBounds(HWND window, const RECT& expected) {
    const RECT actual = BoundsInParent(window);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

class WebBannerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        // Never shown: without a window manager, Wine waits seconds for a
        // shown window to go.
        parent_ = ::CreateWindowExW(0, L"STATIC", L"banner test", WS_OVERLAPPEDWINDOW, 0, 0, 540,
                                    400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        if (parent_ != nullptr) ::DestroyWindow(parent_);
        ::OleUninitialize();
    }

    // A local page whose body has a border and overflows the banner.
    std::wstring WritePage(const char* name, const char* text) {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary)
            << "<html><head><title>banner</title></head>"
               "<body style=\"border: 3px solid red\"><div style=\"width:2000px;height:2000px\">"
            << text << "</div></body></html>";
        return path.wstring();
    }

    HWND parent_ = nullptr;
    imgcrypt::test::TempFolder temp_;
    std::filesystem::path folder_ = imgcrypt::test::FsPath(temp_.path());
};

TEST_F(WebBannerTest, IsAChildWindowOfTheFormThatMovesWithIt) {
    WebBanner banner(parent_, kBounds, kBannerId);
    const HWND window = banner.window();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(::GetParent(window), parent_);
    EXPECT_EQ(::GetDlgCtrlID(window), kBannerId);
    EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
    ExpectBounds(window, kBounds);
    const RECT scaled = {12, 8, 762, 218};
    banner.SetBounds(scaled);
    ExpectBounds(window, scaled);
}

// Each failing page gives way to the next once; whatever the control does
// with them, nothing is left to do afterwards and the parent goes on working.
TEST_F(WebBannerTest, AnUnreachablePageEndsWithoutALoop) {
    WebBanner banner(parent_, kBounds, kBannerId);
    for (const std::wstring& fallback :
         {std::wstring(), WritePage("fallback.htm", "fallback"), folder_.wstring() + L"\\gone.htm"}) {
        banner.Navigate(kUnreachable, fallback);
        DrainQueue(parent_);
    }
    EXPECT_TRUE(::IsWindow(banner.window()));
    EXPECT_TRUE(::SetWindowTextW(parent_, L"still here"));
}

// The control may still report on a load after the banner is gone.
TEST_F(WebBannerTest, ABannerClosedWhileLoadingLeavesNothingBehind) {
    {
        WebBanner banner(parent_, kBounds, kBannerId);
        banner.Navigate(kUnreachable, WritePage("fallback.htm", "fallback"));
    }
    DrainQueue(parent_);
    EXPECT_EQ(::GetWindow(parent_, GW_CHILD), nullptr);
}

TEST_F(WebBannerTest, TheParentWindowMayGoFirst) {
    WebBanner banner(parent_, kBounds, kBannerId);
    banner.Navigate(kUnreachable);
    ASSERT_TRUE(::DestroyWindow(parent_));
    parent_ = nullptr;
    EXPECT_EQ(banner.window(), nullptr);
    banner.Navigate(kUnreachable);
    DrainQueue(nullptr);
}

// A system without the control: opening it fails and leaves nothing in the
// host, which the banner then keeps as a plain blank window.
TEST_F(WebBannerTest, WithoutTheControlNothingIsLeftInTheHost) {
    HostedBrowser browser(parent_);
    EXPECT_FALSE(browser.Open(kNoSuchControl, {}));
    EXPECT_EQ(browser.browser(), nullptr);
    EXPECT_EQ(::GetWindow(parent_, GW_CHILD), nullptr);
}

// The control in a host window, with what its events reported.
class HostedControlTest : public WebBannerTest {
  protected:
    void SetUp() override {
        WebBannerTest::SetUp();
        if (HasFatalFailure()) return;
        BrowserEvents::Handlers handlers;
        handlers.documentComplete = [this](const std::wstring& url) {
            AdjustBannerDocument(browser_->browser());
            completed_.push_back(url);
        };
        handlers.navigateError = [this](IDispatch* frame, const std::wstring&) {
            failedTopLevel_ = failedTopLevel_ || browser_->IsTopLevel(frame);
            return true;
        };
        browser_ = std::make_unique<HostedBrowser>(parent_);
        if (!browser_->Open(CLSID_WebBrowser, std::move(handlers))) {
            GTEST_SKIP() << "no web-browser control on this system";
        }
    }
    void TearDown() override {
        browser_.reset();
        WebBannerTest::TearDown();
    }
    // Starts loading `url`.
    void Load(const std::wstring& url) {
        Variant address(url);
        ASSERT_TRUE(SUCCEEDED(
            browser_->browser()->Navigate2(address.get(), nullptr, nullptr, nullptr, nullptr)));
    }
    bool Completed(const std::wstring& part) const {
        for (const auto& url : completed_) {
            if (url.find(part) != std::wstring::npos) return true;
        }
        return false;
    }

    std::unique_ptr<HostedBrowser> browser_;
    std::vector<std::wstring> completed_;
    bool failedTopLevel_ = false;
};

// What the banner moves on by: an unreachable page reports its failure for
// the top-level frame, and the control shows no error page of its own.
TEST_F(HostedControlTest, AnUnreachablePageReportsItsFailureForTheTopLevelFrame) {
    Load(kUnreachable);
    ASSERT_TRUE(PumpUntil([&] { return failedTopLevel_; }));
    DrainQueue(parent_);
    EXPECT_TRUE(completed_.empty() || !Completed(L"res://"));
}

using Rendering = HostedControlTest;

// Every completed document, frames included, adjusts the top-level one.
TEST_F(Rendering, EveryCompletedDocumentLosesScrollBarsAndBorder) {
    WritePage("frame.htm", "frame");
    const std::filesystem::path page = folder_ / "page.htm";
    std::ofstream(page, std::ios::binary)
        << "<html><body style=\"border: 3px solid red\">banner"
           "<iframe src=\"frame.htm\" width=\"100\" height=\"50\"></iframe></body></html>";
    Load(page.wstring());
    ASSERT_TRUE(PumpUntil([&] { return completed_.size() >= 2 || failedTopLevel_; }));
    if (failedTopLevel_) GTEST_SKIP() << "the web-browser control renders no pages here";
    EXPECT_TRUE(Completed(L"page.htm"));
    EXPECT_TRUE(Completed(L"frame.htm"));

    const ComPtr<IDispatch> document = GetObjectProperty(browser_->browser(), L"Document");
    const ComPtr<IDispatch> body = GetObjectProperty(document.Get(), L"body");
    ASSERT_TRUE(body);
    EXPECT_EQ(GetTextProperty(body.Get(), L"scroll"), L"no");
    EXPECT_EQ(GetTextProperty(GetObjectProperty(body.Get(), L"style").Get(), L"borderStyle"),
              L"none");
}

// The control passes event arguments last to first, the address and the
// cancel flag by reference: checked here as Windows sends them, whatever the
// system at hand raises.
TEST(BrowserEventsTest, DecodesTheArgumentsOfTheTwoEventsTheBannerUses) {
    std::vector<std::wstring> completed;
    IDispatch* failedFrame = nullptr;
    std::wstring failedUrl;
    BrowserEvents::Handlers handlers;
    handlers.documentComplete = [&](const std::wstring& url) { completed.push_back(url); };
    handlers.navigateError = [&](IDispatch* frame, const std::wstring& url) {
        failedFrame = frame;
        failedUrl = url;
        return true;
    };
    const ComPtr<BrowserEvents> events = MakeComObject<BrowserEvents>(std::move(handlers));
    IDispatch* const frame = events.Get();  // any object stands for the frame

    Variant url(std::wstring(L"http://127.0.0.1:9/ien/ad.htm"));
    VARIANT completeArgs[2];  // URL, pDisp
    completeArgs[0].vt = VT_VARIANT | VT_BYREF;
    completeArgs[0].pvarVal = url.get();
    completeArgs[1].vt = VT_DISPATCH;
    completeArgs[1].pdispVal = frame;
    DISPPARAMS complete = {completeArgs, nullptr, 2, 0};
    EXPECT_EQ(events->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &complete,
                             nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(completed, std::vector<std::wstring>{L"http://127.0.0.1:9/ien/ad.htm"});

    Variant target;
    Variant status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT errorArgs[5];  // Cancel, StatusCode, TargetFrameName, URL, pDisp
    errorArgs[0].vt = VT_BOOL | VT_BYREF;
    errorArgs[0].pboolVal = &cancel;
    errorArgs[1].vt = VT_VARIANT | VT_BYREF;
    errorArgs[1].pvarVal = status.get();
    errorArgs[2].vt = VT_VARIANT | VT_BYREF;
    errorArgs[2].pvarVal = target.get();
    errorArgs[3] = completeArgs[0];
    errorArgs[4] = completeArgs[1];
    DISPPARAMS error = {errorArgs, nullptr, 5, 0};
    EXPECT_EQ(events->Invoke(DISPID_NAVIGATEERROR, IID_NULL, 0, DISPATCH_METHOD, &error, nullptr,
                             nullptr, nullptr),
              S_OK);
    EXPECT_EQ(failedFrame, frame);
    EXPECT_EQ(failedUrl, L"http://127.0.0.1:9/ien/ad.htm");
    EXPECT_EQ(cancel, VARIANT_TRUE) << "no error page of the control's own";

    // Detached (the banner is gone), the sink takes events and does nothing.
    events->Detach();
    EXPECT_EQ(events->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &complete,
                             nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(completed.size(), 1u);
}

// Setting a property by name needs the named argument DISPID_PROPERTYPUT, and
// names are looked up ignoring case: checked on an automation object that
// every Windows (and Wine) has.
TEST_F(WebBannerTest, PropertiesAreReadAndSetByName) {
    ComPtr<IDispatch> shell;
    CLSID shellClass;
    ASSERT_TRUE(SUCCEEDED(::CLSIDFromProgID(L"WScript.Shell", &shellClass)));
    ASSERT_TRUE(SUCCEEDED(
        ::CoCreateInstance(shellClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, &shell)));
    const std::wstring folder = folder_.wstring();
    EXPECT_TRUE(PutTextProperty(shell.Get(), L"currentdirectory", folder));
    EXPECT_EQ(GetTextProperty(shell.Get(), L"CurrentDirectory"), folder);
    EXPECT_FALSE(PutTextProperty(shell.Get(), L"NoSuchProperty", L"x"));
    EXPECT_EQ(GetTextProperty(shell.Get(), L"NoSuchProperty"), std::nullopt);
    EXPECT_FALSE(GetObjectProperty(shell.Get(), L"CurrentDirectory")) << "text, not an object";
    EXPECT_TRUE(GetObjectProperty(shell.Get(), L"environment"));
    EXPECT_FALSE(GetObjectProperty(nullptr, L"Document"));
    EXPECT_FALSE(PutTextProperty(nullptr, L"Scroll", L"no"));
}

}  // namespace
