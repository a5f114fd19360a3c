#pragma once
// The system error codes the core tells apart in what the platform answers.
#include <cstdint>

namespace orvanta {

inline constexpr std::uint32_t InvalidFunctionError = 1;       // ERROR_INVALID_FUNCTION
inline constexpr std::uint32_t AccessDeniedError = 5;          // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t InvalidDataError = 13;          // ERROR_INVALID_DATA
inline constexpr std::uint32_t HandleDiskFullError = 39;       // ERROR_HANDLE_DISK_FULL
inline constexpr std::uint32_t DiskFullError = 112;            // ERROR_DISK_FULL
inline constexpr std::uint32_t InsufficientBufferError = 122;  // ERROR_INSUFFICIENT_BUFFER
inline constexpr std::uint32_t FunctionMissingError = 127;     // ERROR_PROC_NOT_FOUND: the system lacks a function
inline constexpr std::uint32_t VariableNotFoundError = 203;    // ERROR_ENVVAR_NOT_FOUND
inline constexpr std::uint32_t MoreDataError = 234;            // ERROR_MORE_DATA
inline constexpr std::uint32_t PrivilegeNotHeldError = 1314;   // ERROR_PRIVILEGE_NOT_HELD
// FVE_E_LOCKED_VOLUME: every access to a volume that BitLocker keeps locked fails with it.
inline constexpr std::uint32_t BitLockerLockedVolumeError = 0x80310000;

} // namespace orvanta
