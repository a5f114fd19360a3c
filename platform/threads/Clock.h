#pragma once
// The time of day, and a clock for durations.
#include <cstdint>

namespace orvanta {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
    // Milliseconds from an arbitrary start; only differences mean anything.
    virtual std::uint64_t milliseconds() = 0;
};

} // namespace orvanta
