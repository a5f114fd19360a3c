#pragma once
// Devices opened with CreateFileW, asked with DeviceIoControl and read with
// ReadFile at an explicit offset.
#include "platform/disks/Devices.h"

namespace orvanta::win32 {

class Win32Devices final : public Devices {
public:
    DeviceHandle open(const std::string& devicePath) override;
    std::uint32_t control(DeviceHandle device, std::uint32_t controlCode, std::span<const std::uint8_t> query,
                          std::span<std::uint8_t> answer) override;
    std::uint32_t read(DeviceHandle device, std::uint64_t byteOffset, std::span<std::uint8_t> buffer) override;
    void close(DeviceHandle device) override;
};

} // namespace orvanta::win32
