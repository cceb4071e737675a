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
#include <string>
#include <vector>

#include "batch/form_layout.h"
#include "tests/support/scripted_dialogs.h"

namespace imgcrypt::test {

class LiveWindowClock {
  public:
    using Clock = std::chrono::steady_clock;

    // A run starts now; Cancel is due `cancelAfter` later (zero: never).
    void Start(std::chrono::milliseconds cancelAfter = {}) {
        start_ = last_ = Clock::now();
        longest_ = {};
        cancelAfter_ = cancelAfter;
        running_ = true;
    }
    // The window handles its input now: the timer ran. True when Cancel is
    // due and should be pressed now (once).
    bool Tick() {
        if (!running_) return false;
        const Clock::time_point now = Clock::now();
        if (now - last_ > longest_) {
            longest_ = now - last_;
            longestEnd_ = now - start_;
        }
        last_ = now;
        if (cancelAfter_.count() == 0 || now - start_ < cancelAfter_) return false;
        cancelAfter_ = {};
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
    double LongestGapMs() const {
        return std::chrono::duration<double, std::milli>(longest_).count();
    }
    // When the longest gap ended, from the start of the run.
    double LongestGapEndMs() const {
        return std::chrono::duration<double, std::milli>(longestEnd_).count();
    }

  private:
    Clock::time_point start_, last_, end_;
    Clock::duration longest_{};
    Clock::duration longestEnd_{};
    std::chrono::milliseconds cancelAfter_{};
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

// Everything in `folder`, temporary files included; none when it is missing.
inline std::vector<std::string> Left(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Path(folder), error)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

// Presses `button` with the clock started, Cancel due after `cancelAfter`
// (zero: none); returns once the run showed a box.
inline void Run(LiveWindowDriver& window, LiveWindowClock& clock, form::Id button,
                std::chrono::milliseconds cancelAfter = {}) {
    window.dialogs().QueueAnswer(false);  // the closing question: leave the folder closed
    clock.Start(cancelAfter);
    window.Press(button);
}

inline void Report(const LiveWindowClock& clock, const char* what, double megabytes) {
    std::printf("%-34s %6.2f s", what, clock.Seconds());
    if (megabytes > 0) std::printf(" (%4.0f MB/s)", megabytes / clock.Seconds());
    std::printf(", longest gap between handled events %5.1f ms (ending %4.0f ms in)\n",
                clock.LongestGapMs(), clock.LongestGapEndMs());
}

// Cancel due at `after` inside a large file: how long the run took to stop
// after it, what it left; true when it stopped within a second and left
// nothing.
inline bool ReportCancel(const LiveWindowClock& clock, const char* what,
                         std::chrono::milliseconds after, const std::vector<std::string>& left) {
    const double stopMs = clock.Seconds() * 1000 - static_cast<double>(after.count());
    std::printf("%-34s Cancel due at %lld ms, ", what, static_cast<long long>(after.count()));
    if (stopMs < 0) {
        std::printf("but the run was over %.1f ms before\n", -stopMs);
        return false;
    }
    std::printf("run over %5.1f ms later, longest gap %5.1f ms, output left: %s\n", stopMs,
                clock.LongestGapMs(), left.empty() ? "none" : left.front().c_str());
    return stopMs < 1000 && left.empty();
}

}  // namespace live_window

// Seals one empty file (the run is the key derivation), then a file of
// `megabytes` MB; opens that; and cancels each of the two a third into the
// file. The
// window is in English with the password typed. Prints the figures; returns
// 0 when every Cancel stopped its run within a second with no output.
inline int MeasureSealedRuns(LiveWindowDriver& window, LiveWindowClock& clock,
                             std::uint64_t megabytes) {
    using live_window::Path;
    using std::chrono::milliseconds;
    window.dialogs().SetObserver([&clock](const ScriptedDialogs::Record&) { clock.Stop(); });
    window.Press(form::Id::gbencClassItem2);
    const std::string photos = window.photos();
    const std::string small = photos + "small.jpg";
    const std::string big = photos + "big.jpg";
    live_window::MakeFile(small, 0);
    live_window::MakeFile(big, megabytes << 20);
    const std::string sealedFolder = photos + "sealed";
    std::filesystem::create_directory(Path(sealedFolder));
    const std::string sealed = sealedFolder + std::string(1, photos.back()) + "big.jpg";
    const std::string encrypted = photos + "encrypted";
    const std::string decrypted = sealedFolder + std::string(1, photos.back()) + "decrypted";
    const double mb = static_cast<double>(megabytes);
    const std::string bigName = std::to_string(megabytes) + " MB";

    window.Select({small});
    live_window::Run(window, clock, form::Id::btnenc);
    live_window::Report(clock, "seal one empty file (key derivation)", 0);
    const double derivation = clock.Seconds();
    // A third into the file, after the key derivation.
    auto thirdIn = [&] {
        return milliseconds(static_cast<long long>(
            1000 * (derivation + std::max(0.0, clock.Seconds() - derivation) / 3)));
    };

    window.Select({big});
    live_window::Run(window, clock, form::Id::btnenc);
    live_window::Report(clock, ("seal " + bigName).c_str(), mb);
    const milliseconds sealCancel = thirdIn();
    std::filesystem::rename(Path(encrypted + std::string(1, photos.back()) + "big.jpg"),
                            Path(sealed));
    std::filesystem::remove_all(Path(encrypted));

    window.Select({sealed});
    live_window::Run(window, clock, form::Id::btndec);
    live_window::Report(clock, ("open " + bigName).c_str(), mb);
    const milliseconds openCancel = thirdIn();
    std::filesystem::remove_all(Path(decrypted));

    bool ok = true;
    window.Select({big});
    live_window::Run(window, clock, form::Id::btnenc, sealCancel);
    ok = live_window::ReportCancel(clock, ("Cancel while sealing " + bigName).c_str(), sealCancel,
                                   live_window::Left(encrypted)) &&
         ok;
    window.Select({sealed});
    live_window::Run(window, clock, form::Id::btndec, openCancel);
    ok = live_window::ReportCancel(clock, ("Cancel while opening " + bigName).c_str(), openCancel,
                                   live_window::Left(decrypted)) &&
         ok;
    std::fflush(stdout);
    return ok ? 0 : 1;
}

}  // namespace imgcrypt::test
