#include "win32/window/SessionWindow.h"

#include "win32/window/ErrorBoundary.h"
#include "win32/shell/Win32ShutdownBlock.h"

namespace orvanta::win32 {
namespace {

constexpr const wchar_t* SessionWindowClass = L"OrvantaSessionWindow";

} // namespace

SessionWindow::SessionWindow(HINSTANCE instance, CommandLineMode& mode, MessageBoxes& errors)
    : mode_(mode), errors_(errors) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = SessionWindowClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    // Never shown. The title names the program in the system's list of what
    // keeps the session from ending.
    CreateWindowExW(0, SessionWindowClass, L"Orvanta", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, this);
}

SessionWindow::~SessionWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK SessionWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<SessionWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<SessionWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(window, message, wParam, lParam);
}

// The messages come while the program waits for a tool, when it dispatches.
// A close request is ignored: the command line ends by itself when its work is
// done. The window lives until its owner goes.
LRESULT SessionWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) {
        bool refused = false;
        RunGuarded(errors_, [this, &refused] { refused = mode_.onSessionEndRequested(); }, [] {});
        return refused ? FALSE : TRUE;
    }
    // The process may be ended as soon as this returns.
    if (message == WM_ENDSESSION && wParam != FALSE) {
        RunGuarded(errors_, [this, lParam] { mode_.onSessionEnding(SessionEndOf(lParam)); }, [] {});
    }
    if (message == WM_ENDSESSION || message == WM_CLOSE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace orvanta::win32
