#include "win32/threads/Win32Clock.h"

#include <windows.h>

namespace orvanta::win32 {

LocalTime Win32Clock::now() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds};
}

std::uint64_t Win32Clock::milliseconds() {
    return GetTickCount64();
}

} // namespace orvanta::win32
