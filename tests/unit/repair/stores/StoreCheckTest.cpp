#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "discovery/bytes/Guid.h"
#include "fakes/FakeBcdStores.h"
#include "repair/stores/StoreCheck.h"
#include "repair/stores/StoreComparison.h"

namespace orvanta {
namespace {

BcdStoreReading Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
    return ReadBcdStore(bytes);
}

const BcdStore WindowsStore = *Read(std::string(ORVANTA_TEST_DATA) + "/bcd-windows10-uefi").store;
const BcdStoreReading TwoLoaders = Read(std::string(ORVANTA_TEST_STORES) + "/uefi-two");

PartitionIdentity Gpt(const char* guid) {
    return {PartitionStyle::Gpt, *ParseGuidText(guid), 0, 0};
}

const PartitionIdentity CPartition = Gpt("{8e0f2c38-e4ea-47ba-b7fc-9d8c74dccf0b}");
const PartitionIdentity DPartition{PartitionStyle::Mbr, {}, 0x1234ABCD, 0x7E00000};

// The generated store: loaders for C: (GPT) and D: (MBR), D: the default, a
// Windows RE loader, a boot-sector entry "Ubuntu", all for UEFI.
TEST(StoreCheck, ASoundStorePassesAndEachMissingPieceIsNamed) {
    const StoreExpectation sound{StoreFirmware::Uefi, {{"C:\\Windows", CPartition}, {"D:\\Windows", DPartition}}};
    EXPECT_EQ(CheckStore(TwoLoaders, sound), StoreCheck{});

    // C:'s loader names another partition; C: was meant to be the default.
    const StoreExpectation moved{StoreFirmware::Uefi,
                                 {{"D:\\Windows", DPartition}, {"C:\\Windows", Gpt("{00000000-0000-0000-0000-0000000000c1}")}}};
    EXPECT_EQ(CheckStore(TwoLoaders, moved).findings,
              (std::vector<StoreFinding>{{StoreProblem::OtherDefault, "C:\\Windows", "Windows 10"},
                                         {StoreProblem::NoLoader, "C:\\Windows"}}));

    // Read by BIOS firmware, every loader starts the wrong program.
    const StoreCheck bios = CheckStore(TwoLoaders, {StoreFirmware::Bios, sound.installations});
    ASSERT_EQ(bios.findings.size(), 3U);
    EXPECT_EQ(bios.findings[2], (StoreFinding{.problem = StoreProblem::WrongProgram,
                                              .entry = "Windows Recovery Environment",
                                              .detail = "\\windows\\system32\\winload.efi"}));

    EXPECT_EQ(CheckStore({std::nullopt, StoreFault::Damaged}, sound).findings,
              std::vector<StoreFinding>{{StoreProblem::Unreadable}});

    // Every loader there, but the boot manager names no default: nothing starts by itself.
    const BcdStoreReading noDefault = BcdStoreOf(FakeBcdTree(true, {{"C:\\Windows", CPartition}}, -1));
    EXPECT_EQ(CheckStore(noDefault, {StoreFirmware::Uefi, {{"C:\\Windows", CPartition}}}).findings,
              (std::vector<StoreFinding>{{StoreProblem::NoDefault, "C:\\Windows"}}));
}

// Under Wine (or when a disk doesn't answer) partitions are unknown: the
// loaders are matched by their folder, each installation needing one of its own.
TEST(StoreCheck, UnknownPartitionsAreMatchedByFolderAndCounted) {
    StoreExpectation unknown{StoreFirmware::Uefi, {{"C:\\Windows", {}}, {"D:\\Windows", {}}}};
    StoreCheck check = CheckStore(TwoLoaders, unknown);
    EXPECT_TRUE(check.passed());
    EXPECT_TRUE(check.matchedByFolderOnly);

    unknown.installations.insert(unknown.installations.begin(), {"E:\\Windows", {}});
    check = CheckStore(TwoLoaders, unknown);
    EXPECT_EQ(check.findings, (std::vector<StoreFinding>{{.problem = StoreProblem::TooFewLoaders, .found = 2, .expected = 3}}));

    EXPECT_EQ(CheckStore(TwoLoaders, {StoreFirmware::Uefi, {{"D:\\Win10", {}}}}).findings,
              (std::vector<StoreFinding>{{StoreProblem::OtherDefault, "D:\\Win10", "Windows 10"},
                                         {.problem = StoreProblem::TooFewLoaders, .found = 0, .expected = 1}}));
}

// The store with native VHD boot entries: D:\\Windows in \\TEST.VHD found by
// searching, E:\\Win10 (the default) in \\VMs\\win10.vhdx on an MBR partition.
TEST(StoreCheck, AnInstallationInAVirtualDiskHasTheLoaderOfThatFile) {
    const BcdStoreReading store = Read(std::string(ORVANTA_TEST_STORES) + "/real-devices");
    const PartitionIdentity host{PartitionStyle::Mbr, {}, 0x1234ABCD, 0x7E00000};
    const PartitionIdentity insideVhd = Gpt("{00000000-0000-0000-0000-00000000e0e0}");
    const VirtualDiskFile testVhd{std::nullopt, "\\TEST.VHD"};
    const std::vector<StoreFinding> eWithout{{StoreProblem::OtherDefault, "E:\\Win10", "Windows 10 VHD"},
                                             {StoreProblem::NoLoader, "E:\\Win10"}};
    struct Case {
        const char* what;
        CheckedInstallation d;
        CheckedInstallation e;
        std::vector<StoreFinding> findings;
        std::vector<std::string> unmatched;
    };
    const Case cases[] = {
        {"both files", {"D:\\Windows", std::nullopt, testVhd}, {"E:\\Win10", insideVhd, VirtualDiskFile{host, "\\VMs\\win10.vhdx"}}, {}, {}},
        {"names in another case", {"D:\\Windows", std::nullopt, testVhd},
         {"E:\\Win10", insideVhd, VirtualDiskFile{host, "\\vms\\WIN10.VHDX"}}, {}, {}},
        {"another file", {"D:\\Windows", std::nullopt, testVhd},
         {"E:\\Win10", insideVhd, VirtualDiskFile{host, "\\VMs\\other.vhdx"}}, eWithout, {}},
        {"on another partition", {"D:\\Windows", std::nullopt, testVhd},
         {"E:\\Win10", insideVhd, VirtualDiskFile{PartitionIdentity{PartitionStyle::Mbr, {}, 0x1234ABCD, 0x100000}, "\\VMs\\win10.vhdx"}},
         eWithout, {}},
        {"the host partition is no virtual disk", {"D:\\Windows", std::nullopt, testVhd}, {"E:\\Win10", host}, eWithout, {}},
        {"files not found", {"D:\\Windows", std::nullopt, VirtualDiskFile{}}, {"E:\\Win10", insideVhd, VirtualDiskFile{host, ""}},
         {}, {"D:\\Windows", "E:\\Win10"}},
        {"a file not found, no loader by its folder", {"D:\\Win7", std::nullopt, VirtualDiskFile{}},
         {"E:\\Win10", insideVhd, VirtualDiskFile{host, "\\VMs\\win10.vhdx"}}, {}, {"D:\\Win7"}},
    };
    for (const Case& c : cases) {
        const StoreCheck check = CheckStore(store, {StoreFirmware::Uefi, {{"C:\\Windows", CPartition}, c.d, c.e}});
        EXPECT_EQ(check.findings, c.findings) << c.what;
        EXPECT_EQ(check.unmatchedVirtualDisks, c.unmatched) << c.what;
        EXPECT_FALSE(check.matchedByFolderOnly) << c.what;
    }
}

TEST(StoreCheck, WhatTheRebuildDropsIsNamedButNeverTheFirmwaresEntries) {
    // The new store as a rebuild writes it: the old one's Windows entries,
    // without Windows RE and without the firmware's objects; the loader's
    // description is bcdboot's own.
    BcdStore rebuilt;
    for (const BcdObject& object : WindowsStore.objects) {
        if (object.description == "Windows Recovery Environment" || IsFirmwareObject(object)) continue;
        rebuilt.objects.push_back(object);
        if (object.type == WindowsLoaderType) rebuilt.objects.back().description = "Windows 10 专业版";
    }
    const std::vector<DroppedEntry> dropped = DroppedEntries(WindowsStore, rebuilt);
    ASSERT_EQ(dropped.size(), 2U);
    EXPECT_EQ(dropped[0].entry.description, "Windows 10");
    EXPECT_TRUE(dropped[0].descriptionOnly);
    EXPECT_EQ(dropped[1].entry.description, "Windows Recovery Environment");
    EXPECT_FALSE(dropped[1].descriptionOnly);
    EXPECT_EQ(DroppedEntries(WindowsStore, WindowsStore), std::vector<DroppedEntry>{});
}

TEST(StoreCheck, EntriesOnAPartitionNoDiskHasAreMarked) {
    const BcdObject& loader = *WindowsStore.find("{733b62e5-f608-11eb-825c-c112f60133ab}");
    const BcdObject& recovery = *WindowsStore.find("{733b62e6-f608-11eb-825c-c112f60133ab}");
    PartitionRecord windows{.number = 3, .style = PartitionStyle::Gpt, .gptId = CPartition.gptId};
    const std::vector<Disk> disks{{0, 11, {PartitionStyle::Gpt, 0, {}, {windows}}}};
    EXPECT_FALSE(LiesOnMissingPartition(loader, disks));
    EXPECT_TRUE(LiesOnMissingPartition(recovery, disks)); // Winre.wim's partition is gone
    EXPECT_FALSE(LiesOnMissingPartition(recovery, {}));   // no disk answered: nothing can be told
    // An MBR disk: by its signature and the partition's offset.
    const BcdObject& onMbr = *TwoLoaders.store->find("{00000101-0000-4000-8000-00000000c0de}");
    const PartitionRecord record{.number = 2, .offset = 0x7E00000, .style = PartitionStyle::Mbr};
    EXPECT_FALSE(LiesOnMissingPartition(onMbr, {{1, 11, {PartitionStyle::Mbr, 0x1234ABCD, {}, {record}}}}));
    EXPECT_TRUE(LiesOnMissingPartition(onMbr, {{1, 11, {PartitionStyle::Mbr, 0x1234ABCE, {}, {record}}}}));
}

} // namespace
} // namespace orvanta
