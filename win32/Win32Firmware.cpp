#include "win32/Win32Firmware.h"

#include <windows.h>

#include <utility>

#include "win32/RuntimeFunction.h"
#include "win32/ScopedHandles.h"
#include "win32/Utf.h"

namespace orvanta::win32 {

static_assert(InvalidFunctionError == ERROR_INVALID_FUNCTION);
static_assert(InsufficientBufferError == ERROR_INSUFFICIENT_BUFFER);
static_assert(VariableNotFoundError == ERROR_ENVVAR_NOT_FOUND);
static_assert(PrivilegeNotHeldError == ERROR_PRIVILEGE_NOT_HELD);

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
    privilegeEnabled_ = true;
    // No variable has an empty name: on UEFI firmware this fails for another
    // reason than on BIOS, where there are no variables at all.
    if (GetFirmwareEnvironmentVariableW(L"", L"{00000000-0000-0000-0000-000000000000}", nullptr, 0) != 0) return 0;
    return GetLastError();
}

FirmwareVariable Win32Firmware::readVariable(const std::string& name, const std::string& vendor, std::size_t capacity) {
    if (!privilegeEnabled_) EnableSystemEnvironmentPrivilege();
    privilegeEnabled_ = true;
    std::vector<std::uint8_t> buffer(capacity);
    SetLastError(ERROR_SUCCESS);
    const DWORD size = GetFirmwareEnvironmentVariableW(Widen(name).c_str(), Widen(vendor).c_str(), buffer.data(),
                                                       static_cast<DWORD>(buffer.size()));
    // A variable of no bytes answers 0 without an error.
    const DWORD error = size == 0 ? GetLastError() : ERROR_SUCCESS;
    buffer.resize(error == ERROR_SUCCESS ? size : 0);
    return {std::move(buffer), error};
}

} // namespace orvanta::win32
