#pragma once
// The command line's window: hidden and top-level (a message-only window is
// not asked), so that the system asks it, as every top-level window, whether
// the session may end, and tells it when the session ends.
#include <windows.h>

#include "app/commandline/CommandLineMode.h"
#include "platform/shell/MessageBoxes.h"

namespace orvanta::win32 {

class SessionWindow {
public:
    SessionWindow(HINSTANCE instance, CommandLineMode& mode, MessageBoxes& errors);
    ~SessionWindow();
    SessionWindow(const SessionWindow&) = delete;
    SessionWindow& operator=(const SessionWindow&) = delete;

    // nullptr when it could not be made.
    HWND handle() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CommandLineMode& mode_;
    MessageBoxes& errors_;
    HWND window_ = nullptr;
};

} // namespace orvanta::win32
