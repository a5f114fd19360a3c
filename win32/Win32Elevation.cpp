#include "win32/Win32Elevation.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "win32/ScopedHandles.h"

namespace orvanta::win32 {
namespace {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

} // namespace

bool Win32Elevation::isElevated() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) return false;
    const UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) == FALSE) return false;
    return elevation.TokenIsElevated != 0;
}

bool Win32Elevation::restartElevated() {
    const std::wstring program = ProgramPath();
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    start.lpVerb = L"runas";
    start.lpFile = program.c_str();
    start.lpDirectory = folder.c_str();
    start.nShow = SW_SHOWNORMAL;
    // Returns once the new process exists, or fails when the user declines.
    if (ShellExecuteExW(&start) == FALSE) return false;
    if (start.hProcess != nullptr) CloseHandle(start.hProcess);
    return true;
}

} // namespace orvanta::win32
