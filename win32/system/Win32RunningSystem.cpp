#include "win32/system/Win32RunningSystem.h"

#include <windows.h>

#include "win32/base/RuntimeFunction.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

std::string Win32RunningSystem::windowsFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH + 1);
    return length == 0 || length > MAX_PATH ? std::string() : Narrow(folder, length);
}

bool Win32RunningSystem::isRedirected32Bit() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) != FALSE && wow64 != FALSE;
}

// RtlGetVersion tells the truth; GetVersionEx reports 6.2 to a program whose
// manifest names no later Windows.
std::string Win32RunningSystem::windowsVersion() {
    const auto getVersion = LoadedModuleFunction<LONG(WINAPI*)(OSVERSIONINFOW*)>(L"ntdll.dll", "RtlGetVersion");
    if (getVersion == nullptr) return "未知";
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (getVersion(&info) != 0) return "未知";
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

std::string Win32RunningSystem::programArchitecture() {
#if defined(_M_X64) || defined(__x86_64__)
    return "x64";
#else
    return "x86";
#endif
}

} // namespace orvanta::win32
