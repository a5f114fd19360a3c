// Fuzzes the disk-geometry parser against the record read independently here:
// an answer gives a geometry exactly when it holds DISK_GEOMETRY and DiskSize
// (32 bytes) and a sector size of 512, 1024, 2048 or 4096, and then that one.
#include <cstddef>
#include <cstdint>
#include <span>

#include "discovery/disks/DiskRecords.h"

namespace {

std::uint64_t Le(const std::uint8_t* at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = 0; index < width; ++index) value |= std::uint64_t{at[index]} << (8 * index);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto geometry = orvanta::ParseDiskGeometry(std::span(data, size));
    const std::uint64_t sectorSize = size >= 32 ? Le(data + 20, 4) : 0;
    const bool expected = sectorSize == 512 || sectorSize == 1024 || sectorSize == 2048 || sectorSize == 4096;
    if (geometry.has_value() != expected) __builtin_trap();
    if (geometry && (geometry->bytesPerSector != sectorSize || geometry->size != Le(data + 24, 8))) __builtin_trap();
    return 0;
}
