#pragma once
// The firmware type, from GetFirmwareType where the system has it (Windows 8
// on), else from a firmware-variable probe; the firmware's variables: read,
// listed by name, and written.
#include "platform/system/Firmware.h"

namespace orvanta::win32 {

class Win32Firmware final : public Firmware {
public:
    std::optional<std::uint32_t> firmwareType() override;
    std::uint32_t probeFirmwareVariable() override;
    FirmwareVariable readVariable(const std::string& name, const std::string& vendor, std::size_t capacity) override;
    FirmwareVariable variableNames() override;
    std::uint32_t writeVariable(const std::string& name, const std::string& vendor,
                                std::span<const std::uint8_t> bytes) override;

private:
    void enablePrivilege();

    bool privilegeEnabled_ = false;
};

} // namespace orvanta::win32
