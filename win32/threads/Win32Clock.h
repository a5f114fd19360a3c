#pragma once
// The local time and the tick count.
#include "platform/threads/Clock.h"

namespace orvanta::win32 {

class Win32Clock final : public Clock {
public:
    LocalTime now() override;
    std::uint64_t milliseconds() override;
};

} // namespace orvanta::win32
