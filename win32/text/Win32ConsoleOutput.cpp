#include "win32/text/Win32ConsoleOutput.h"

#include "win32/base/Utf.h"

namespace orvanta::win32 {

Win32ConsoleOutput::Win32ConsoleOutput() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = output != nullptr && output != INVALID_HANDLE_VALUE ? GetFileType(output) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        target_ = Target::Redirected;
        redirected_ = output;
        return;
    }
    // A program of the window subsystem has no console of its own: it writes
    // to the one of the command prompt that started it, if any. One that was
    // given a console at its start is attached already.
    if (AttachConsole(ATTACH_PARENT_PROCESS) == FALSE && GetLastError() != ERROR_ACCESS_DENIED) return;
    console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    if (console_.valid()) target_ = Target::Console;
}

Win32ConsoleOutput::~Win32ConsoleOutput() {
    if (target_ != Target::MessageBox || collected_.empty()) return;
    MessageBoxW(nullptr, Widen(collected_).c_str(), L"Orvanta", MB_OK | MB_ICONINFORMATION);
}

void Win32ConsoleOutput::write(const std::string& text) {
    DWORD written = 0;
    switch (target_) {
    case Target::Redirected:
        WriteFile(redirected_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        break;
    case Target::Console: {
        const std::wstring wide = Widen(text);
        WriteConsoleW(console_.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        break;
    }
    case Target::MessageBox:
        collected_ += text;
        break;
    }
}

} // namespace orvanta::win32
