#include "win32/threads/Win32EventPump.h"

namespace orvanta::win32 {

void RouteMessage(HWND mainWindow, MSG& message) {
    if (mainWindow != nullptr && IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32EventPump::dispatchPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            quitHeld_ = true;
            quitCode_ = message.wParam;
            continue;
        }
        RouteMessage(mainWindow_, message);
    }
    if (wakeEvent_ != nullptr && WaitForSingleObject(wakeEvent_, 0) == WAIT_OBJECT_0) {
        ResetEvent(wakeEvent_);
        if (wakeHandler_) wakeHandler_();
    }
}

void Win32EventPump::repostHeldQuit() {
    if (!quitHeld_) return;
    quitHeld_ = false;
    PostQuitMessage(static_cast<int>(quitCode_));
}

} // namespace orvanta::win32
