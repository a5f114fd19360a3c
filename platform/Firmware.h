#pragma once
// What the system says about the firmware it was started from.
#include <cstdint>
#include <optional>

namespace orvanta {

// GetFirmwareType's FIRMWARE_TYPE values.
inline constexpr std::uint32_t BiosFirmwareType = 1;
inline constexpr std::uint32_t UefiFirmwareType = 2;

// Error codes of the firmware-variable probe.
inline constexpr std::uint32_t InvalidFunctionError = 1;  // the firmware has no variables: BIOS
inline constexpr std::uint32_t PrivilegeNotHeldError = 1314;

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
};

} // namespace orvanta
