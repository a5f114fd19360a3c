// STORAGE_DEVICE_NUMBER as a volume answers it: the first 12 bytes of the
// input. Rules: the disk is the four bytes at offset 4, the partition the four
// at offset 8, read little-endian.
#include <algorithm>
#include <array>
#include <cstdint>

#include "discovery/disks/DiskRecords.h"
#include "fuzz/FuzzRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    if (size < DeviceNumberRecordSize) return 0;
    std::array<std::uint8_t, DeviceNumberRecordSize> answer{};
    std::copy_n(data, answer.size(), answer.begin());
    const VolumeLocation location = ParseDeviceNumber(answer);
    fuzz::Require(location.disk == fuzz::LittleEndian32At(data, 4));
    fuzz::Require(location.partition == fuzz::LittleEndian32At(data, 8));
    return 0;
}
