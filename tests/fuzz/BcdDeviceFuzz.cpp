// A BCD device element as a store might hold it, damaged or hostile: the
// device read from it is of a kind with the parts that kind has, its texts
// are valid UTF-8 without a NUL, and fewer bytes than an options GUID and a
// descriptor's header name no device.
#include <cstddef>
#include <cstdint>
#include <span>

#include "discovery/bcd/BcdDevice.h"
#include "discovery/bytes/Guid.h"
#include "fuzz/FuzzRules.h"

namespace {

using orvanta::BcdDevice;
using orvanta::BcdDeviceKind;
using orvanta::fuzz::Require;

bool IsFileKind(BcdDeviceKind kind) {
    return kind == BcdDeviceKind::Ramdisk || kind == BcdDeviceKind::File || kind == BcdDeviceKind::Vhd;
}

void RequireShapeOfKind(const BcdDevice& device) {
    switch (device.kind) {
    case BcdDeviceKind::Unknown: Require(device == BcdDevice{}); break;
    case BcdDeviceKind::Partition:
        Require(device.partition && device.file.empty() && device.fileOn == BcdDeviceKind::Unknown);
        break;
    case BcdDeviceKind::Boot:
    case BcdDeviceKind::Locate:
        Require(!device.partition && device.fileOn == BcdDeviceKind::Unknown);
        Require(device.kind == BcdDeviceKind::Locate || device.file.empty());
        break;
    default:
        Require(IsFileKind(device.kind));
        Require(device.fileOn == BcdDeviceKind::Partition || device.fileOn == BcdDeviceKind::Boot ||
                device.fileOn == BcdDeviceKind::Locate);
        Require(device.partition.has_value() == (device.fileOn == BcdDeviceKind::Partition));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const BcdDevice device = orvanta::ParseBcdDevice(std::span<const std::uint8_t>(data, size));
    RequireShapeOfKind(device);
    Require(orvanta::fuzz::IsWellFormedUtf8(device.file) && device.file.find('\0') == std::string::npos);
    if (!device.options.empty()) {
        const auto guid = orvanta::ParseGuidText(device.options);
        Require(guid && orvanta::GuidText(*guid) == device.options);
    }
    if (size < 32) Require(device.kind == BcdDeviceKind::Unknown);
    return 0;
}
