#pragma once
// Whose boot code sits in the first sector of an MBR disk: the code that BIOS
// firmware runs and that `bootsect /nt60 ... /mbr` replaces. Only the first 440
// bytes are code; the disk signature (440-443), two reserved bytes, the
// partition table (446-509) and 0x55AA (510-511) follow.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvanta {

enum class MasterBootCodeKind {
    Empty,        // the code area is all zero
    Windows,      // Windows Vista's and later: the code bootsect /nt60 writes
    OlderWindows, // Windows 2000/XP's, or MS-DOS's and Windows 9x's
    Grub,         // GRUB's boot.img (GRUB 2) or stage1 (GRUB Legacy)
    VeraCrypt,    // VeraCrypt's boot loader, in front of an encrypted Windows
    TrueCrypt,    // TrueCrypt's boot loader, the same
    Unknown,      // anything else, or less than the code area
};

inline constexpr std::size_t MasterBootCodeSize = 440;

// Tells whose code the first sector holds from its first MasterBootCodeSize
// bytes alone.
MasterBootCodeKind ClassifyMasterBootCode(std::span<const std::uint8_t> sector);

} // namespace orvanta
