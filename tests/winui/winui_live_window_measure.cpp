// The Win32 window during sealed runs (tests/support/live_window_measure.h):
// how long it goes without handling input while the key is derived and
// inside a large file, and how soon Cancel stops a large file.
//   winui_live_window_measure.exe [MEGABYTES]   (default 300; bench/live-window.sh)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/live_window_measure.h"
#include "tests/winui/window_fixture.h"
#include "winui/ui_thread_setup.h"

namespace imgcrypt::winui::test {
namespace {

class Win32Driver final : public imgcrypt::test::LiveWindowDriver {
  public:
    explicit Win32Driver(WindowFixture& f) : f_(f) {}
    ScriptedDialogs& dialogs() override { return f_.dialogs(); }
    std::string photos() override { return f_.photos(); }
    void TypePassword(const std::string& password) override { f_.TypePassword(password); }
    void Select(const std::vector<std::string>& paths) override { f_.Select(paths); }
    void Press(form::Id id) override { f_.Click(id); }

  private:
    WindowFixture& f_;
};

// The timer's procedure has no context of its own.
imgcrypt::test::LiveWindowClock* gClock = nullptr;
Win32Driver* gWindow = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (gClock->Tick()) gWindow->Press(form::Id::btncancel);
}

int Measure(std::uint64_t megabytes) {
    WindowFixture f("en\r\n");
    f.window().Show(SW_SHOWNORMAL);
    Win32Driver window(f);
    window.TypePassword("Tiger#42");
    imgcrypt::test::LiveWindowClock clock;
    gClock = &clock;
    gWindow = &window;
    // The system runs timers at 10 to 16 ms at the finest.
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTick);
    std::printf("Win32 window (%d-bit), sealed class:\n", static_cast<int>(sizeof(void*) * 8));
    const int status = imgcrypt::test::MeasureSealedRuns(window, clock, megabytes);
    KillTimer(nullptr, timer);
    return status;
}

}  // namespace
}  // namespace imgcrypt::winui::test

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 300;
    const imgcrypt::winui::UiThreadSetup setup;
    return imgcrypt::winui::test::Measure(megabytes);
}
