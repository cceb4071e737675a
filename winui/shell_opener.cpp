#include "winui/shell_opener.h"

#include <shellapi.h>

namespace imgcrypt::winui {

ShellOpener::ShellOpener()
    : opener_([](HWND owner, const std::wstring& target) {
          ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }) {}

}  // namespace imgcrypt::winui
