#pragma once
// Volume devices opened with CreateFileW and asked with DeviceIoControl.
#include "platform/VolumeDevices.h"

namespace orvanta::win32 {

class Win32VolumeDevices final : public VolumeDevices {
public:
    DeviceHandle open(const std::string& devicePath) override;
    bool control(DeviceHandle device, std::uint32_t controlCode, std::span<const std::uint8_t> query,
                 std::span<std::uint8_t> answer) override;
    void close(DeviceHandle device) override;
};

} // namespace orvanta::win32
