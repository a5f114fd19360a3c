#include "win32/Win32Firmware.h"

#include <windows.h>

#include "win32/RuntimeFunction.h"
#include "win32/ScopedHandles.h"

namespace orvanta::win32 {
namespace {

using GetFirmwareTypeFunction = BOOL(WINAPI*)(PFIRMWARE_TYPE);

// Reading firmware variables needs this privilege enabled, not only held.
void EnableSystemEnvironmentPrivilege() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token) == FALSE) return;
    const UniqueHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, SE_SYSTEM_ENVIRONMENT_NAME, &privileges.Privileges[0].Luid) == FALSE) return;
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
}

} // namespace

std::optional<std::uint32_t> Win32Firmware::firmwareType() {
    // Looked up at run time: Windows 7 and its pre-installation environment lack it.
    const auto getFirmwareType = LoadedModuleFunction<GetFirmwareTypeFunction>(L"kernel32.dll", "GetFirmwareType");
    if (getFirmwareType == nullptr) return std::nullopt;
    FIRMWARE_TYPE type = FirmwareTypeUnknown;
    if (getFirmwareType(&type) == FALSE) return std::nullopt;
    return static_cast<std::uint32_t>(type);
}

std::uint32_t Win32Firmware::probeFirmwareVariable() {
    EnableSystemEnvironmentPrivilege();
    // No variable has an empty name: on UEFI firmware this fails for another
    // reason than on BIOS, where there are no variables at all.
    if (GetFirmwareEnvironmentVariableW(L"", L"{00000000-0000-0000-0000-000000000000}", nullptr, 0) != 0) return 0;
    return GetLastError();
}

} // namespace orvanta::win32
