// The message loops of the Win32 window: the application's, and the one a run
// turns between files. Both let the dialog manager handle the window's keys:
// Tab and the arrows move the focus, Esc sends IDCANCEL.
#pragma once

#include <windows.h>

namespace imgcrypt::winui {

// Handles every message waiting in this thread's queue. Returns false when
// WM_QUIT was among them; it is posted again, so the outer loop ends too.
bool PumpPendingMessages(HWND dialogWindow);

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop(HWND dialogWindow);

}  // namespace imgcrypt::winui
