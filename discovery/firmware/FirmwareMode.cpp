#include "discovery/firmware/FirmwareMode.h"

namespace orvanta {
namespace {

inline constexpr const char* PreinstallationKey = "System\\CurrentControlSet\\Control\\MiniNT";
inline constexpr const char* ControlKey = "System\\CurrentControlSet\\Control";
inline constexpr const char* PreinstallationFirmwareValue = "PEFirmwareType";

std::optional<FirmwareMode> ModeOfType(std::uint32_t type) {
    if (type == BiosFirmwareType) return FirmwareMode::Bios;
    if (type == UefiFirmwareType) return FirmwareMode::Uefi;
    return std::nullopt;
}

} // namespace

bool IsPreinstallationEnvironment(Registry& registry) {
    return registry.keyExists(PreinstallationKey) ||
           registry.readNumber(ControlKey, PreinstallationFirmwareValue).has_value();
}

FirmwareMode DetectFirmwareMode(Firmware& firmware, Registry& registry) {
    if (registry.keyExists(PreinstallationKey)) {
        const auto type = registry.readNumber(ControlKey, PreinstallationFirmwareValue);
        if (const auto mode = type ? ModeOfType(*type) : std::nullopt) return *mode;
    }
    if (const auto type = firmware.firmwareType()) return ModeOfType(*type).value_or(FirmwareMode::Unknown);
    switch (firmware.probeFirmwareVariable()) {
    case InvalidFunctionError:
        return FirmwareMode::Bios;
    case PrivilegeNotHeldError:
        return FirmwareMode::Unknown;
    default:
        return FirmwareMode::Uefi;
    }
}

} // namespace orvanta
