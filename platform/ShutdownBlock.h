#pragma once
// The reason the system shows when the user ends the session while the
// program refuses to let it end. Where the system has no such reasons
// (before Windows Vista) both calls do nothing.
#include <cstdint>
#include <string>

namespace orvanta {

class ShutdownBlock {
public:
    virtual ~ShutdownBlock() = default;
    virtual void setReason(std::uintptr_t window, const std::string& reason) = 0;
    virtual void clearReason(std::uintptr_t window) = 0;
};

} // namespace orvanta
