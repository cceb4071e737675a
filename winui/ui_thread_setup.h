// What a thread sets up before it creates the main window: OLE, which the
// banner's browser control needs, and the common controls of the form. The
// program's entry, the window tests and the screenshot tool share it.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <ole2.h>

namespace imgcrypt::winui {

class UiThreadSetup {
  public:
    UiThreadSetup() : ole_(OleInitialize(nullptr)) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }
    ~UiThreadSetup() {
        if (SUCCEEDED(ole_)) OleUninitialize();
    }
    UiThreadSetup(const UiThreadSetup&) = delete;
    UiThreadSetup& operator=(const UiThreadSetup&) = delete;

  private:
    HRESULT ole_;
};

}  // namespace imgcrypt::winui
