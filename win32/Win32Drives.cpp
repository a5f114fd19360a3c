#include "win32/Win32Drives.h"

#include <windows.h>

#include <vector>

#include "win32/Utf.h"

namespace orvanta::win32 {

std::uint32_t Win32Drives::logicalDriveStrings(std::string& buffer) {
    const auto offered = static_cast<DWORD>(buffer.size());
    std::vector<wchar_t> strings(static_cast<std::size_t>(offered) + 1, L'\0');
    const DWORD count = GetLogicalDriveStringsW(offered, strings.data());
    if (count == 0 || count > offered) return count; // failed, or the size it needs
    // Drive strings are ASCII, so every character takes one byte.
    const std::string text = Narrow(strings.data(), count);
    const std::size_t written = text.size() < buffer.size() ? text.size() : buffer.size();
    buffer.replace(0, written, text, 0, written);
    if (written < buffer.size()) buffer[written] = '\0';
    return static_cast<std::uint32_t>(written);
}

std::uint32_t Win32Drives::driveType(const std::string& driveName) {
    // The system reads a drive name as a root only with its backslash ("C:\").
    std::wstring root = Widen(driveName);
    if (!root.empty() && root.back() == L':') root += L'\\';
    return GetDriveTypeW(root.c_str());
}

// A definition in the session's own device names: it never reaches the
// registry, so a restart takes it away if the program can't.
bool Win32Drives::mapDrive(const std::string& driveName, const std::string& devicePath) {
    return DefineDosDeviceW(DDD_RAW_TARGET_PATH, Widen(driveName).c_str(), Widen(devicePath).c_str()) != FALSE;
}

void Win32Drives::unmapDrive(const std::string& driveName, const std::string& devicePath) {
    DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     Widen(driveName).c_str(), Widen(devicePath).c_str());
}

} // namespace orvanta::win32
