#pragma once
// What the system says about the firmware it was started from, and the
// firmware's variables.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/errors/SystemErrors.h"

namespace orvanta {

// GetFirmwareType's FIRMWARE_TYPE values.
inline constexpr std::uint32_t BiosFirmwareType = 1;
inline constexpr std::uint32_t UefiFirmwareType = 2;

// The probe and the reads answer with SystemErrors.h's codes: no variables at
// all (InvalidFunctionError) means BIOS.

// A variable is first asked for with this much room, then with twice as
// much while it doesn't fit, up to the most (dbx runs to tens of KB).
inline constexpr std::size_t FirstVariableCapacity = 4096;
inline constexpr std::size_t MostVariableCapacity = 1024 * 1024;

// The attributes boot entries and BootOrder are written with: non-volatile,
// boot-service and runtime access (SetFirmwareEnvironmentVariableExW's
// VARIABLE_ATTRIBUTE_NON_VOLATILE 1, _BOOTSERVICE_ACCESS 2, _RUNTIME_ACCESS 4).
inline constexpr std::uint32_t BootVariableAttributes = 0x00000007;

struct FirmwareVariable {
    std::vector<std::uint8_t> bytes;
    std::uint32_t error = 0; // the system's error; 0 when the variable was read

    bool operator==(const FirmwareVariable&) const = default;
};

class Firmware {
public:
    virtual ~Firmware() = default;
    // GetFirmwareType's answer; nothing where the system lacks the function
    // (before Windows 8) or the call fails.
    virtual std::optional<std::uint32_t> firmwareType() = 0;
    // The error of GetFirmwareEnvironmentVariableW for an empty name and the
    // null GUID, asked with the privilege to read firmware variables
    // enabled; 0 when the call succeeded.
    virtual std::uint32_t probeFirmwareVariable() = 0;
    // GetFirmwareEnvironmentVariableW for a variable and its vendor's GUID
    // ("{8be4df61-93ca-11d2-aa0d-00e098032b8c}") into `capacity` bytes, with
    // the privilege enabled: the bytes, or the error (122 when they don't fit).
    virtual FirmwareVariable readVariable(const std::string& name, const std::string& vendor, std::size_t capacity) = 0;
    // The names of every firmware variable with their vendors' GUIDs, as the
    // system lists them (VARIABLE_NAME records, see discovery/firmware/VariableNames.h),
    // with the privilege enabled: the bytes, or the error (FunctionMissingError
    // where the system can't list them).
    virtual FirmwareVariable variableNames() = 0;
    // SetFirmwareEnvironmentVariableExW with the attributes a boot entry has
    // (non-volatile, boot-service and runtime access), where the system has it,
    // else SetFirmwareEnvironmentVariableW, which gives the same; with the
    // privilege enabled. 0, or the system's error.
    virtual std::uint32_t writeVariable(const std::string& name, const std::string& vendor,
                                        std::span<const std::uint8_t> bytes) = 0;
};

// A variable whatever its size, up to the most: asked again with twice the
// room while the answer is that it doesn't fit.
FirmwareVariable ReadFirmwareVariable(Firmware& firmware, const std::string& name, const std::string& vendor);

} // namespace orvanta
