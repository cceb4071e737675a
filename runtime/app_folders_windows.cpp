#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "runtime/app_folders.h"
#include "runtime/paths.h"
#include "runtime/utf16.h"

namespace imgcrypt {

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return PathFolder(Utf8FromUtf16(path));
        }
        path.resize(path.size() * 2);  // cut short: try a larger buffer
    }
}

std::string UserConfigFolder() {
    wchar_t* roaming = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
        folder = Utf8FromUtf16(roaming) + "\\imgcrypt\\";
    }
    ::CoTaskMemFree(roaming);
    return folder;
}

}  // namespace imgcrypt
