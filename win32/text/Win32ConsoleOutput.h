#pragma once
// The command-line mode's output: UTF-8 into a redirected file or pipe, the
// wide console functions for the console the program was started from, and
// without either (started from a shortcut) one message box at the end.
#include <windows.h>

#include "platform/text/TextOutput.h"
#include "win32/base/ScopedHandles.h"

namespace orvanta::win32 {

class Win32ConsoleOutput final : public TextOutput {
public:
    Win32ConsoleOutput();
    // Shows what was collected when there was nowhere to write it.
    ~Win32ConsoleOutput() override;
    Win32ConsoleOutput(const Win32ConsoleOutput&) = delete;
    Win32ConsoleOutput& operator=(const Win32ConsoleOutput&) = delete;

    // Safe from another thread while writing to a console.
    void write(const std::string& text) override;

    // True when the program writes to the console it was started from, and so
    // gets that console's control signals.
    bool attachedToConsole() const { return target_ == Target::Console; }

private:
    enum class Target { Redirected, Console, MessageBox };
    Target target_ = Target::MessageBox;
    HANDLE redirected_ = nullptr; // the inherited standard output; not ours to close
    UniqueHandle console_;
    std::string collected_;
};

} // namespace orvanta::win32
