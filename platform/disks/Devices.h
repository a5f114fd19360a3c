#pragma once
// Devices (volumes such as \\.\C:, disks such as \\.\PhysicalDrive0): open,
// one device control request, a raw read, close.
#include <cstdint>
#include <span>
#include <string>

#include "platform/errors/SystemErrors.h"

namespace orvanta {

using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle InvalidDevice = -1;

// Device requests answer with the system's error number (SystemErrors.h); 0 is success.

class Devices {
public:
    virtual ~Devices() = default;

    // Opens a device path such as "\\\\.\\C:" for reading with shared read and
    // write; InvalidDevice when it can't be opened.
    virtual DeviceHandle open(const std::string& devicePath) = 0;

    // One synchronous device control request. The answer buffer is filled in
    // place; returns the system's error number, 0 when the request succeeded.
    virtual std::uint32_t control(DeviceHandle device, std::uint32_t controlCode,
                                  std::span<const std::uint8_t> query, std::span<std::uint8_t> answer) = 0;

    // Reads the buffer's length of bytes from an open disk, starting at a byte
    // offset from its start; offset and length are whole sectors of the disk.
    // Fills the whole buffer or fails; returns the system's error number, 0
    // when every byte was read.
    virtual std::uint32_t read(DeviceHandle device, std::uint64_t byteOffset, std::span<std::uint8_t> buffer) = 0;

    virtual void close(DeviceHandle device) = 0;
};

} // namespace orvanta
