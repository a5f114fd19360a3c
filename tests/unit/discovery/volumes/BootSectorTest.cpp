#include <gtest/gtest.h>

#include "discovery/volumes/BootSector.h"
#include "fakes/BootSectors.h"

namespace orvanta {
namespace {

TEST(BootSector, EachFileSystemIsToldFromItsFirstSector) {
    EXPECT_EQ(ClassifyBootSector(NtfsBootSector()), BootSectorKind::Ntfs);
    EXPECT_EQ(ClassifyBootSector(ExFatBootSector()), BootSectorKind::ExFat);
    EXPECT_EQ(ClassifyBootSector(Fat32BootSector()), BootSectorKind::Fat32);
    // FAT by its cluster count, at both edges, whatever name it gives itself.
    EXPECT_EQ(ClassifyBootSector(FatBootSector(8000, 4, 6, 512, "FAT12   ")), BootSectorKind::Fat12);
    EXPECT_EQ(ClassifyBootSector(FatBootSector(204800, 4, 200, 512, "FAT16   ")), BootSectorKind::Fat16);
    // 1 reserved + 2 FATs of 16 + 32 root sectors + 4084 or 4085 clusters.
    EXPECT_EQ(ClassifyBootSector(FatBootSector(65 + 4084, 1, 16, 512, "FAT     ")), BootSectorKind::Fat12);
    EXPECT_EQ(ClassifyBootSector(FatBootSector(65 + 4085, 1, 16, 512, "FAT12   ")), BootSectorKind::Fat16);
    // A 4096-byte sector (4Kn) holds its boot sector in the first 512 bytes.
    EXPECT_EQ(ClassifyBootSector(NtfsBootSector(4096)), BootSectorKind::Ntfs);
    EXPECT_EQ(ClassifyBootSector(Sector(4096, 0)), BootSectorKind::Empty);
}

TEST(BootSector, BitLockerIsToldBeforeTheFat32NameItsHeaderAlsoCarries) {
    const Sector header = BitLockerBootSector();
    ASSERT_EQ(std::string(header.begin() + 82, header.begin() + 90), "FAT32   ");
    ASSERT_EQ(std::string(header.begin() + 71, header.begin() + 78), "NO NAME");
    EXPECT_EQ(ClassifyBootSector(header), BootSectorKind::BitLocker);
    EXPECT_EQ(ClassifyBootSector(BitLockerBootSector(4096)), BootSectorKind::BitLocker);
    // Vista's header is NTFS's with "-FVE-FS-" for its name.
    Sector vista = NtfsBootSector();
    PutText(vista, 3, "-FVE-FS-");
    EXPECT_EQ(ClassifyBootSector(vista), BootSectorKind::BitLocker);
    // To Go: a whole FAT32 boot sector, told by BitLocker's identifier at 424,
    // also the one of a volume encrypted in its used space only.
    Sector toGo = BitLockerToGoBootSector();
    EXPECT_EQ(ClassifyBootSector(toGo), BootSectorKind::BitLocker);
    PutBytes(toGo, 424, {0x3B, 0x4D, 0xA8, 0x92, 0x80, 0xDD, 0x0E, 0x4D, 0x9E, 0x4E, 0xB1, 0xE3, 0x28, 0x4E, 0xAE, 0xD8});
    EXPECT_EQ(ClassifyBootSector(toGo), BootSectorKind::BitLocker);
    toGo[424] ^= 1; // one byte off: a plain FAT32 volume
    EXPECT_EQ(ClassifyBootSector(toGo), BootSectorKind::Fat32);
}

TEST(BootSector, AnythingThatDescribesNoVolumeIsOther) {
    Sector fat = Fat32BootSector();
    EXPECT_EQ(ClassifyBootSector(std::span(fat).first(511)), BootSectorKind::Other); // too short
    EXPECT_EQ(ClassifyBootSector({}), BootSectorKind::Other);
    const auto changed = [&](std::size_t offset, std::uint8_t value) {
        Sector copy = fat;
        copy[offset] = value;
        return ClassifyBootSector(copy);
    };
    EXPECT_EQ(changed(511, 0), BootSectorKind::Other);   // no 0x55AA
    EXPECT_EQ(changed(13, 0), BootSectorKind::Other);    // no sectors per cluster: no division by zero
    EXPECT_EQ(changed(13, 3), BootSectorKind::Other);    // not a power of two
    EXPECT_EQ(changed(12, 0x11), BootSectorKind::Other); // 4352-byte sectors
    EXPECT_EQ(changed(16, 0), BootSectorKind::Other);    // no FAT
    EXPECT_EQ(changed(14, 0), BootSectorKind::Other);    // no reserved sector
    // FATs larger than the volume: nothing left for data, no wrap-around.
    Sector oversized = FatBootSector(2000, 1, 1000, 512, "FAT12   ");
    EXPECT_EQ(ClassifyBootSector(oversized), BootSectorKind::Other);
    Sector ntfsName(512, 0);
    PutText(ntfsName, 4, "NTFS    "); // the name one byte off its place
    EXPECT_EQ(ClassifyBootSector(ntfsName), BootSectorKind::Other);
}

} // namespace
} // namespace orvanta
