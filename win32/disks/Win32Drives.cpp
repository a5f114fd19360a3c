#include "win32/disks/Win32Drives.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

#include "win32/base/RuntimeFunction.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {
namespace {

// A device name links to another at most this many times over.
constexpr int DeepestLink = 4;
constexpr ACCESS_MASK SymbolicLinkQuery = 0x0001; // SYMBOLIC_LINK_QUERY
constexpr USHORT LongestLinkTarget = 1024;        // characters

using OpenLinkFunction = LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES);
using QueryLinkFunction = LONG(NTAPI*)(HANDLE, PUNICODE_STRING, PULONG);

// What a name in the object manager's namespace ("\Device\Harddisk0\Partition2")
// links to ("\Device\HarddiskVolume2"); "" when it is no link. ntdll has no
// import library entry for these: they are looked up.
std::wstring LinkTarget(const std::wstring& name) {
    const auto open = LoadedModuleFunction<OpenLinkFunction>(L"ntdll.dll", "NtOpenSymbolicLinkObject");
    const auto query = LoadedModuleFunction<QueryLinkFunction>(L"ntdll.dll", "NtQuerySymbolicLinkObject");
    if (open == nullptr || query == nullptr || name.size() * sizeof(wchar_t) > 0xFFFF) return {};
    UNICODE_STRING objectName{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                              static_cast<USHORT>(name.size() * sizeof(wchar_t)), const_cast<PWSTR>(name.c_str())};
    OBJECT_ATTRIBUTES attributes{};
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    HANDLE link = nullptr;
    if (open(&link, SymbolicLinkQuery, &attributes) < 0) return {};
    std::vector<wchar_t> target(LongestLinkTarget);
    UNICODE_STRING answer{0, static_cast<USHORT>(target.size() * sizeof(wchar_t)), target.data()};
    const LONG status = query(link, &answer, nullptr);
    CloseHandle(link);
    return status < 0 ? std::wstring() : std::wstring(answer.Buffer, answer.Length / sizeof(wchar_t));
}

} // namespace

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

// QueryDosDeviceW gives what the letter names first (a letter given for this
// session names the partition it was given); the links from there lead to the
// volume, as the registry names the file of a loaded hive.
std::vector<std::string> Win32Drives::deviceNamesOf(const std::string& driveName) {
    std::vector<wchar_t> buffer(MAX_PATH * 4, L'\0');
    if (QueryDosDeviceW(Widen(driveName).c_str(), buffer.data(), static_cast<DWORD>(buffer.size())) == 0) return {};
    std::wstring name(buffer.data()); // the first of the letter's names: the one in use
    std::vector<std::string> names;
    for (int depth = 0; depth <= DeepestLink && !name.empty(); ++depth) {
        names.push_back(Narrow(name));
        name = LinkTarget(name);
    }
    return names;
}

void Win32Drives::unmapDrive(const std::string& driveName, const std::string& devicePath) {
    DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                     Widen(driveName).c_str(), Widen(devicePath).c_str());
}

} // namespace orvanta::win32
