// Sealed runs measured through a real window, the same way for both windows
// (tests/ui/live_window_measure.cpp, tests/winui/winui_live_window_measure.cpp;
// bench/live-window.sh runs them): how long the window goes without handling
// its input while the key is derived and inside a large file, and how soon a
// Cancel pressed inside a large file stops the run, which must leave no
// output. A timer that asks to run every millisecond tells when the window
// handles its input; each window runs it and presses the buttons its own way.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "batch/form_layout.h"
#include "tests/support/scripted_dialogs.h"

namespace imgcrypt::test {

class LiveWindowClock {
  public:
    using Clock = std::chrono::steady_clock;

    // A run starts now; Cancel is pressed at the first handled event at
    // which `cancelWhen` holds (none: never).
    void Start(std::function<bool()> cancelWhen = {}) {
        start_ = last_ = Clock::now();
        longest_ = longestEnd_ = cancelAt_ = {};
        cancelWhen_ = std::move(cancelWhen);
        running_ = true;
    }
    // The window handles its input now: the timer ran. True when Cancel
    // should be pressed now (once).
    bool Tick() {
        if (!running_) return false;
        const Clock::time_point now = Clock::now();
        if (now - last_ > longest_) {
            longest_ = now - last_;
            longestEnd_ = now - start_;
        }
        last_ = now;
        if (!cancelWhen_ || !cancelWhen_()) return false;
        cancelWhen_ = nullptr;
        cancelAt_ = now - start_;
        return true;
    }
    // The run showed its closing or its cancelled box.
    void Stop() {
        if (!running_) return;
        Tick();
        end_ = Clock::now();
        running_ = false;
    }

    double Seconds() const { return std::chrono::duration<double>(end_ - start_).count(); }
    double LongestGapMs() const { return Ms(longest_); }
    // When the longest gap ended, from the start of the run.
    double LongestGapEndMs() const { return Ms(longestEnd_); }
    // When Cancel was pressed, from the start of the run; zero: never.
    double CancelAtMs() const { return Ms(cancelAt_); }

  private:
    static double Ms(Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    }

    Clock::time_point start_, last_, end_;
    Clock::duration longest_{}, longestEnd_{}, cancelAt_{};
    std::function<bool()> cancelWhen_;
    bool running_ = false;
};

// What the measurement needs from a window.
class LiveWindowDriver {
  public:
    virtual ~LiveWindowDriver() = default;
    virtual ScriptedDialogs& dialogs() = 0;
    // The folder of the sources, with its final separator.
    virtual std::string photos() = 0;
    virtual void TypePassword(const std::string& password) = 0;
    virtual void Select(const std::vector<std::string>& paths) = 0;
    // A click on a button or radio item, as the user's.
    virtual void Press(form::Id id) = 0;
};

namespace live_window {

inline std::filesystem::path Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A file of `size` zero bytes, without writing them.
inline void MakeFile(const std::string& path, std::uint64_t size) {
    std::ofstream(Path(path), std::ios::binary | std::ios::trunc).close();
    std::filesystem::resize_file(Path(path), size);
}

// Everything in `folder`, temporary files included, and their bytes; none
// when it is missing.
inline std::vector<std::string> Left(const std::string& folder, std::uint64_t* bytes = nullptr) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Path(folder), error)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
        if (bytes != nullptr) *bytes += entry.file_size(error);
    }
    return names;
}

// Presses `button` with the clock started and Cancel pressed when
// `cancelWhen` holds; returns once the run showed a box.
inline void Run(LiveWindowDriver& window, LiveWindowClock& clock, form::Id button,
                std::function<bool()> cancelWhen = {}) {
    window.dialogs().QueueAnswer(false);  // the closing question: leave the folder closed
    clock.Start(std::move(cancelWhen));
    window.Press(button);
}

inline void Report(const LiveWindowClock& clock, const char* what, double megabytes) {
    std::printf("%-36s %5.2f s", what, clock.Seconds());
    if (megabytes > 0) std::printf(" (%4.0f MB/s)", megabytes / clock.Seconds());
    std::printf(", longest gap between handled events %5.1f ms (ending %4.0f ms in)\n",
                clock.LongestGapMs(), clock.LongestGapEndMs());
}

// Cancel pressed a third into a large file, whose output grows in `folder`
// to about `outputBytes`: true when it stopped the run within a second and
// left nothing there.
inline bool CancelAThirdIn(LiveWindowDriver& window, LiveWindowClock& clock, form::Id button,
                           const std::string& what, const std::string& folder,
                           std::uint64_t outputBytes) {
    Run(window, clock, button, [&folder, outputBytes] {
        std::uint64_t bytes = 0;
        Left(folder, &bytes);
        return bytes >= outputBytes / 3;
    });
    const std::vector<std::string> left = Left(folder);
    std::printf("%-36s ", what.c_str());
    if (clock.CancelAtMs() == 0) {
        std::printf("the run was over before a third of the output was written\n");
        return false;
    }
    const double stopMs = clock.Seconds() * 1000 - clock.CancelAtMs();
    std::printf("pressed %4.0f ms in, run over %5.1f ms later, output left: %s\n",
                clock.CancelAtMs(), stopMs, left.empty() ? "none" : left.front().c_str());
    return stopMs < 1000 && left.empty();
}

}  // namespace live_window

// Seals one empty file (the run is the key derivation), then a file of
// `megabytes` MB; opens that; and cancels each of the two a third into the
// file. The window is in English with the password typed. Prints the
// figures; returns 0 when every Cancel stopped its run within a second and
// left no output.
inline int MeasureSealedRuns(LiveWindowDriver& window, LiveWindowClock& clock,
                             std::uint64_t megabytes) {
    using live_window::Path;
    window.dialogs().SetObserver([&clock](const ScriptedDialogs::Record&) { clock.Stop(); });
    window.Press(form::Id::gbencClassItem2);
    const std::string photos = window.photos();
    const std::string separator(1, photos.back());
    const std::string small = photos + "small.jpg";
    const std::string big = photos + "big.jpg";
    const std::string encrypted = photos + "encrypted";
    const std::string sealedFolder = photos + "sealed";
    const std::string sealed = sealedFolder + separator + "big.jpg";
    const std::string decrypted = sealedFolder + separator + "decrypted";
    const std::uint64_t bigBytes = megabytes << 20;
    live_window::MakeFile(small, 0);
    live_window::MakeFile(big, bigBytes);
    std::filesystem::create_directory(Path(sealedFolder));
    const std::string bigName = std::to_string(megabytes) + " MB";
    const double mb = static_cast<double>(megabytes);

    window.Select({small});
    live_window::Run(window, clock, form::Id::btnenc);
    live_window::Report(clock, "seal one empty file (key derivation)", 0);

    window.Select({big});
    live_window::Run(window, clock, form::Id::btnenc);
    live_window::Report(clock, ("seal " + bigName).c_str(), mb);
    std::filesystem::rename(Path(encrypted + separator + "big.jpg"), Path(sealed));
    const std::uint64_t sealedBytes = std::filesystem::file_size(Path(sealed));
    std::filesystem::remove_all(Path(encrypted));

    window.Select({sealed});
    live_window::Run(window, clock, form::Id::btndec);
    live_window::Report(clock, ("open " + bigName).c_str(), mb);
    std::filesystem::remove_all(Path(decrypted));

    window.Select({big});
    bool ok = live_window::CancelAThirdIn(
        window, clock, form::Id::btnenc, "Cancel while sealing " + bigName, encrypted, sealedBytes);
    window.Select({sealed});
    ok = live_window::CancelAThirdIn(window, clock, form::Id::btndec,
                                     "Cancel while opening " + bigName, decrypted, bigBytes) &&
         ok;
    std::printf("(a click waits at most the longest gap before the window handles it)\n");
    std::fflush(stdout);
    return ok ? 0 : 1;
}

}  // namespace imgcrypt::test
