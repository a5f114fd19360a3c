#include <gtest/gtest.h>

#include "discovery/disks/DiskRecords.h"
#include "discovery/survey/DiskScan.h"
#include "discovery/volumes/SystemPartition.h"
#include "app/texts/LogLines.h"
#include "app/session/PlatformServices.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

TEST(DriveLayout, StyleIdentityAndEachPartitionAreToldFromTheBytesOfGptAndMbrLayouts) {
    const DiskLayout gpt = ParseDriveLayout(GptLayout({{1, true, 1048576, 104857600}, {2, false}, {3, false, 5 << 20}}));
    EXPECT_EQ(gpt.style, PartitionStyle::Gpt);
    EXPECT_EQ(gpt.gptDiskId[0], 0xD1);
    ASSERT_EQ(gpt.partitions.size(), 3U);
    EXPECT_TRUE(gpt.partitions[0].systemPartition);
    EXPECT_FALSE(gpt.partitions[1].systemPartition);
    EXPECT_EQ(gpt.partitions[2].offset, 5U << 20);
    EXPECT_EQ(gpt.partitions[2].gptId, FakeGptPartitionId(3));
    // MBR: unused slots (number 0) are left out; type 0xEF is the ESP.
    const DiskLayout mbr = ParseDriveLayout(MbrLayout({{1, false, 1048576, 1, true}, {2, true}, {0, false}, {0, false}}));
    EXPECT_EQ(mbr.style, PartitionStyle::Mbr);
    EXPECT_EQ(mbr.mbrSignature, FakeMbrSignature);
    ASSERT_EQ(mbr.partitions.size(), 2U);
    EXPECT_TRUE(mbr.partitions[0].active);
    EXPECT_EQ(mbr.partitions[0].mbrType, 0x07);
    EXPECT_FALSE(mbr.partitions[1].active);
    EXPECT_TRUE(mbr.partitions[1].systemPartition);
    EXPECT_EQ(mbr.partitions[1].number, 2U);
    // A volume's own answer is one entry of the same shape.
    const std::vector<std::uint8_t> layout = GptLayout({{4, false, 7 << 20}});
    const auto volume = ParsePartitionInformation(std::span(layout).subspan(LayoutEntriesOffset));
    ASSERT_TRUE(volume.has_value());
    EXPECT_EQ(volume->gptId, FakeGptPartitionId(4));
    EXPECT_FALSE(ParsePartitionInformation(std::span(layout).subspan(LayoutEntriesOffset + 1)).has_value());
}

TEST(PartitionIdentity, GptPartitionsByTheirGuidMbrPartitionsByDiskSignatureAndOffset) {
    const std::vector<Disk> disks{{0, 11, ParseDriveLayout(GptLayout({{1, true}, {2, false}}))},
                                  {2, 11, ParseDriveLayout(MbrLayout({{1, false, 1048576, 1, true}, {2, false, 9 << 20}}))}};
    EXPECT_EQ(IdentityOf(disks, 0, 2), (PartitionIdentity{PartitionStyle::Gpt, FakeGptPartitionId(2), 0, 0}));
    EXPECT_EQ(IdentityOf(disks, 2, 2), (PartitionIdentity{PartitionStyle::Mbr, {}, FakeMbrSignature, 9U << 20}));
    EXPECT_EQ(IdentityOf(disks, 1, 1), std::nullopt); // a disk that gave no layout
    EXPECT_EQ(IdentityOf(disks, 0, 5), std::nullopt);
}

TEST(DriveLayout, AnAnswerShorterThanItsCountGivesOnlyTheEntriesItHolds) {
    std::vector<std::uint8_t> bytes = GptLayout({{1, true}, {2, false}});
    bytes.resize(48 + 144 + 100); // the second entry cut short
    EXPECT_EQ(ParseDriveLayout(bytes).partitions.size(), 1U);
    bytes.resize(20);
    EXPECT_EQ(ParseDriveLayout(bytes), DiskLayout{});
}

struct SystemPartitions : ::testing::Test {
    FakeMachine m;
};

TEST_F(SystemPartitions, EveryDiskThatAnswersIsAskedAndItsLettersAreKnown) {
    m.firmware.type = 2;
    m.devices.addDisk(0, {GptLayout({{1, true}, {2, false}})});
    m.devices.addDisk(1, {});                                    // opens, but gives no layout (Wine: error 50)
    m.devices.addDisk(3, {MbrLayout({{1, true}}), 7});           // on USB, after a gap in the numbers
    m.devices.addDisk(4, {GptLayout({{1, false}, {2, false}})}); // no ESP
    // The letters come from where the located drives lie.
    m.drives.add('S', DriveKind::Fixed);
    m.drives.add('T', DriveKind::Optical);
    m.devices.set("S:", {.location = VolumeLocation{3, 1}});
    const MachineSurvey survey = m.survey();
    const std::uint64_t size = FakePartition{}.length;
    EXPECT_EQ(survey.systemPartitions, (std::vector<SystemPartition>{{0, 1, 11, "", size}, {3, 1, 7, "S:", size}}));
    EXPECT_EQ(m.journal.count("open \\\\.\\PhysicalDrive"), DisksToExamine);
    EXPECT_EQ(m.journal.count("close \\\\.\\PhysicalDrive"), 4U);
    EXPECT_EQ(m.journal.count("\\\\.\\T:"), 0U); // only fixed drives are asked
}

TEST_F(SystemPartitions, TheDefaultInstallationsDiskComesFirstThenAnyDiskNotOnUsb) {
    const SystemPartition internal{0, 1, 11, ""}, usb{1, 2, 7, ""}, second{2, 1, 17, ""};
    EXPECT_EQ(ChooseSystemPartition({internal, usb, second}, 2U), second);
    EXPECT_EQ(ChooseSystemPartition({internal, usb, second}, 1U), usb);
    EXPECT_EQ(ChooseSystemPartition({usb, second}, std::nullopt), second);
    EXPECT_EQ(ChooseSystemPartition({usb}, 0U), std::nullopt); // the technician's own stick
    EXPECT_EQ(ChooseSystemPartition({}, 0U), std::nullopt);
}

// Several ESPs: the log and /list name each, the one chosen and why; each
// disk with its partition style (and on MBR its active partition).
TEST_F(SystemPartitions, TheLogListsEveryEspAndWhichWasChosenAndWhy) {
    constexpr std::uint64_t MiB = 1024 * 1024;
    m.firmware.type = 2;
    m.addFixedDrive('C');
    m.devices.set("C:", {.location = VolumeLocation{1, 2}});
    m.devices.addDisk(0, {GptLayout({{1, true, MiB, 260 * MiB}}), 17});
    m.devices.addDisk(1, {MbrLayout({{1, true, MiB, 100 * MiB}, {2, false, 101 * MiB, 900 * MiB, true}})});
    m.devices.addDisk(2, {GptLayout({{1, true}}), 7});
    const MachineSurvey survey = m.survey();
    const LogLines lines = SurveyLines(survey, "Z:", true);
    const Lines expected{"EFI 系统分区：磁盘 1 分区 1，盘符 Z:（本程序临时分配，退出时收回）",
                         "  找到 3 个 EFI 系统分区，选用磁盘 1 分区 1：它在第一个找到的系统所在的磁盘上",
                         "  磁盘 0 分区 1，260.0 MB，总线 NVMe，没有盘符",
                         "  磁盘 1 分区 1，100.0 MB，总线 SATA，盘符 Z:",
                         "  磁盘 2 分区 1，100.0 MB，总线 USB，没有盘符",
                         "磁盘：",
                         "  磁盘 0：GPT，总线 NVMe，扇区 512 字节",
                         "  磁盘 1：MBR，总线 SATA，扇区 512 字节，活动分区：分区 2，主引导记录：空的（没有引导代码）",
                         "  磁盘 2：GPT，总线 USB，扇区 512 字节"};
    const auto first = std::find(lines.begin(), lines.end(), expected.front());
    ASSERT_NE(first, lines.end());
    EXPECT_EQ(Lines(first, first + static_cast<std::ptrdiff_t>(std::min(expected.size(), static_cast<std::size_t>(lines.end() - first)))),
              expected);
}

TEST(FreeDriveName, TakesTheHighestFreeLetterButNeverX) {
    std::vector<ScannedDrive> drives{{.name = "C:"}, {.name = "Z:"}, {.name = "Y:"}};
    EXPECT_EQ(FreeDriveName(drives), "W:");
    drives.push_back({.name = "W:"});
    EXPECT_EQ(FreeDriveName(drives), "V:"); // X: stands between W: and Y:, never taken
    drives.clear();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (letter != 'X') drives.push_back({.name = std::string{letter, ':'}});
    }
    EXPECT_EQ(FreeDriveName(drives), "");
}

// The PC of a technician: Windows on C: (disk 0), its ESP without a letter.
struct EspOnLoad : ::testing::Test {
    EspOnLoad() {
        m.addFixedDrive('C');
        m.devices.set("C:", {.location = VolumeLocation{0, 3}});
        m.devices.addDisk(0, {GptLayout({{1, false}, {2, true}, {3, false}})});
    }
    FakeMachine m;
};

TEST_F(EspOnLoad, OnUefiTheEspGetsAFreeLetterAndBecomesTheBootPartition) {
    m.firmware.type = 2;
    m.start();
    EXPECT_EQ(m.journal.only({"map", "text", "caption firmwareLine"}),
              (Lines{"map Z: \\Device\\Harddisk0\\Partition2", "caption firmwareLine 固件：UEFI，EFI 系统分区：Z:",
                     "text bootPartitionBox Z:"}));
    const MachineSurvey survey = m.survey();
    EXPECT_EQ(InstallationIdentity(survey, "C:\\Windows"),
              (PartitionIdentity{PartitionStyle::Gpt, FakeGptPartitionId(3), 0, 0}));
    m.controller.onSessionEnding(); // the session ends: the letter goes at once, and only once
    m.controller.releaseBeforeExit();
    EXPECT_EQ(m.journal.only({"unmap"}), Lines{"unmap Z: \\Device\\Harddisk0\\Partition2"});
}

TEST(SystemPartitionLetter, ALetterItGaveIsTakenAwayWhenItsOwnerGoes) {
    FakeMachine m;
    m.drives.add('Z', DriveKind::Network);
    const std::vector<ScannedDrive> drives{{.name = "C:"}, {.name = "Z:"}};
    {
        const SystemPartitionLetter letter(m.drives, {0, 2, 11, ""}, drives);
        EXPECT_EQ(letter.driveName(), "Y:");
        EXPECT_TRUE(m.drives.has('Y'));
    }
    EXPECT_FALSE(m.drives.has('Y'));
    {
        const SystemPartitionLetter given(m.drives, {0, 2, 11, "S:"}, drives);
        EXPECT_EQ(given.driveName(), "S:");
    }
    // Another Orvanta gave it Z: for its session: that letter goes when it ends.
    m.drives.devices["Z:"] = "\\Device\\Harddisk0\\Partition2";
    {
        const SystemPartitionLetter own(m.drives, {0, 2, 11, "Z:"}, drives);
        EXPECT_EQ(own.driveName(), "Y:");
    }
    EXPECT_EQ(m.journal.only({"map", "unmap"}),
              (Lines{"map Y: \\Device\\Harddisk0\\Partition2", "unmap Y: \\Device\\Harddisk0\\Partition2",
                     "map Y: \\Device\\Harddisk0\\Partition2", "unmap Y: \\Device\\Harddisk0\\Partition2"}));
}

TEST_F(EspOnLoad, AnEspWithALetterIsUsedAsItIsAndBiosNeedsNone) {
    m.drives.add('S', DriveKind::Fixed);
    m.devices.set("S:", {.location = VolumeLocation{0, 2}});
    m.firmware.type = 2;
    m.start();
    EXPECT_EQ(m.bootPartitionBox.value, "S:");
    EXPECT_EQ(m.journal.count("map"), 0U);

    FakeMachine bios;
    bios.addFixedDrive('C');
    bios.devices.addDisk(0, {GptLayout({{1, true}})});
    bios.firmware.type = 1;
    bios.start();
    EXPECT_EQ(bios.bootPartitionBox.value, "C:");
    EXPECT_EQ(bios.journal.count("map"), 0U);
    EXPECT_EQ(bios.firmwareLine.label, "固件：BIOS（传统）");
}

TEST_F(EspOnLoad, OnUnknownFirmwareTheEspGetsALetterButTheBoxKeepsC) {
    m.firmware.variableError = 1314; // the privilege is missing: can't tell
    m.start();
    EXPECT_EQ(m.bootPartitionBox.value, "C:");
    EXPECT_EQ(m.firmwareLine.label, "固件：未知，EFI 系统分区：Z:");
}

} // namespace
} // namespace orvanta
