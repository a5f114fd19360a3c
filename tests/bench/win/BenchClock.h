#pragma once
// A wall clock that every process on the machine shares: nanoseconds since
// 1970-01-01 UTC. Under Wine it reads the same clock as Linux' CLOCK_REALTIME,
// so stamps from Windows programs and from Linux tools can be compared.
#include <windows.h>

inline unsigned long long benchWallClockNs() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const unsigned long long unixEpochInFileTime = 116444736000000000ULL;
    return (ticks - unixEpochInFileTime) * 100ULL;
}
