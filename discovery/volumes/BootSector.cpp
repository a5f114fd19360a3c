#include "discovery/volumes/BootSector.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {
namespace {

// Where a file system puts its name (the OEM name): "NTFS    ", "EXFAT   ";
// BitLocker puts "-FVE-FS-" there.
constexpr std::size_t FileSystemNameOffset = 3;
constexpr std::string_view NtfsName = "NTFS    ";
constexpr std::string_view ExFatName = "EXFAT   ";
constexpr std::string_view BitLockerName = "-FVE-FS-";
// BitLocker To Go keeps a FAT boot sector ("MSWIN4.1", "FAT32   " at 82) and
// puts BitLocker's identifier at 424.
constexpr std::size_t ToGoIdentifierOffset = 424;

// BitLocker's identifier 4967d63b-2e29-4ad8-8399-f6a339e3d001 and the one of a
// volume that encrypts only its used space, 92a84d3b-dd80-4d0e-9e4e-b1e3284eaed8,
// as the GUIDs lie in memory (libbde's format notes).
constexpr std::array<std::uint8_t, 16> BitLockerIdentifier{0x3B, 0xD6, 0x67, 0x49, 0x29, 0x2E, 0xD8, 0x4A,
                                                           0x83, 0x99, 0xF6, 0xA3, 0x39, 0xE3, 0xD0, 0x01};
constexpr std::array<std::uint8_t, 16> UsedSpaceOnlyIdentifier{0x3B, 0x4D, 0xA8, 0x92, 0x80, 0xDD, 0x0E, 0x4D,
                                                               0x9E, 0x4E, 0xB1, 0xE3, 0x28, 0x4E, 0xAE, 0xD8};

bool HoldsAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::span<const std::uint8_t> expected) {
    return offset + expected.size() <= bytes.size() &&
           std::equal(expected.begin(), expected.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool HoldsTextAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::string_view text) {
    return HoldsAt(bytes, offset, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool IsBitLocker(std::span<const std::uint8_t> sector) {
    return HoldsTextAt(sector, FileSystemNameOffset, BitLockerName) ||
           HoldsAt(sector, ToGoIdentifierOffset, BitLockerIdentifier) ||
           HoldsAt(sector, ToGoIdentifierOffset, UsedSpaceOnlyIdentifier);
}

std::uint32_t Read16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(ReadLittleEndian(bytes, offset, 2));
}

bool IsPowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

// A FAT volume is told by its BIOS parameter block, not by the name at 54 or
// 82 (which only informs): the number of data clusters decides between FAT12,
// FAT16 and FAT32, as Microsoft's FAT documentation does. A block that can't
// describe a volume gives Other.
BootSectorKind FatKindOf(std::span<const std::uint8_t> sector) {
    if (sector[510] != 0x55 || sector[511] != 0xAA) return BootSectorKind::Other;
    const std::uint64_t bytesPerSector = Read16(sector, 11);
    const std::uint32_t sectorsPerCluster = sector[13];
    const std::uint64_t reservedSectors = Read16(sector, 14);
    const std::uint64_t fatCount = sector[16];
    const std::uint64_t rootEntries = Read16(sector, 17);
    const std::uint64_t totalSectors = Read16(sector, 19) != 0 ? Read16(sector, 19) : ReadLittleEndian32(sector, 32);
    const std::uint64_t fatSectors = Read16(sector, 22) != 0 ? Read16(sector, 22) : ReadLittleEndian32(sector, 36);
    const bool sane = bytesPerSector >= 512 && bytesPerSector <= 4096 &&
                      IsPowerOfTwo(static_cast<std::uint32_t>(bytesPerSector)) && IsPowerOfTwo(sectorsPerCluster) &&
                      reservedSectors != 0 && fatCount != 0 && fatSectors != 0 && totalSectors != 0;
    if (!sane) return BootSectorKind::Other;
    const std::uint64_t rootSectors = (rootEntries * 32 + bytesPerSector - 1) / bytesPerSector;
    const std::uint64_t metadataSectors = reservedSectors + fatCount * fatSectors + rootSectors;
    if (metadataSectors >= totalSectors) return BootSectorKind::Other;
    const std::uint64_t clusters = (totalSectors - metadataSectors) / sectorsPerCluster;
    if (clusters < 4085) return BootSectorKind::Fat12;
    if (clusters < 65525) return BootSectorKind::Fat16;
    return BootSectorKind::Fat32;
}

} // namespace

BootSectorKind ClassifyBootSector(std::span<const std::uint8_t> sector) {
    if (sector.size() < BootSectorSize) return BootSectorKind::Other;
    sector = sector.first(BootSectorSize);
    if (std::all_of(sector.begin(), sector.end(), [](std::uint8_t byte) { return byte == 0; })) {
        return BootSectorKind::Empty;
    }
    if (IsBitLocker(sector)) return BootSectorKind::BitLocker;
    if (HoldsTextAt(sector, FileSystemNameOffset, NtfsName)) return BootSectorKind::Ntfs;
    if (HoldsTextAt(sector, FileSystemNameOffset, ExFatName)) return BootSectorKind::ExFat;
    return FatKindOf(sector);
}

} // namespace orvanta
