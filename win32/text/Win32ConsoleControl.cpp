#include "win32/text/Win32ConsoleControl.h"

#include <atomic>

namespace orvanta::win32 {
namespace {

// The system ends a process 5 seconds after CTRL_CLOSE_EVENT whatever its
// handler does; the handler waits no longer than that for the main thread.
constexpr DWORD CloseWaitMilliseconds = 5000;

// The handler gets no context: the one registered instance.
std::atomic<Win32ConsoleControl*> Registered = nullptr;

} // namespace

Win32ConsoleControl::Win32ConsoleControl(CommandLineMode& mode)
    : mode_(mode),
      closing_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      handled_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    Registered = this;
    SetConsoleCtrlHandler(&Handle, TRUE);
}

Win32ConsoleControl::~Win32ConsoleControl() {
    SetConsoleCtrlHandler(&Handle, FALSE);
    Registered = nullptr;
}

// Runs on a thread the system makes for each signal.
BOOL WINAPI Win32ConsoleControl::Handle(DWORD type) {
    Win32ConsoleControl* self = Registered;
    return self != nullptr ? self->handle(type) : FALSE;
}

// FALSE hands the signal on to the default handler, which ends the process.
BOOL Win32ConsoleControl::handle(DWORD type) {
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return mode_.onInterruptRequested() ? TRUE : FALSE;
    case CTRL_CLOSE_EVENT:
        if (!mode_.onSessionEndRequested() || !closing_.valid() || !handled_.valid()) return FALSE;
        SetEvent(closing_.get());
        WaitForSingleObject(handled_.get(), CloseWaitMilliseconds);
        return TRUE; // the system ends the process now
    default:
        return FALSE;
    }
}

void Win32ConsoleControl::onClosing() {
    mode_.onSessionEnding(SessionEnd::SessionEnds);
    SetEvent(handled_.get());
}

} // namespace orvanta::win32
