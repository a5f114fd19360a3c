#pragma once
// The console the command line was started from, while the program is
// attached to it: Ctrl+C and Ctrl+Break are ignored while a repair runs, and
// its closing puts the old stores back before the system ends the process.
#include <windows.h>

#include "app/commandline/CommandLineMode.h"
#include "win32/base/ScopedHandles.h"

namespace orvanta::win32 {

class Win32ConsoleControl {
public:
    // Registers the handler; after AttachConsole, which starts the list anew.
    // One at a time.
    explicit Win32ConsoleControl(CommandLineMode& mode);
    ~Win32ConsoleControl();
    Win32ConsoleControl(const Win32ConsoleControl&) = delete;
    Win32ConsoleControl& operator=(const Win32ConsoleControl&) = delete;

    // Set (manual-reset) when the console closes during a repair; the wait
    // for a tool wakes on it, and the event pump then calls onClosing.
    HANDLE closingEvent() const { return closing_.get(); }

    // On the main thread: the session-end steps, after which the console's
    // thread lets the process end.
    void onClosing();

private:
    static BOOL WINAPI Handle(DWORD type);
    BOOL handle(DWORD type);

    CommandLineMode& mode_;
    UniqueHandle closing_;
    UniqueHandle handled_;
};

} // namespace orvanta::win32
