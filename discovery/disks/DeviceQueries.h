#pragma once
// The questions the program asks of devices: a volume's bus and place, a
// disk's partitions and sector size, and a disk's sectors.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/disks/DiskRecords.h"
#include "discovery/disks/StorageRecords.h"
#include "platform/disks/Devices.h"

namespace orvanta {

// Composes a device control code like the system's CTL_CODE: device type in
// bits 16 and up, access in bits 14-15, function in bits 2-13, method in bits
// 0-1. Throws PlatformError (overflow, number 6) when a part leaves the signed
// 32-bit range.
std::int32_t DeviceControlCode(std::int32_t deviceType, std::int32_t function, std::int32_t method,
                               std::int32_t access);

// IOCTL_STORAGE_QUERY_PROPERTY, 0x2D1400.
std::int32_t StorageQueryPropertyCode();

// A device opened for the length of a scope, closed exactly once.
class OpenDevice {
public:
    OpenDevice(Devices& devices, const std::string& path) : devices_(devices), handle_(devices.open(path)) {}
    ~OpenDevice() {
        if (handle_ != InvalidDevice) devices_.close(handle_);
    }
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;
    bool isOpen() const { return handle_ != InvalidDevice; }
    DeviceHandle get() const { return handle_; }

private:
    Devices& devices_;
    DeviceHandle handle_;
};

// One standard device-property request on an open device; true when it succeeded.
bool QueryStorageDevice(Devices& devices, DeviceHandle device, AnswerRecord& answer);

// The STORAGE_BUS_TYPE of an open device; UnknownBusType when the request
// writes nothing.
std::uint32_t BusTypeOf(Devices& devices, DeviceHandle device);

// The bus and model of an open disk, asked with room for the texts; as much
// as the device wrote, whatever the request's result.
StorageDescriptor DescriptorOf(Devices& devices, DeviceHandle disk);

// The disk and partition of an open volume; nothing when the device can't tell
// (a volume that spans disks, say).
std::optional<VolumeLocation> LocationOf(Devices& devices, DeviceHandle device);

// The partition table of an open disk, asked again with twice the buffer while
// the disk says the answer doesn't fit, up to DriveLayoutBufferLimit; nothing
// when the disk doesn't answer or needs more.
std::optional<DiskLayout> LayoutOf(Devices& devices, DeviceHandle disk);

// The sector size and length of an open disk; nothing when it doesn't tell.
std::optional<DiskGeometry> GeometryOf(Devices& devices, DeviceHandle disk);

// The one sector of an open disk that starts at a byte offset; nothing when the
// sector size is unknown (0), the offset is not on a sector boundary or the
// read fails.
std::optional<std::vector<std::uint8_t>> ReadSector(Devices& devices, DeviceHandle disk, std::uint64_t byteOffset,
                                                    std::uint32_t sectorSize);

// The bus of a drive such as "C:"; UnknownBusType when its volume can't be opened.
std::uint32_t DriveBusType(Devices& devices, const std::string& driveName);

// "\\.\C:", the volume device of a drive.
std::string VolumePath(const std::string& driveName);

// "\\.\PhysicalDrive0", the device of a disk.
std::string DiskPath(std::uint32_t number);

} // namespace orvanta
