#include "win32/system/Win32Firmware.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <utility>

#include "discovery/firmware/VariableNames.h"
#include "win32/base/RuntimeFunction.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

static_assert(InvalidFunctionError == ERROR_INVALID_FUNCTION);
static_assert(InsufficientBufferError == ERROR_INSUFFICIENT_BUFFER);
static_assert(VariableNotFoundError == ERROR_ENVVAR_NOT_FOUND);
static_assert(PrivilegeNotHeldError == ERROR_PRIVILEGE_NOT_HELD);

namespace {

using GetFirmwareTypeFunction = BOOL(WINAPI*)(PFIRMWARE_TYPE);
using SetVariableExFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, PVOID, DWORD, DWORD);
using EnumerateValuesFunction = LONG(NTAPI*)(ULONG, PVOID, PULONG);
using StatusToErrorFunction = ULONG(NTAPI*)(LONG);

// NtEnumerateSystemEnvironmentValuesEx's information class for names only
// (SystemEnvironmentNameInformation), and the status that asks for more room.
constexpr ULONG VariableNamesClass = 1;
constexpr LONG BufferTooSmallStatus = static_cast<LONG>(0xC0000023);

// One record of its answer, as Microsoft documents it under the name
// XVARIABLE_NAME (ntddsysenv.h, which MinGW doesn't ship): the core reads
// these offsets.
struct VariableNameRecord {
    ULONG NextEntryOffset;
    GUID VendorGuid;
    WCHAR Name[1];
};
static_assert(offsetof(VariableNameRecord, VendorGuid) == 4);
static_assert(offsetof(VariableNameRecord, Name) == VariableNameHeaderSize);
static_assert(sizeof(GUID) == 16);

static_assert(FunctionMissingError == ERROR_PROC_NOT_FOUND);
static_assert(InvalidDataError == ERROR_INVALID_DATA);

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

void Win32Firmware::enablePrivilege() {
    if (!privilegeEnabled_) EnableSystemEnvironmentPrivilege();
    privilegeEnabled_ = true;
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
    enablePrivilege();
    std::vector<std::uint8_t> buffer(capacity);
    SetLastError(ERROR_SUCCESS);
    const DWORD size = GetFirmwareEnvironmentVariableW(Widen(name).c_str(), Widen(vendor).c_str(), buffer.data(),
                                                       static_cast<DWORD>(buffer.size()));
    // A variable of no bytes answers 0 without an error.
    const DWORD error = size == 0 ? GetLastError() : ERROR_SUCCESS;
    buffer.resize(error == ERROR_SUCCESS ? size : 0);
    return {std::move(buffer), error};
}

// ntdll exports NtEnumerateSystemEnvironmentValuesEx from Windows Vista on,
// but Microsoft Learn doesn't document it (only the records it returns, as
// above); looked up at run time, and without it the core asks for the boot
// entries one by one. A buffer too small is answered with the size needed.
FirmwareVariable Win32Firmware::variableNames() {
    const auto enumerate =
        LoadedModuleFunction<EnumerateValuesFunction>(L"ntdll.dll", "NtEnumerateSystemEnvironmentValuesEx");
    const auto toError = LoadedModuleFunction<StatusToErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
    if (enumerate == nullptr || toError == nullptr) return {{}, FunctionMissingError};
    enablePrivilege();
    std::vector<std::uint8_t> buffer(FirstVariableCapacity);
    for (;;) {
        ULONG length = static_cast<ULONG>(buffer.size());
        const LONG status = enumerate(VariableNamesClass, buffer.data(), &length);
        // Each retry has more room than the last, up to the most: the loop ends.
        if (status == BufferTooSmallStatus && length > buffer.size() && length <= MostVariableCapacity) {
            buffer.resize(length);
            continue;
        }
        if (status < 0) return {{}, toError(status)};
        buffer.resize(std::min<std::size_t>(length, buffer.size()));
        return {std::move(buffer), ERROR_SUCCESS};
    }
}

// SetFirmwareEnvironmentVariableExW names the attributes (Windows 8 on);
// Windows 7's SetFirmwareEnvironmentVariableW names none and leaves them to
// the system.
std::uint32_t Win32Firmware::writeVariable(const std::string& name, const std::string& vendor,
                                           std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return ERROR_INVALID_PARAMETER; // no size would delete the variable
    enablePrivilege();
    const std::wstring wideName = Widen(name), wideVendor = Widen(vendor);
    std::vector<std::uint8_t> value(bytes.begin(), bytes.end());
    const auto setEx = LoadedModuleFunction<SetVariableExFunction>(L"kernel32.dll", "SetFirmwareEnvironmentVariableExW");
    const BOOL written = setEx != nullptr
                             ? setEx(wideName.c_str(), wideVendor.c_str(), value.data(), static_cast<DWORD>(value.size()),
                                     BootVariableAttributes)
                             : SetFirmwareEnvironmentVariableW(wideName.c_str(), wideVendor.c_str(), value.data(),
                                                               static_cast<DWORD>(value.size()));
    return written != FALSE ? ERROR_SUCCESS : GetLastError();
}

} // namespace orvanta::win32
