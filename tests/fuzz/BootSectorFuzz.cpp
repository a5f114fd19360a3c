// Fuzzes the volume boot-sector classifier against rules read from the formats
// independently: only the first 512 bytes count; empty means all zero; each
// kind needs its own mark (BitLocker's name or identifier, NTFS's or exFAT's
// name, FAT's 0x55AA and a sector size).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "discovery/volumes/BootSector.h"

namespace {

using orvanta::BootSectorKind;

bool Has(const std::uint8_t* data, std::size_t offset, const void* mark, std::size_t length) {
    return std::memcmp(data + offset, mark, length) == 0;
}

void CheckMarks(const std::uint8_t* data, BootSectorKind kind) {
    static constexpr std::uint8_t Identifier[16] = {0x3B, 0xD6, 0x67, 0x49, 0x29, 0x2E, 0xD8, 0x4A,
                                                    0x83, 0x99, 0xF6, 0xA3, 0x39, 0xE3, 0xD0, 0x01};
    static constexpr std::uint8_t UsedSpaceIdentifier[16] = {0x3B, 0x4D, 0xA8, 0x92, 0x80, 0xDD, 0x0E, 0x4D,
                                                             0x9E, 0x4E, 0xB1, 0xE3, 0x28, 0x4E, 0xAE, 0xD8};
    const bool zero = std::all_of(data, data + 512, [](std::uint8_t byte) { return byte == 0; });
    if (zero != (kind == BootSectorKind::Empty)) __builtin_trap();
    const bool bitLocker = Has(data, 3, "-FVE-FS-", 8) || Has(data, 424, Identifier, 16) ||
                           Has(data, 424, UsedSpaceIdentifier, 16);
    if (bitLocker != (kind == BootSectorKind::BitLocker)) __builtin_trap();
    if (kind == BootSectorKind::Ntfs && !Has(data, 3, "NTFS    ", 8)) __builtin_trap();
    if (kind == BootSectorKind::ExFat && !Has(data, 3, "EXFAT   ", 8)) __builtin_trap();
    const bool fat = kind == BootSectorKind::Fat12 || kind == BootSectorKind::Fat16 || kind == BootSectorKind::Fat32;
    if (fat && (data[510] != 0x55 || data[511] != 0xAA || (data[11] == 0 && data[12] == 0) || data[13] == 0)) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const BootSectorKind kind = orvanta::ClassifyBootSector(std::span(data, size));
    if (size < 512) {
        if (kind != BootSectorKind::Other) __builtin_trap();
        return 0;
    }
    CheckMarks(data, kind);
    // What follows the first 512 bytes (the rest of a 4096-byte sector) changes nothing.
    std::vector<std::uint8_t> first(data, data + 512);
    first.resize(4096, 0xA5);
    if (orvanta::ClassifyBootSector(first) != kind) __builtin_trap();
    return 0;
}
