#include "win32/system/Win32Elevation.h"

#include <shellapi.h>

#include <string>

#include "app/commandline/CommandLineOptions.h"
#include "win32/base/ProgramPath.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

bool Win32Elevation::isElevated() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) return false;
    const UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) == FALSE) return false;
    return elevation.TokenIsElevated != 0;
}

// The new instance is told by its one argument that it was started this way:
// still without the rights (user account control off, a standard user), it
// says how to get them instead of asking again.
bool Win32Elevation::restartElevated() {
    const std::wstring program = ProgramPath();
    const std::wstring folder = ProgramFolder();
    const std::wstring marker = Widen(ElevatedRestartMarker);
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    start.hwnd = owner_;
    start.lpVerb = L"runas";
    start.lpFile = program.c_str();
    start.lpParameters = marker.c_str();
    start.lpDirectory = folder.c_str();
    start.nShow = SW_SHOWNORMAL;
    // Returns once the new process exists, or fails when the user declines.
    if (ShellExecuteExW(&start) == FALSE) return false;
    if (start.hProcess != nullptr) CloseHandle(start.hProcess);
    return true;
}

} // namespace orvanta::win32
