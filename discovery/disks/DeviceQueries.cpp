#include "discovery/disks/DeviceQueries.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/errors/PlatformError.h"

namespace orvanta {
namespace {

std::int32_t ToInt32(double value) {
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        throw PlatformError(6, "溢出");
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace

std::int32_t DeviceControlCode(std::int32_t deviceType, std::int32_t function, std::int32_t method,
                               std::int32_t access) {
    const std::int32_t typePart = ToInt32(static_cast<double>(deviceType) * 65536.0);
    const std::int32_t functionPart = ToInt32(static_cast<double>(function) * 4.0);
    const std::int32_t accessPart = ToInt32(static_cast<double>(access) * 16384.0);
    return typePart | functionPart | accessPart | method;
}

std::int32_t StorageQueryPropertyCode() {
    return DeviceControlCode(0x2D, 0x500, 0, 0);
}

bool QueryStorageDevice(Devices& devices, DeviceHandle device, AnswerRecord& answer) {
    const QueryRecord query = MakeDeviceQuery();
    return devices.control(device, static_cast<std::uint32_t>(StorageQueryPropertyCode()), query, answer) == 0;
}

std::uint32_t BusTypeOf(Devices& devices, DeviceHandle device) {
    AnswerRecord answer = MakeEmptyAnswer();
    // The outcome follows the BusType field alone: a request that wrote
    // nothing leaves it 0.
    QueryStorageDevice(devices, device, answer);
    return BusTypeOf(answer);
}

StorageDescriptor DescriptorOf(Devices& devices, DeviceHandle disk) {
    std::vector<std::uint8_t> answer(DescriptorBufferSize, 0);
    const QueryRecord query = MakeDeviceQuery();
    devices.control(disk, static_cast<std::uint32_t>(StorageQueryPropertyCode()), query, answer);
    return ParseStorageDescriptor(answer);
}

std::optional<VolumeLocation> LocationOf(Devices& devices, DeviceHandle device) {
    std::array<std::uint8_t, DeviceNumberRecordSize> answer{};
    if (devices.control(device, DeviceNumberControlCode, {}, answer) != 0) return std::nullopt;
    return ParseDeviceNumber(answer);
}

std::optional<DiskLayout> LayoutOf(Devices& devices, DeviceHandle disk) {
    for (std::size_t size = DriveLayoutBufferSize;; size = std::min(size * 2, DriveLayoutBufferLimit)) {
        std::vector<std::uint8_t> answer(size, 0);
        const std::uint32_t error = devices.control(disk, DriveLayoutControlCode, {}, answer);
        if (error == 0) return ParseDriveLayout(answer);
        const bool tooSmall = error == InsufficientBufferError || error == MoreDataError;
        if (!tooSmall || size == DriveLayoutBufferLimit) return std::nullopt;
    }
}

std::optional<DiskGeometry> GeometryOf(Devices& devices, DeviceHandle disk) {
    std::array<std::uint8_t, GeometryBufferSize> answer{};
    if (devices.control(disk, DriveGeometryControlCode, {}, answer) != 0) return std::nullopt;
    return ParseDiskGeometry(answer);
}

std::optional<std::vector<std::uint8_t>> ReadSector(Devices& devices, DeviceHandle disk, std::uint64_t byteOffset,
                                                    std::uint32_t sectorSize) {
    if (sectorSize == 0 || byteOffset % sectorSize != 0) return std::nullopt;
    std::vector<std::uint8_t> sector(sectorSize, 0);
    if (devices.read(disk, byteOffset, sector) != 0) return std::nullopt;
    return sector;
}

std::uint32_t DriveBusType(Devices& devices, const std::string& driveName) {
    const OpenDevice volume(devices, VolumePath(driveName));
    return volume.isOpen() ? BusTypeOf(devices, volume.get()) : UnknownBusType;
}

std::string VolumePath(const std::string& driveName) {
    return "\\\\.\\" + driveName;
}

std::string DiskPath(std::uint32_t number) {
    return "\\\\.\\PhysicalDrive" + std::to_string(number);
}

} // namespace orvanta
