#include "fakes/BootSectors.h"

#include <algorithm>

namespace orvanta {
namespace {

void PutNumber(Sector& sector, std::size_t offset, std::uint64_t value, std::size_t width) {
    for (std::size_t index = 0; index < width; ++index) sector[offset + index] = static_cast<std::uint8_t>(value >> (8 * index));
}

void Sign(Sector& sector) {
    sector[510] = 0x55;
    sector[511] = 0xAA;
}

// 4967d63b-2e29-4ad8-8399-f6a339e3d001 in memory order.
const std::vector<std::uint8_t> BitLockerIdentifier{0x3B, 0xD6, 0x67, 0x49, 0x29, 0x2E, 0xD8, 0x4A,
                                                    0x83, 0x99, 0xF6, 0xA3, 0x39, 0xE3, 0xD0, 0x01};

// Windows NT's code begins by setting up its stack and copying itself to 0:0600.
const std::vector<std::uint8_t> NtPrologue{0x33, 0xC0, 0x8E, 0xD0, 0xBC, 0x00, 0x7C, 0x8E, 0xC0, 0x8E,
                                           0xD8, 0xBE, 0x00, 0x7C, 0xBF, 0x00, 0x06, 0xB9, 0x00, 0x02,
                                           0xFC, 0xF3, 0xA4, 0x50, 0x68, 0x1C, 0x06, 0xCB};
// cmp ebx, 'TCPA': the check of the TPM's answer in Vista's and later code.
const std::vector<std::uint8_t> TpmCheck{0x66, 0x81, 0xFB, 0x54, 0x43, 0x50, 0x41};

// An MBR with the signature 0x1234ABCD and one active NTFS partition from 1 MiB.
Sector MasterBootRecord() {
    Sector sector(512, 0);
    PutNumber(sector, 440, 0x1234ABCD, 4);
    sector[446] = 0x80;                     // active
    sector[446 + 4] = 0x07;                 // NTFS
    PutNumber(sector, 446 + 8, 2048, 4);    // first sector
    PutNumber(sector, 446 + 12, 204800, 4); // sectors
    Sign(sector);
    return sector;
}

// Windows' three messages one after another from `start`, each ended by a zero,
// and the table of their offsets (from 0x100) at 437-439.
void PutMessages(Sector& sector, std::size_t start, const std::vector<std::string>& messages) {
    for (std::size_t index = 0; index < messages.size(); ++index) {
        sector[437 + index] = static_cast<std::uint8_t>(start - 0x100);
        PutText(sector, start, messages[index]);
        start += messages[index].size() + 1;
    }
}

Sector NtMasterBootRecord(bool withTpmCheck, std::size_t messagesAt, const std::vector<std::string>& messages) {
    Sector sector = MasterBootRecord();
    PutBytes(sector, 0, NtPrologue);
    if (withTpmCheck) PutBytes(sector, 0x0A0, TpmCheck);
    PutMessages(sector, messagesAt, messages);
    return sector;
}

// The jump over the parameter block, the name, 512-byte sectors, 4 KB clusters
// and the fixed-disk media byte.
Sector VolumeSectorStart(std::size_t size, std::uint8_t jump, const std::string& name) {
    Sector sector(size, 0);
    PutBytes(sector, 0, {0xEB, jump, 0x90});
    PutText(sector, 3, name);
    PutNumber(sector, 11, 512, 2);
    sector[13] = 8;
    sector[21] = 0xF8;
    return sector;
}

} // namespace

void PutText(Sector& sector, std::size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), sector.begin() + static_cast<std::ptrdiff_t>(offset));
}

void PutBytes(Sector& sector, std::size_t offset, const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), sector.begin() + static_cast<std::ptrdiff_t>(offset));
}

Sector NtfsBootSector(std::size_t size) {
    Sector sector = VolumeSectorStart(size, 0x52, "NTFS    ");
    PutNumber(sector, 40, 204799, 8); // total sectors
    PutNumber(sector, 48, 4, 8);      // the MFT's cluster
    Sign(sector);
    return sector;
}

Sector FatBootSector(std::uint32_t totalSectors, std::uint8_t sectorsPerCluster, std::uint32_t fatSectors,
                     std::uint16_t rootEntries, const std::string& typeName) {
    Sector sector(512, 0);
    const bool fat32 = rootEntries == 0;
    PutBytes(sector, 0, {0xEB, static_cast<std::uint8_t>(fat32 ? 0x58 : 0x3C), 0x90});
    PutText(sector, 3, "MSWIN4.1");
    PutNumber(sector, 11, 512, 2);
    sector[13] = sectorsPerCluster;
    PutNumber(sector, 14, fat32 ? 32 : 1, 2); // reserved sectors
    sector[16] = 2;                           // FATs
    PutNumber(sector, 17, rootEntries, 2);
    if (totalSectors < 0x10000) PutNumber(sector, 19, totalSectors, 2);
    else PutNumber(sector, 32, totalSectors, 4);
    sector[21] = 0xF8;
    if (fat32) PutNumber(sector, 36, fatSectors, 4);
    else PutNumber(sector, 22, fatSectors, 2);
    const std::size_t extended = fat32 ? 64 : 36; // drive number, reserved, 0x29, serial, label, type
    sector[extended + 2] = 0x29;
    PutText(sector, extended + 7, "NO NAME    ");
    PutText(sector, extended + 18, typeName);
    Sign(sector);
    return sector;
}

Sector Fat32BootSector() {
    return FatBootSector(204800, 1, 1600, 0, "FAT32   ");
}

Sector ExFatBootSector() {
    Sector sector(512, 0);
    PutBytes(sector, 0, {0xEB, 0x76, 0x90});
    PutText(sector, 3, "EXFAT   ");
    sector[108] = 9; // BytesPerSectorShift: 512
    sector[109] = 3; // SectorsPerClusterShift
    sector[110] = 1; // NumberOfFats
    Sign(sector);
    return sector;
}

Sector BitLockerBootSector(std::size_t size) {
    Sector sector = VolumeSectorStart(size, 0x58, "-FVE-FS-");
    PutNumber(sector, 24, 0x3F, 2);
    PutNumber(sector, 36, 0x1F0E, 4);
    sector[64] = 0x80;
    sector[66] = 0x29;
    PutText(sector, 71, "NO NAME    ");
    PutText(sector, 82, "FAT32   ");
    PutBytes(sector, 160, BitLockerIdentifier);
    PutNumber(sector, 176, 0x02100000, 8); // the FVE metadata blocks
    PutNumber(sector, 184, 0x12100000, 8);
    PutNumber(sector, 192, 0x22100000, 8);
    Sign(sector);
    return sector;
}

Sector BitLockerToGoBootSector() {
    Sector sector = Fat32BootSector();
    PutBytes(sector, 424, BitLockerIdentifier);
    PutNumber(sector, 440, 0x02100000, 8);
    return sector;
}

Sector WindowsMasterBootRecord() {
    return NtMasterBootRecord(true, 0x163,
                              {"Invalid partition table", "Error loading operating system", "Missing operating system"});
}

Sector TranslatedWindowsMasterBootRecord() {
    return NtMasterBootRecord(true, 0x150,
                              {"Ungueltige Partitionstabelle", "Fehler beim Laden des Betriebssystems",
                               "Betriebssystem nicht vorhanden"});
}

Sector WindowsXpMasterBootRecord() {
    Sector sector = NtMasterBootRecord(false, 0x12C,
                                       {"Invalid partition table", "Error loading operating system",
                                        "Missing operating system"});
    PutBytes(sector, 7, {0xFB, 0x50, 0x07, 0x50, 0x1F, 0xFC, 0xBE, 0x1B, 0x7C}); // sti; push ax... its own copy loop
    return sector;
}

Sector GrubMasterBootRecord() {
    Sector sector = MasterBootRecord();
    PutBytes(sector, 0, {0xEB, 0x63, 0x90});             // jmp over the parameter block GRUB keeps
    PutBytes(sector, 0x65, {0xFA, 0x90, 0x90, 0xF6, 0xC2, 0x80}); // cli; nop; nop; test dl,80h
    // The texts boot.S prints: its name, then what went wrong.
    PutText(sector, 0x17C, std::string("GRUB \0Geom\0Hard Disk\0Read\0 Error\r\n", 35));
    return sector;
}

Sector VeraCryptMasterBootRecord() {
    Sector sector = MasterBootRecord();
    PutBytes(sector, 0, {0xEA, 0x1F, 0x7C, 0x00, 0x00}); // jmp 0:main
    PutText(sector, 5, " VeraCrypt Boot Loader\r\n");
    PutText(sector, 0x150, "Disk error\r\n\a");
    PutText(sector, 0x160, "\aLoader damaged! Use Rescue Disk: Repair Options > Restore");
    PutNumber(sector, 430, 0x0126, 2); // the boot loader's version, big-endian 1.26
    return sector;
}

Sector EmptyMasterBootRecord() {
    return MasterBootRecord();
}

Sector UnknownMasterBootRecord() {
    Sector sector = MasterBootRecord();
    PutBytes(sector, 0, {0xFA, 0x31, 0xC0, 0x8E, 0xD8, 0x8E, 0xD0, 0xBC, 0x00, 0x7C}); // cli; xor ax,ax; ...
    PutText(sector, 0x160, "Missing operating system.\r\n");
    return sector;
}

} // namespace orvanta
