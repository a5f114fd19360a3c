#include "discovery/DeviceQueries.h"

#include <cmath>
#include <limits>

#include "platform/PlatformError.h"

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
    return devices.control(device, static_cast<std::uint32_t>(StorageQueryPropertyCode()), query, answer);
}

std::uint32_t BusTypeOf(Devices& devices, DeviceHandle device) {
    AnswerRecord answer = MakeEmptyAnswer();
    // The outcome follows the BusType field alone: a request that wrote
    // nothing leaves it 0.
    QueryStorageDevice(devices, device, answer);
    return BusTypeOf(answer);
}

std::optional<VolumeLocation> LocationOf(Devices& devices, DeviceHandle device) {
    std::array<std::uint8_t, DeviceNumberRecordSize> answer{};
    if (!devices.control(device, DeviceNumberControlCode, {}, answer)) return std::nullopt;
    return ParseDeviceNumber(answer);
}

std::optional<DiskLayout> LayoutOf(Devices& devices, DeviceHandle disk) {
    std::vector<std::uint8_t> answer(DriveLayoutBufferSize, 0);
    if (!devices.control(disk, DriveLayoutControlCode, {}, answer)) return std::nullopt;
    return ParseDriveLayout(answer);
}

std::uint32_t DriveBusType(Devices& devices, const std::string& driveName) {
    const OpenDevice volume(devices, VolumePath(driveName));
    return volume.isOpen() ? BusTypeOf(devices, volume.get()) : UnknownBusType;
}

std::string VolumePath(const std::string& driveName) {
    return "\\\\.\\" + driveName;
}

} // namespace orvanta
