#include "discovery/DriveBus.h"

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

// Closes an open device exactly once, whatever happens after the open.
class OpenDevice {
public:
    OpenDevice(VolumeDevices& volumes, DeviceHandle handle) : volumes_(volumes), handle_(handle) {}
    ~OpenDevice() {
        if (handle_ != InvalidDevice) volumes_.close(handle_);
    }
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;
    DeviceHandle get() const { return handle_; }

private:
    VolumeDevices& volumes_;
    DeviceHandle handle_;
};

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

bool QueryStorageDevice(VolumeDevices& volumes, DeviceHandle device, AnswerRecord& answer) {
    const QueryRecord query = MakeDeviceQuery();
    return volumes.control(device, static_cast<std::uint32_t>(StorageQueryPropertyCode()), query,
                           answer);
}

std::uint32_t DriveBusType(VolumeDevices& volumes, const std::string& driveName) {
    OpenDevice device(volumes, volumes.open("\\\\.\\" + driveName));
    if (device.get() == InvalidDevice) return UnknownBusType;
    AnswerRecord answer = MakeEmptyAnswer();
    // The outcome follows the BusType field alone: a request that wrote
    // nothing leaves it 0.
    QueryStorageDevice(volumes, device.get(), answer);
    return BusTypeOf(answer);
}

} // namespace orvanta
