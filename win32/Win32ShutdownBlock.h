#pragma once
// The reason shown while the program refuses to let the session end, through
// ShutdownBlockReasonCreate where user32 has it (Windows Vista on).
#include "platform/ShutdownBlock.h"

namespace orvanta::win32 {

class Win32ShutdownBlock final : public ShutdownBlock {
public:
    void setReason(std::uintptr_t window, const std::string& reason) override;
    void clearReason(std::uintptr_t window) override;
};

} // namespace orvanta::win32
