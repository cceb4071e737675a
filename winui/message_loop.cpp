#include "winui/message_loop.h"

namespace imgcrypt::winui {

namespace {

void Dispatch(HWND dialogWindow, MSG& message) {
    if (dialogWindow != nullptr && IsWindow(dialogWindow) &&
        IsDialogMessageW(dialogWindow, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

bool PumpPendingMessages(HWND dialogWindow) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Dispatch(dialogWindow, message);
    }
    return true;
}

int RunMessageLoop(HWND dialogWindow) {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return 1;
        Dispatch(dialogWindow, message);
    }
}

}  // namespace imgcrypt::winui
