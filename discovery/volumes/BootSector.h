#pragma once
// What a volume's first sector says the volume holds: the file system its boot
// sector names, or BitLocker's header, which stands in front of the file system
// it encrypts. Read through the disk, it tells the same whether or not the
// volume is unlocked; it never tells whether BitLocker's protection is on or
// suspended.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvanta {

enum class BootSectorKind { Empty, Ntfs, Fat12, Fat16, Fat32, ExFat, BitLocker, Other };

// The part of a sector the boot sector occupies, whatever the sector size.
inline constexpr std::size_t BootSectorSize = 512;

// The kind of a volume's first sector. Only its first BootSectorSize bytes are
// looked at; a shorter one is Other. BitLocker's header also carries "FAT32   "
// at offset 82 and the label "NO NAME", so it is told apart first.
BootSectorKind ClassifyBootSector(std::span<const std::uint8_t> sector);

} // namespace orvanta
