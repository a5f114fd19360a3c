#include <gtest/gtest.h>

#include "discovery/disks/MasterBootCode.h"
#include "fakes/BootSectors.h"

namespace orvanta {
namespace {

TEST(MasterBootCode, EachBootLoaderIsToldFromTheCodeAreaOfTheFirstSector) {
    EXPECT_EQ(ClassifyMasterBootCode(WindowsMasterBootRecord()), MasterBootCodeKind::Windows);
    // Recognised by the code's layout, not its English texts.
    EXPECT_EQ(ClassifyMasterBootCode(TranslatedWindowsMasterBootRecord()), MasterBootCodeKind::Windows);
    EXPECT_EQ(ClassifyMasterBootCode(WindowsXpMasterBootRecord()), MasterBootCodeKind::OlderWindows);
    EXPECT_EQ(ClassifyMasterBootCode(GrubMasterBootRecord()), MasterBootCodeKind::Grub);
    EXPECT_EQ(ClassifyMasterBootCode(VeraCryptMasterBootRecord()), MasterBootCodeKind::VeraCrypt);
    Sector trueCrypt = VeraCryptMasterBootRecord();
    PutText(trueCrypt, 5, " TrueCrypt Boot Loader\r\n");
    EXPECT_EQ(ClassifyMasterBootCode(trueCrypt), MasterBootCodeKind::TrueCrypt);
    EXPECT_EQ(ClassifyMasterBootCode(EmptyMasterBootRecord()), MasterBootCodeKind::Empty);
    EXPECT_EQ(ClassifyMasterBootCode(UnknownMasterBootRecord()), MasterBootCodeKind::Unknown);
    // MS-DOS's and Windows 9x's code: the three texts without the table.
    Sector dos = UnknownMasterBootRecord();
    PutText(dos, 0x8B, std::string("Invalid partition table\0Error loading operating system\0Missing operating system", 79));
    EXPECT_EQ(ClassifyMasterBootCode(dos), MasterBootCodeKind::OlderWindows);
}

TEST(MasterBootCode, OnlyTheCodeAreaCounts) {
    // A marker in the disk signature, the table or past the sector's 512 bytes
    // is not code; the sector size (512 or 4096) doesn't change the answer.
    Sector empty = EmptyMasterBootRecord();
    PutText(empty, 440, "GRUB");
    PutText(empty, 446 + 16, "VeraCrypt");
    EXPECT_EQ(ClassifyMasterBootCode(empty), MasterBootCodeKind::Empty);
    Sector large = GrubMasterBootRecord();
    large.resize(4096, 0);
    PutText(large, 1024, "VeraCrypt");
    EXPECT_EQ(ClassifyMasterBootCode(large), MasterBootCodeKind::Grub);
    // A marker ending at the code area's last byte still counts.
    Sector edge = EmptyMasterBootRecord();
    PutText(edge, 440 - 4, "GRUB");
    EXPECT_EQ(ClassifyMasterBootCode(edge), MasterBootCodeKind::Grub);
    EXPECT_EQ(ClassifyMasterBootCode(std::span(edge).first(439)), MasterBootCodeKind::Unknown);
}

TEST(MasterBootCode, AWindowsPrologueWithABrokenMessageTableIsNotWindows) {
    const auto withTable = [](std::uint8_t first, std::uint8_t second, std::uint8_t third) {
        Sector sector = TranslatedWindowsMasterBootRecord();
        sector[437] = first;
        sector[438] = second;
        sector[439] = third;
        return ClassifyMasterBootCode(sector);
    };
    EXPECT_EQ(withTable(0x50, 0x6D, 0x93), MasterBootCodeKind::Windows); // as written
    EXPECT_EQ(withTable(0x50, 0x6D, 0x94), MasterBootCodeKind::Unknown); // the third text doesn't start there
    EXPECT_EQ(withTable(0xB5, 0xB5, 0xB5), MasterBootCodeKind::Unknown); // the table itself: no text before it
    EXPECT_EQ(withTable(0xFF, 0xFF, 0xFF), MasterBootCodeKind::Unknown); // past the code area
    Sector unended = TranslatedWindowsMasterBootRecord();
    std::fill(unended.begin() + 0x150, unended.begin() + 437, 'x'); // no zero ends the texts
    EXPECT_EQ(ClassifyMasterBootCode(unended), MasterBootCodeKind::Unknown);
}

} // namespace
} // namespace orvanta
