#include <gtest/gtest.h>

#include "discovery/disks/DeviceQueries.h"
#include "discovery/survey/DiskScan.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const Lines Lock{"caption repairButton 正在修复", "enable repairButton 0",   "enable browseButton 0",
                 "enable bootPartitionBox 0",    "enable installationList 0", "version",
                 "call 0x5000 slot 10 (4660, 1)", "block shutdown 正在修复系统引导：请等修复完成后再注销或关机。"};
const Lines Unlock{"version",
                   "call 0x5000 slot 10 (4660, 0)",
                   "caption repairButton 开始修复",
                   "enable repairButton 1",
                   "enable browseButton 1",
                   "enable bootPartitionBox 1",
                   "enable installationList 1"};

Lines Join(std::initializer_list<Lines> parts) {
    Lines joined;
    for (const Lines& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// The rescan (each drive on its worker: bus, place, Windows folder; then every
// disk asked for its layout, none answers here) while the status line says so
// and the buttons wait, then the list refilled with what it found.
Lines ScanOfCde() {
    Lines lines{"caption statusLine 正在查找系统……", "enable repairButton 0", "enable browseButton 0", "drive strings 64"};
    for (const char* drive : {"C:", "D:", "E:"}) {
        const std::string device = std::string("\\\\.\\") + drive;
        lines.insert(lines.end(), {"open " + device, "control " + device + " 0x2D1400 in 12 out 40", "close " + device,
                                   "open " + device, "control " + device + " 0x2D1080 in 0 out 12", "close " + device,
                                   std::string("query ") + drive + "\\Windows mask 16"});
    }
    for (std::uint32_t disk = 0; disk < DisksToExamine; ++disk) lines.push_back("open " + DiskPath(disk));
    lines.insert(lines.end(), {"caption statusLine 当前电脑硬盘里共发现3个系统！", "enable repairButton 1",
                               "enable browseButton 1", "clear installationList"});
    for (const char* drive : {"C:", "D:", "E:"}) lines.push_back(std::string("add installationList ") + drive + "\\Windows");
    return lines;
}

// The folders whose files bcdboot copies, as the room check lists them.
Lines BootFoldersOf(const std::string& drive) {
    Lines lines;
    for (const char* folder : {"PCAT", "EFI", "Fonts", "Resources"}) lines.push_back("list " + drive + "\\Windows\\Boot\\" + folder);
    return lines;
}

struct RepairRun : ::testing::Test {
    void click() {
        m.journal.clear();
        m.controller.onRepairClicked();
    }
    FakeMachine m;
};

TEST_F(RepairRun, WorkedExampleDoesEveryStepInOrder) {
    m.addThreeInstallations();
    m.start();
    m.installationList.select(1); // D:\Windows
    m.makeDefaultCheckBox.value = true;
    click();
    const Lines expected = Join({
        ScanOfCde(),
        {"select installationList 1", "attributes F:\\Kit\\Bin\\bcdboot.exe", "attributes F:\\Kit\\bin\\bootsect.exe",
         "file system C:",
         // The room on the boot partition, from each installation's boot folders (none here), in the run's
         // order, and the old stores, each kept while a new one is written.
         "free space C:", "cluster size C:"},
        BootFoldersOf("E:"), BootFoldersOf("C:"), BootFoldersOf("D:"),
        {"list C:\\Boot", "list C:\\EFI\\Microsoft\\Boot"},
        Lock,
        // Both stores are read first: one held open must be settled before anything moves.
        {"read C:\\boot\\bcd", "read C:\\EFI\\Microsoft\\Boot\\bcd",
         "attributes C:\\boot\\bcd", "attributes C:\\boot\\bcd.orvanta-old",
         "move C:\\boot\\bcd -> C:\\boot\\bcd.orvanta-old", "attributes C:\\boot\\bcd.LOG",
         "attributes C:\\boot\\bcd.LOG1", "attributes C:\\boot\\bcd.LOG2",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd", "attributes C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old",
         "move C:\\EFI\\Microsoft\\Boot\\bcd -> C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd.LOG", "attributes C:\\EFI\\Microsoft\\Boot\\bcd.LOG1",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd.LOG2",
         "run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f bios /l zh-cn",
         "run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f uefi /l zh-cn",
         "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn",
         "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f uefi /l zh-cn",
         "run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn",
         "run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn",
         "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr",
         // Each store is read and judged, its old one kept under the next number in its folder (then
         // the folder is listed again for the copies it no longer keeps), before the first message.
         "attributes C:\\boot\\bcd", "read C:\\boot\\bcd", "list C:\\boot",
         "attributes C:\\boot\\bcd.orvanta-0001-20261207-153000",
         "move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd.orvanta-0001-20261207-153000",
         "attributes C:\\boot\\bcd.orvanta-old.LOG", "attributes C:\\boot\\bcd.orvanta-old.LOG1",
         "attributes C:\\boot\\bcd.orvanta-old.LOG2", "list C:\\boot",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd", "read C:\\EFI\\Microsoft\\Boot\\bcd",
         "list C:\\EFI\\Microsoft\\Boot", "attributes C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000",
         "move C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old -> C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old.LOG",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old.LOG1",
         "attributes C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old.LOG2", "list C:\\EFI\\Microsoft\\Boot",
         "allow shutdown", // the result boxes don't keep the session from ending
         "message 提示： 64 BIOS引导修复成功！", "message 提示： 64 UEFI引导修复成功！" + KeptOnCOfRepair + LogNoteOfRepair},
        Unlock,
    });
    EXPECT_EQ(m.journal.lines(), expected);
    EXPECT_TRUE(IsHive(m.files.contentOf("C:\\boot\\bcd")));
    EXPECT_FALSE(m.files.isFile("C:\\boot\\bcd.orvanta-old"));
    EXPECT_TRUE(m.files.isFile("C:\\boot\\bcd.orvanta-0001-20261207-153000"));
    EXPECT_EQ(m.statusLine.label, "当前电脑硬盘里共发现3个系统！");
}

TEST_F(RepairRun, UncheckedOrNothingSelectedMakesEntryZeroTheDefault) {
    m.addThreeInstallations();
    m.start();
    m.installationList.select(1);
    m.makeDefaultCheckBox.value = false;
    click();
    const Lines order{"E:", "E:", "D:", "D:", "C:", "C:"};
    Lines installations;
    for (const std::string& run : m.runs()) {
        if (run.find("bcdboot") != std::string::npos) installations.push_back(run.substr(27, 2));
    }
    EXPECT_EQ(installations, order);

    m.installationList.selected = -1; // checked, but no saved selection
    m.makeDefaultCheckBox.value = true;
    click();
    EXPECT_EQ(m.runs()[4], "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn");
}

TEST_F(RepairRun, EachInstallationRunsTwiceThenTheBootCode) {
    for (const int count : {1, 4}) {
        FakeMachine pc;
        pc.addTools();
        for (int index = 0; index < count; ++index) pc.addFixedDrive(static_cast<char>('C' + index));
        pc.start();
        pc.journal.clear();
        pc.controller.onRepairClicked();
        const Lines runs = pc.runs();
        ASSERT_EQ(runs.size(), static_cast<std::size_t>(2 * count + 1));
        EXPECT_EQ(runs[runs.size() - 3], "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn");
        EXPECT_EQ(runs.back(), "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr");
    }
}

TEST_F(RepairRun, NothingListedOnRescanShowsOnlyTheMessages) {
    m.addThreeInstallations();
    m.start();
    for (const char* folder : {"C:\\Windows", "D:\\Windows", "E:\\Windows"}) m.files.erase(folder);
    click();
    EXPECT_EQ(m.journal.only({"message", "caption repairButton", "enable bootPartitionBox", "attributes", "run", "call", "move"}),
              Lines{"message 提示： 64 当前电脑硬盘里未发现操作系统！无法进行此操作！"});

    FakeMachine empty; // no fixed drive at all: the scan's own message comes first
    empty.controller.onRepairClicked();
    EXPECT_EQ(empty.journal.only({"message"}), (Lines{"message Error! 64 未发现任何磁盘或光驱",
                                                      "message 提示： 64 当前电脑硬盘里未发现操作系统！无法进行此操作！"}));
}

// The boot tool writes its stores hidden and system; a store is a store
// whatever its attributes.
TEST_F(RepairRun, StoresAreFoundWhateverTheirAttributes) {
    m.addThreeInstallations();
    const FakeAttributes asTheToolWritesIt{.hidden = true, .system = true, .readOnly = true};
    m.files.addFile("C:\\Boot\\BCD", asTheToolWritesIt);
    m.processes.behave("C: /f bios /l zh-cn", {.writesStore = false});
    m.start();
    click();
    EXPECT_EQ(m.journal.only({"move C:\\boot"}), (Lines{"move C:\\boot\\bcd -> C:\\boot\\bcd.orvanta-old",
                                                      "move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd"}));
    EXPECT_EQ(m.files.attributesOf("C:\\Boot\\BCD"), asTheToolWritesIt); // put back as it was
    EXPECT_EQ(m.journal.only({"message"}),
              Lines{"message 提示： 64 UEFI引导修复成功！\r\n\r\n旧 BCD 存储保留在：C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000\r\n" +
                    GoBackLine +
                    LogNoteOfRepair});

    // A new store the tools leave hidden counts as re-created.
    FakeMachine pc;
    pc.addThreeInstallations();
    pc.processes.whileRunning("bootsect", [&pc] {
        pc.files.addFile("C:\\Boot\\BCD", {.hidden = true}, pc.files.contentOf("C:\\Boot\\BCD"));
    });
    pc.start();
    pc.controller.onRepairClicked();
    EXPECT_EQ(pc.journal.only({"message"}),
              (Lines{"message 提示： 64 BIOS引导修复成功！", "message 提示： 64 UEFI引导修复成功！" + KeptOnCOfRepair + LogNoteOfRepair}));

    m.processes.behave("bcdboot", {.writesStore = false});
    m.files.erase("C:\\Boot\\BCD");
    m.files.erase("C:\\EFI\\Microsoft\\Boot\\BCD");
    click();
    // No message at all: the status line says where the log is.
    EXPECT_EQ(m.journal.count("message"), 0U);
    EXPECT_EQ(m.statusLine.label, "修复日志：Orvanta-20261207-153000.log");
    EXPECT_EQ(m.journal.lines().back(), "enable installationList 1");
}

TEST_F(RepairRun, ABootPartitionOtherThanCIsUsedEverywhere) {
    m.addThreeInstallations();
    m.start();
    m.bootPartitionBox.value = "D:";
    click();
    EXPECT_EQ(m.journal.only({"attributes D:\\boot\\bcd", "attributes D:\\EFI\\Microsoft\\Boot\\bcd"}),
              (Lines{"attributes D:\\boot\\bcd", "attributes D:\\boot\\bcd.orvanta-old",
                     "attributes D:\\EFI\\Microsoft\\Boot\\bcd", "attributes D:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old",
                     "attributes D:\\boot\\bcd", "attributes D:\\EFI\\Microsoft\\Boot\\bcd"}));
    for (const std::string& run : m.runs()) {
        EXPECT_TRUE(run.find("/s D: ") != std::string::npos || run.ends_with("/nt60 D: /mbr")) << run;
    }
    EXPECT_EQ(m.journal.count("C:\\boot"), 0U);
}

TEST_F(RepairRun, CloseAndMaximizeDuringAToolAreHandledAndTheRunGoesOn) {
    m.addThreeInstallations();
    m.start();
    m.processes.whileRunning("C:\\Windows /s C: /f bios /l", [this] {
        m.userClose();
        m.window.userState(WindowState::Maximized);
    });
    click();
    const std::size_t at = m.journal.indexOf("run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn");
    const Lines during(m.journal.lines().begin() + static_cast<std::ptrdiff_t>(at) + 1,
                       m.journal.lines().begin() + static_cast<std::ptrdiff_t>(at) + 12);
    EXPECT_EQ(during, (Lines{"message 警告！ 16 正在修复系统引导，无法关闭！", "close refused", "user state 2", "resize",
                             "state 0", "resize", "width 5910", "resize", "height 5055", "resize",
                             "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f uefi /l zh-cn"}));
    EXPECT_EQ(m.runs().size(), 7U);
    EXPECT_EQ(m.controller.sizeToggle().lastState(), WindowState::Maximized);
    EXPECT_TRUE(m.userClose());
}

} // namespace
} // namespace orvanta
