#pragma once
// First sectors of volumes and disks, written byte for byte from the formats'
// public descriptions: Microsoft's FAT and exFAT documentation and the NTFS
// boot sector as Windows writes it, libbde's notes on BitLocker's volume
// header, and the boot code of MBR disks (Windows' code as its public
// disassemblies lay it out, GRUB's boot.S, VeraCrypt's BootSector.asm). Only the
// bytes the formats describe are set: code bytes are zero where no marker
// lies.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

using Sector = std::vector<std::uint8_t>;

// Volume boot sectors of 512 bytes (padded with zeros to `size`).
Sector NtfsBootSector(std::size_t size = 512);
// A FAT boot sector whose parameter block describes `totalSectors` sectors of
// 512 bytes, `sectorsPerCluster`, `fatSectors` per FAT (two FATs) and
// `rootEntries`; `typeName` goes to offset 54 or, for FAT32 (rootEntries 0), 82.
Sector FatBootSector(std::uint32_t totalSectors, std::uint8_t sectorsPerCluster, std::uint32_t fatSectors,
                     std::uint16_t rootEntries, const std::string& typeName);
Sector Fat32BootSector(); // a 100 MB ESP as Windows formats it: 512-byte clusters
Sector ExFatBootSector();
// BitLocker's header since Windows 7: "-FVE-FS-" at 3, "NO NAME" and "FAT32   "
// at 71 and 82, its identifier at 160; padded with zeros to `size`.
Sector BitLockerBootSector(std::size_t size = 512);
// BitLocker To Go on a FAT volume: a whole FAT32 boot sector with BitLocker's
// identifier at 424.
Sector BitLockerToGoBootSector();

// Disk sectors 0 with an active NTFS partition in the table and 0x55AA: the code
// area holds what each boot loader's code holds.
Sector WindowsMasterBootRecord();               // Windows 7 to 11, as bootsect /nt60 writes it
Sector TranslatedWindowsMasterBootRecord();     // the same code with German messages
Sector WindowsXpMasterBootRecord();             // Windows 2000/XP's
Sector GrubMasterBootRecord();                  // GRUB 2's boot.img
Sector VeraCryptMasterBootRecord();
Sector EmptyMasterBootRecord();                 // a table, but no code
Sector UnknownMasterBootRecord();               // another loader's code with one of Windows' messages

// Sets bytes of a sector from a text, or from a list of bytes.
void PutText(Sector& sector, std::size_t offset, const std::string& text);
void PutBytes(Sector& sector, std::size_t offset, const std::vector<std::uint8_t>& bytes);

} // namespace orvanta
