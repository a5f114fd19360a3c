#include <gtest/gtest.h>

#include <set>

#include "app/session/PlatformServices.h"
#include "discovery/disks/DeviceQueries.h"
#include "discovery/survey/DiskScan.h"
#include "discovery/survey/MachineSurvey.h"
#include "fakes/BootSectors.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;
constexpr std::uint64_t MiB = 1024 * 1024;

// An MBR disk with one primary partition and `logical` logical drives, as the
// layout query reports it: four slots for the table in sector 0 (the primary,
// the extended partition, two unused), then four for each logical drive's
// record (the drive, the link to the next record, two unused).
std::vector<FakePartition> LogicalDrives(std::uint32_t logical) {
    const FakePartition unused{0, false, 0, 0};
    std::vector<FakePartition> slots{{1, false, MiB, MiB, true}, {0, false, 2 * MiB, logical * MiB, false, 0x05}, unused, unused};
    for (std::uint32_t index = 1; index <= logical; ++index) {
        slots.push_back({1 + index, false, (1 + index) * MiB, MiB});
        slots.push_back({0, false, (2 + index) * MiB, MiB, false, 0x05}); // the next drive's record
        slots.insert(slots.end(), {unused, unused});
    }
    return slots;
}

std::vector<FakePartition> GptPartitions(std::uint32_t count) {
    std::vector<FakePartition> partitions;
    for (std::uint32_t number = 1; number <= count; ++number) partitions.push_back({number, false, number * MiB, MiB});
    return partitions;
}

std::size_t LayoutBytes(std::size_t entries) {
    return LayoutEntriesOffset + entries * PartitionEntrySize;
}

TEST(DiskLayout, TheBufferDoublesUntilTheWholeTableFitsAndStopsAtItsLimit) {
    FakeMachine m;
    m.devices.addDisk(0, {MbrLayout(LogicalDrives(40))});             // 164 slots: ERROR_INSUFFICIENT_BUFFER
    m.devices.addDisk(1, {.layout = GptLayout(GptPartitions(200)), .layoutAnswersMoreData = true}); // ERROR_MORE_DATA
    m.devices.addDisk(2, {GptLayout(GptPartitions(7300))});           // more than 1 MiB
    ASSERT_GT(LayoutBytes(164), DriveLayoutBufferSize);
    ASSERT_GT(LayoutBytes(7300), DriveLayoutBufferLimit);
    const std::vector<Disk> disks = m.survey().disks;
    ASSERT_EQ(disks.size(), 2U); // the third one is left out
    ASSERT_EQ(disks[0].layout.partitions.size(), 41U);
    EXPECT_EQ(disks[0].layout.partitions.back().number, 41U);
    EXPECT_EQ(disks[0].layout.partitions.back().offset, 41 * MiB);
    ASSERT_EQ(disks[1].layout.partitions.size(), 200U);
    EXPECT_EQ(disks[1].layout.partitions.back().gptId, FakeGptPartitionId(200));
    const auto asked = [&](int disk) {
        Lines sizes;
        for (const std::string& line : m.journal.only({"control \\\\.\\PhysicalDrive" + std::to_string(disk) + " 0x70050"})) {
            sizes.push_back(line.substr(line.rfind(' ') + 1));
        }
        return sizes;
    };
    EXPECT_EQ(asked(0), (Lines{"18480", "36960"}));
    EXPECT_EQ(asked(1), (Lines{"18480", "36960"}));
    EXPECT_EQ(asked(2), (Lines{"18480", "36960", "73920", "147840", "295680", "591360", "1048576"}));
}

// Disk 0: 4Kn, GPT, BitLocker on its second partition. Disk 1: 512-byte
// sectors, MBR with Windows' code, NTFS. Disk 2 doesn't tell its geometry;
// disk 3's reads fail.
struct DiskSectors : ::testing::Test {
    DiskSectors() {
        m.devices.addDisk(0, {.layout = GptLayout({{1, true, MiB}, {2, false, 101 * MiB}}), .sectorSize = 4096,
                              .contents = {{101 * MiB, BitLockerBootSector()}}});
        m.devices.addDisk(1, {.layout = MbrLayout({{1, false, MiB, 100 * MiB, true}}),
                              .contents = {{0, WindowsMasterBootRecord()}, {MiB, NtfsBootSector()}}});
        m.devices.addDisk(2, {.layout = MbrLayout({{1, false, MiB}}), .sectorSize = 0});
        m.devices.addDisk(3, {.layout = GptLayout({{1, false, MiB}}), .readError = 23});
        const std::pair<char, VolumeLocation> volumes[] = {{'C', {0, 2}}, {'D', {1, 1}}, {'E', {2, 1}}, {'F', {3, 1}},
                                                           {'G', {1, 7}}};
        for (const auto& [letter, location] : volumes) {
            m.addFixedDrive(letter, false);
            m.devices.set(std::string{letter, ':'}, {.location = location});
        }
        m.drives.add('R', DriveKind::Removable);
        m.devices.set("R:", {.location = VolumeLocation{1, 1}});
    }
    FakeMachine m;
};

TEST_F(DiskSectors, EachVolumeIsReadThroughItsDiskInWholeSectorsOfThatDisk) {
    const MachineSurvey survey = m.survey();
    ASSERT_EQ(survey.disks.size(), 4U);
    EXPECT_EQ(survey.disks[0].sectorSize, 4096U);
    EXPECT_EQ(survey.disks[1].sectorSize, 512U);
    EXPECT_EQ(survey.disks[2].sectorSize, 0U);
    EXPECT_EQ(survey.disks[0].masterBootCode, std::nullopt); // GPT: not read
    EXPECT_EQ(survey.disks[1].masterBootCode, MasterBootCodeKind::Windows);
    EXPECT_EQ(survey.disks[2].masterBootCode, std::nullopt); // no sector size: not read
    const auto kindOf = [&](const std::string& name) {
        for (const ScannedDrive& drive : survey.scan.drives) {
            if (drive.name == name) return drive.bootSector;
        }
        return std::optional<BootSectorKind>(BootSectorKind::Other);
    };
    EXPECT_EQ(kindOf("C:"), BootSectorKind::BitLocker);
    EXPECT_EQ(kindOf("D:"), BootSectorKind::Ntfs);
    EXPECT_EQ(kindOf("E:"), std::nullopt); // its disk's sector size is unknown
    EXPECT_EQ(kindOf("F:"), std::nullopt); // the read failed
    EXPECT_EQ(kindOf("G:"), std::nullopt); // no such partition on its disk
    EXPECT_EQ(kindOf("R:"), std::nullopt); // removable drives are not read
    // Each disk reads its MBR and its partitions' first sectors, whichever
    // volumes lie on them, in whole sectors of that disk.
    EXPECT_EQ(m.journal.only({"read"}),
              (Lines{"read \\\\.\\PhysicalDrive0 at 1048576 length 4096", "read \\\\.\\PhysicalDrive0 at 105906176 length 4096",
                     "read \\\\.\\PhysicalDrive1 at 0 length 512", "read \\\\.\\PhysicalDrive1 at 1048576 length 512",
                     "read \\\\.\\PhysicalDrive3 at 1048576 length 512"}));
}

TEST(ReadSector, NeverReadsOffTheDisksSectorBoundary) {
    FakeMachine m;
    m.devices.addDisk(0, {.layout = GptLayout({{1, false, MiB + 512}}), .sectorSize = 4096});
    const OpenDevice disk(m.devices, DiskPath(0));
    EXPECT_EQ(ReadSector(m.devices, disk.get(), MiB + 512, 4096), std::nullopt);
    EXPECT_EQ(ReadSector(m.devices, disk.get(), MiB, 0), std::nullopt);
    EXPECT_EQ(m.journal.count("read"), 0U);
    const auto sector = ReadSector(m.devices, disk.get(), MiB, 4096);
    ASSERT_TRUE(sector.has_value());
    EXPECT_EQ(sector->size(), 4096U);
}

TEST(OnLoad, EachDiskAndEachVolumeIsReadOnceAtStartAndOnceAtEachRescan) {
    FakeMachine m;
    m.devices.addDisk(0, {.layout = MbrLayout(LogicalDrives(40)), .contents = {{0, GrubMasterBootRecord()}}});
    m.devices.addDisk(1, {.layout = GptLayout({{1, true}, {3, false, 300 * MiB}}), .sectorSize = 4096});
    m.devices.addDisk(2, {}); // opens, but gives no layout
    const std::pair<char, std::optional<VolumeLocation>> volumes[] = {
        {'C', VolumeLocation{0, 1}}, {'D', VolumeLocation{0, 41}}, {'E', VolumeLocation{1, 3}},
        {'G', VolumeLocation{2, 1}}, {'H', std::nullopt}};
    for (const auto& [letter, location] : volumes) {
        m.addFixedDrive(letter);
        m.devices.set(std::string{letter, ':'}, {.location = location});
    }
    m.drives.add('F', DriveKind::Removable);
    m.start();
    // The rescan before a repair (refused here: no tools) reads the same, once more.
    for (const bool rescan : {false, true}) {
        if (rescan) {
            m.journal.clear();
            m.controller.onRepairClicked();
        }
        EXPECT_EQ(m.journal.count(" 0x70050 "), 4U); // one layout query per disk, and disk 0's second, larger one
        EXPECT_EQ(m.journal.count(" 0x700A0 "), 2U); // one geometry query per disk that gave its layout
        // Disk 0: its MBR and its 41 partitions' first sectors; disk 1: its two partitions'.
        const Lines reads = m.journal.only({"read"});
        EXPECT_EQ(std::set<std::string>(reads.begin(), reads.end()).size(), reads.size());
        EXPECT_EQ(m.journal.count("read \\\\.\\PhysicalDrive0 "), 42U);
        EXPECT_EQ(m.journal.count("read \\\\.\\PhysicalDrive1 "), 2U);
        EXPECT_EQ(m.journal.count("read \\\\.\\PhysicalDrive0 at 42991616 length 512"), 1U);
        EXPECT_EQ(m.journal.count("read \\\\.\\PhysicalDrive1 at 314572800 length 4096"), 1U);
        EXPECT_EQ(m.journal.count("open \\\\.\\PhysicalDrive"), DisksToExamine); // each disk once
    }
}

} // namespace
} // namespace orvanta
