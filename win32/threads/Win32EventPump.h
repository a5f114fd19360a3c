#pragma once
// Dispatches the window messages pending for the UI thread, with the dialog
// keyboard handling of the main window.
#include <windows.h>

#include <functional>

#include "platform/threads/Processes.h"

namespace orvanta::win32 {

// Hands one message to the window it is meant for: keyboard navigation of the
// main window first (Tab, Shift+Tab, Space, arrows), else the usual translation.
void RouteMessage(HWND mainWindow, MSG& message);

class Win32EventPump final : public EventPump {
public:
    void setMainWindow(HWND window) { mainWindow_ = window; }
    // After the messages: when the event (manual-reset, not owned) is set, it
    // is reset and the handler runs on this thread.
    void setWakeHandler(HANDLE event, std::function<void()> handler) {
        wakeEvent_ = event;
        wakeHandler_ = std::move(handler);
    }

    void dispatchPending() override;

    // A WM_QUIT met while draining is held back, since posting it again at
    // once would wake every later wait straight away. The main loop calls
    // this when no nested wait is running any more.
    void repostHeldQuit();

private:
    HWND mainWindow_ = nullptr;
    HANDLE wakeEvent_ = nullptr;
    std::function<void()> wakeHandler_;
    bool quitHeld_ = false;
    WPARAM quitCode_ = 0;
};

} // namespace orvanta::win32
