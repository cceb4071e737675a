// Hands folders, local pages and web addresses to the shell ("open": Explorer
// for a folder, the default browser for a page or an address). One opener per
// window, replaceable so tests record instead of launching programs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace imgcrypt::winui {

class ShellOpener {
  public:
    using Opener = std::function<void(HWND owner, const std::wstring& target)>;

    ShellOpener();  // opens through ShellExecuteW
    void SetOpener(Opener opener) { opener_ = std::move(opener); }
    // The result is ignored: a system without a handler shows its own message.
    void Open(HWND owner, const std::wstring& target) const { opener_(owner, target); }

  private:
    Opener opener_;
};

}  // namespace imgcrypt::winui
