#pragma once
// Devices opened with CreateFileW and asked with DeviceIoControl.
#include "platform/Devices.h"

namespace orvanta::win32 {

class Win32Devices final : public Devices {
public:
    DeviceHandle open(const std::string& devicePath) override;
    bool control(DeviceHandle device, std::uint32_t controlCode, std::span<const std::uint8_t> query,
                 std::span<std::uint8_t> answer) override;
    void close(DeviceHandle device) override;
};

} // namespace orvanta::win32
