#pragma once
// Devices (volumes such as \\.\C:, disks such as \\.\PhysicalDrive0): open,
// one device control request, close.
#include <cstdint>
#include <span>
#include <string>

namespace orvanta {

using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle InvalidDevice = -1;

class Devices {
public:
    virtual ~Devices() = default;

    // Opens a device path such as "\\\\.\\C:" for reading with shared read and
    // write; InvalidDevice when it can't be opened.
    virtual DeviceHandle open(const std::string& devicePath) = 0;

    // One synchronous device control request. The answer buffer is filled in
    // place; returns false when the request failed.
    virtual bool control(DeviceHandle device, std::uint32_t controlCode,
                         std::span<const std::uint8_t> query, std::span<std::uint8_t> answer) = 0;

    virtual void close(DeviceHandle device) = 0;
};

} // namespace orvanta
