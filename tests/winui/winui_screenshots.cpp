// Saves pictures of the Win32 window at rest and during a run, in English and
// Chinese, as 24-bit BMP files (win_en_rest.bmp, win_en_run.bmp,
// win_ch_rest.bmp, win_ch_run.bmp) in the folder given as the argument;
// scripts/windows-screenshots.sh turns them into the PNGs of docs/screenshots.
// The "run" picture is taken while the end-of-run question is up: the window
// is at its run height and the progress row shows "3/3".
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/utf16.h"
#include "tests/winui/window_fixture.h"
#include "batch/form_layout.h"
#include "winui/ui_thread_setup.h"

namespace imgcrypt::winui::test {
namespace {

// The menu bar and the client area. Without a window manager (Xvfb) nobody
// draws the title bar and borders, so they are left out.
bool SaveWindowPicture(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME | RDW_ERASE);
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    const int top = GetMenuBarInfo(window, OBJID_MENU, 0, &bar) ? bar.rcBar.top : client.top;
    const int left = client.left - outer.left;
    const int width = client.right - client.left;
    const int height = client.bottom - top;
    std::printf("%s: outer %ld x %ld, client %d x %ld\n", path.c_str(), outer.right - outer.left,
                outer.bottom - outer.top, width, client.bottom - client.top);
    const HDC source = GetWindowDC(window);
    const HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, left, top - outer.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageSize);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return out.good();
}

// Lets the window paint what changed.
void Settle(WindowFixture& f) {
    for (int i = 0; i < 20; ++i) {
        f.Pump();
        Sleep(10);
    }
}

bool TakePictures(const std::string& folder, bool english) {
    const std::string prefix = folder + (english ? "win_en_" : "win_ch_");
    WindowFixture f(english ? "en\r\n" : "ch\r\n");
    f.window().Show(SW_SHOWNORMAL);
    SetForegroundWindow(f.hwnd());
    Settle(f);
    bool ok = SaveWindowPicture(f.hwnd(), prefix + "rest.bmp");

    const auto sources = f.MakeSources({"a.jpg", "b.png", "c.gif"});
    f.TypePassword("secret");
    f.Select(sources);
    f.Click(form::Id::gbencClassItem2);  // the run derives a key first, then seals
    f.dialogs().SetObserver([&](const ScriptedDialogs::Record& record) {
        if (record.kind != ScriptedDialogs::Kind::Confirm) return;
        Settle(f);
        ok = SaveWindowPicture(f.hwnd(), prefix + "run.bmp") && ok;
    });
    f.dialogs().QueueAnswer(false);
    f.Click(form::Id::btnenc);
    return ok;
}

}  // namespace
}  // namespace imgcrypt::winui::test

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: winui_screenshots FOLDER\n", stderr);
        return 2;
    }
    std::string folder = imgcrypt::Utf8FromUtf16(argv[1]);
    if (!folder.ends_with('\\') && !folder.ends_with('/')) folder += '\\';
    const imgcrypt::winui::UiThreadSetup setup;
    bool ok = true;
    for (const bool english : {true, false}) {
        ok = imgcrypt::winui::test::TakePictures(folder, english) && ok;
    }
    return ok ? 0 : 1;
}
