#pragma once
// The reason shown while the program refuses to let the session end, through
// ShutdownBlockReasonCreate where user32 has it (Windows Vista on).
#include <windows.h>

#include "platform/shell/ShutdownBlock.h"

namespace orvanta::win32 {

// What WM_ENDSESSION's flags say: the Restart Manager asks only this program
// to close (ENDSESSION_CLOSEAPP), or the session itself ends.
inline SessionEnd SessionEndOf(LPARAM flags) {
    return (static_cast<ULONG_PTR>(flags) & ENDSESSION_CLOSEAPP) != 0 ? SessionEnd::CloseRequested
                                                                      : SessionEnd::SessionEnds;
}

class Win32ShutdownBlock final : public ShutdownBlock {
public:
    void setReason(std::uintptr_t window, const std::string& reason) override;
    void clearReason(std::uintptr_t window) override;
};

} // namespace orvanta::win32
