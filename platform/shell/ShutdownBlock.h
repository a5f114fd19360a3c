#pragma once
// The reason the system shows when the user ends the session while the
// program refuses to let it end. Where the system has no such reasons
// (before Windows Vista) both calls do nothing.
#include <cstdint>
#include <string>

namespace orvanta {

// What the system says once it has asked whether the session may end: the
// session ends now (the process may be ended as soon as the answer is given),
// or only this program is asked to close (the Restart Manager's request, with
// a close request after it that the program may refuse and go on running).
enum class SessionEnd { SessionEnds, CloseRequested };

class ShutdownBlock {
public:
    virtual ~ShutdownBlock() = default;
    virtual void setReason(std::uintptr_t window, const std::string& reason) = 0;
    virtual void clearReason(std::uintptr_t window) = 0;
};

} // namespace orvanta
