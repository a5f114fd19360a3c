#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "fakes/BootSectors.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "platform/errors/SystemErrors.h"
#include "repair/partition/BootFilesRoom.h"
#include "repair/run/Preflight.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The runs together leave the union of their files by path, each at the
// largest size, in whole clusters less what each overwrites; new folders take
// a cluster each; each store needs room for a new one with its logs and a
// copy of the old one.
TEST(BootFilesRoom, TheUnionOfAllRunsFilesInWholeClustersWithTheStoresAndFoldersTheyMake) {
    for (const std::optional<std::uint64_t> told : {std::optional<std::uint64_t>(32768), std::optional<std::uint64_t>()}) {
        const std::uint64_t cluster = told.value_or(4096);
        const auto inClusters = [cluster](std::uint64_t bytes) { return (bytes + cluster - 1) / cluster * cluster; };
        FakeMachine m;
        m.files.setClusterBytes("C:", told);
        m.files.addSizedFile("D:\\Windows\\Boot\\PCAT\\bootmgr", 400000);               // to the root, where one lies
        m.files.addSizedFile("D:\\Windows\\Boot\\PCAT\\zh-CN\\bootmgr.exe.mui", 50000); // to \Boot\zh-CN, made
        m.files.addSizedFile("D:\\Windows\\Boot\\EFI\\bootmgfw.efi", 1500000);          // twice: also \EFI\Boot
        m.files.addSizedFile("D:\\Windows\\Boot\\Fonts\\chs_boot.ttf", 3000000);        // to both font folders
        m.files.addSizedFile("D:\\Windows\\Boot\\Fonts\\A\\B\\C\\D\\deep.ttf", 9000000); // deeper than bcdboot copies
        m.files.addSizedFile("E:\\Windows\\Boot\\PCAT\\bootmgr", 5000000);              // E:'s is the larger
        m.files.addSizedFile("E:\\Windows\\Boot\\EFI\\bootmgfw.efi", 1400000);          // D:'s is the larger
        m.files.addSizedFile("E:\\Windows\\Boot\\Fonts\\chs_boot.ttf", 3000000);        // the same path: once
        m.files.addSizedFile("C:\\bootmgr", 400000);
        m.files.addSizedFile("C:\\Boot\\Fonts\\chs_boot.ttf", 3000000);
        m.files.addSizedFile("C:\\Boot\\BCD", 40000);
        const std::uint64_t files = inClusters(5000000) - inClusters(400000) + inClusters(50000) +
                                    2 * inClusters(1500000) + inClusters(3000000);
        const std::uint64_t stores = inClusters(65536) + 2 * inClusters(65536) + inClusters(40000) + // \Boot\BCD
                                     inClusters(65536) + 2 * inClusters(65536);                      // none yet
        // \Boot\zh-CN, \EFI, \EFI\Microsoft, \EFI\Microsoft\Boot, its Fonts, \EFI\Boot.
        const std::uint64_t needed = files + stores + 6 * cluster;
        const Lines installations{"E:\\Windows", "D:\\Windows", "F:\\Windows"}; // F: has no boot folders
        m.files.setFreeBytes("C:", needed);
        EXPECT_EQ(MeasureBootFilesRoom(m.files, "C:", installations), (BootFilesRoom{needed, needed})) << cluster;
        m.files.setFreeBytes("C:", needed - 1);
        EXPECT_FALSE(MeasureBootFilesRoom(m.files, "C:", installations)->enough());
        const Lines listed = m.journal.only({"list C:\\Boot\\Fonts"});
        EXPECT_EQ(std::count(listed.begin(), listed.end(), "list C:\\Boot\\Fonts"), 2); // once per measure
    }
    FakeMachine m;
    m.files.setFreeBytes("C:", std::nullopt);
    EXPECT_EQ(MeasureBootFilesRoom(m.files, "C:", {"D:\\Windows"}), std::nullopt); // can't tell: not refused
}

TEST(FirmwareWarning, OnlyWhatTheFirmwareCantStartFrom) {
    const DrivePlace activeMbr{0, 1, PartitionStyle::Mbr, false, 1};
    const DrivePlace inactiveMbr{0, 2, PartitionStyle::Mbr, false, 1};
    const DrivePlace noActiveMbr{0, 1, PartitionStyle::Mbr, false, std::nullopt};
    const DrivePlace gptEsp{0, 1, PartitionStyle::Gpt, true};
    const DrivePlace gptData{0, 3, PartitionStyle::Gpt, false};
    const DrivePlace mbrEsp{0, 1, PartitionStyle::Mbr, true, 2};
    struct Case {
        FirmwareMode firmware;
        DrivePlace place;
        const char* fileSystem;
        std::optional<RunWarning> warning;
    };
    const Case cases[] = {
        {FirmwareMode::Bios, activeMbr, "NTFS", std::nullopt},
        {FirmwareMode::Bios, inactiveMbr, "NTFS", RunWarning::BiosNotActive},
        {FirmwareMode::Bios, noActiveMbr, "NTFS", RunWarning::BiosNotActive},
        {FirmwareMode::Bios, gptEsp, "FAT32", RunWarning::BiosGptDisk},
        {FirmwareMode::Uefi, gptEsp, "FAT32", std::nullopt},
        {FirmwareMode::Uefi, mbrEsp, "FAT32", std::nullopt},
        {FirmwareMode::Uefi, gptData, "FAT32", RunWarning::UefiNotSystemPartition},
        {FirmwareMode::Uefi, activeMbr, "FAT", RunWarning::UefiNotSystemPartition},
        {FirmwareMode::Uefi, gptData, "NTFS", std::nullopt}, // told after the run
        {FirmwareMode::Unknown, inactiveMbr, "FAT32", std::nullopt},
        {FirmwareMode::Unknown, gptData, "FAT32", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirmwareWarning(c.firmware, c.place, c.fileSystem), c.warning)
            << static_cast<int>(c.firmware) << " disk style " << static_cast<int>(c.place.style) << " partition "
            << c.place.partition << " " << c.fileSystem;
    }
}

// A BIOS PC with one MBR disk: C: (BitLocker) is partition 1, D: partition 2
// and active, E: partition 3; the disk's first sector holds GRUB's code.
// Windows on all three, the kit on F:, the boot partition E:.
struct BeforeTheRun : ::testing::Test {
    BeforeTheRun() {
        m.addThreeInstallations();
        m.bootPartitionBox.value = "E:";
        setBootCode(GrubMasterBootRecord());
    }
    void setBootCode(const Sector& code) { m.addMbrDiskOfThree(code); }
    int run(const Lines& arguments) {
        output = {};
        return RunCommandLine(ParseCommandLine(arguments), m.platform(), output);
    }
    Lines changes() const { return m.journal.only({"run ", "move "}); }

    FakeMachine m;
    CollectedOutput output;
};

TEST_F(BeforeTheRun, EveryWarningInOneBoxWhereNoChangesNothingAndYesRunsAndLogsTheDisk) {
    m.start();
    m.messages.answer = false;
    m.controller.onRepairClicked();
    const Lines asked = m.journal.only({"ask ", "message "});
    ASSERT_EQ(asked.size(), 1U) << asked.back();
    const std::string& box = asked[0];
    EXPECT_TRUE(box.starts_with("ask 警告！ 48 默认系统所在的 C: 已用 BitLocker 加密：")) << box;
    const std::size_t notActive = box.find("\r\n固件是 BIOS（传统）模式，引导盘 E:（MBR 磁盘 0 的分区 3）却不是这个磁盘的活动分区（活动分区是分区 2）");
    const std::size_t grub = box.find("\r\n磁盘 0 的主引导记录里是 GRUB 的引导代码：修复会用 Windows 的引导代码替换它（bootsect /nt60 E: /mbr）");
    EXPECT_NE(notActive, std::string::npos) << box;
    EXPECT_GT(grub, notActive) << box;
    EXPECT_TRUE(box.ends_with("\r\n选“否”则不做任何更改。是否继续修复？")) << box;
    EXPECT_EQ(changes(), Lines{});

    m.journal.clear();
    m.messages.answer = true;
    m.controller.onRepairClicked();
    EXPECT_EQ(m.runs().back(), "run F:\\Kit\\bin\\bootsect.exe /nt60 E: /mbr");
    const std::string log = m.files.contentOf(LogPathOfRepair);
    for (const char* line : {"  磁盘 0：MBR，总线 SATA，扇区 512 字节，活动分区：分区 2，主引导记录：GRUB 的引导代码\r\n",
                             "  C: 固定磁盘，总线 SATA，磁盘 0 分区 1，BitLocker：已加密，有 Windows 文件夹\r\n",
                             "引导盘所在：磁盘 0 分区 3，MBR 磁盘，不是活动分区，主引导记录：GRUB 的引导代码\r\n"}) {
        EXPECT_TRUE(Holds(log, line)) << line << log;
    }
}

TEST_F(BeforeTheRun, TheCommandLineSaysTheWarningsGoesOnAndExitsOneOrRefusesWithTwo) {
    EXPECT_EQ(run({"/repair", "/s", "E:"}), NotFullyRepairedExitCode); // every tool and store fine: warned, so not fully
    EXPECT_TRUE(Holds(output.text(), "GRUB 的引导代码")) << output.text();
    EXPECT_TRUE(Holds(output.text(), "命令行不询问，继续修复；因为有这些警告，退出代码至少为 1。\r\n运行："));
    EXPECT_TRUE(Holds(output.text(), "提示：\r\nBIOS引导修复成功！")) << output.text();
    EXPECT_EQ(run({"/repair", "/s", "D:", "/default", "D:\\Windows"}), NotFullyRepairedExitCode); // GRUB's code alone
    setBootCode(WindowsMasterBootRecord());
    EXPECT_EQ(run({"/repair", "/s", "D:", "/default", "D:\\Windows"}), RepairedExitCode); // nothing to warn of

    m.journal.clear();
    EXPECT_EQ(run({"/repair", "/s", "C:"}), RefusedExitCode);
    EXPECT_TRUE(Holds(output.text(), "警告！\r\n引导盘 C: 已用 BitLocker 加密：启动管理器读不了加密的分区")) << output.text();
    setBootCode(VeraCryptMasterBootRecord());
    EXPECT_EQ(run({"/repair", "/s", "D:"}), RefusedExitCode);
    EXPECT_TRUE(Holds(output.text(), "磁盘 0 的主引导记录里是 VeraCrypt 的引导程序：这台电脑的 Windows 可能由 VeraCrypt 加密"))
        << output.text();
    setBootCode(WindowsMasterBootRecord());
    m.files.setFreeBytes("D:", 256 * 1024);
    EXPECT_EQ(run({"/repair", "/s", "D:"}), RefusedExitCode);
    EXPECT_TRUE(Holds(output.text(), "警告！\r\n引导盘 D:（MBR 磁盘 0 的分区 2）的可用空间不够：可用 0.2 MB，写入引导文件需要约 0.4 MB。\r\n"))
        << output.text();
    EXPECT_TRUE(Holds(output.text(), "修复未开始，没有做任何更改。"));
    EXPECT_EQ(changes(), Lines{});
}

TEST(LockedDrives, AreNamedInTheStatusLineAndTheNothingFoundMessageSaysHowToUnlock) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.addFixedDrive('D', false);
    m.addFixedDrive('G', false);
    m.files.makeUnreadable("D:", BitLockerLockedVolumeError);
    m.files.makeUnreadable("G:"); // not ready: not BitLocker's doing
    m.start();
    EXPECT_EQ(m.statusLine.label, "当前电脑硬盘里共发现1个系统！\r\nD: 已被 BitLocker 锁定");

    m.files.erase("C:\\Windows");
    m.files.makeUnreadable("C:", BitLockerLockedVolumeError);
    m.journal.clear();
    m.controller.onRepairClicked();
    const Lines said = m.journal.only({"message "});
    ASSERT_EQ(said.size(), 1U);
    EXPECT_TRUE(said[0].starts_with("message 提示： 64 当前电脑硬盘里未发现操作系统！无法进行此操作！\r\n\r\n"
                                    "C:、D: 已被 BitLocker 锁定，系统可能就在上面。请先解锁，再重新修复：\r\n"
                                    "　manage-bde -unlock C: -RecoveryPassword <48 位恢复密钥>\r\n"
                                    "　manage-bde -unlock D: -RecoveryPassword <48 位恢复密钥>\r\n"))
        << said[0];
    EXPECT_TRUE(Holds(said[0], "aka.ms/myrecoverykey"));
    EXPECT_FALSE(Holds(said[0], "G:"));

    CollectedOutput output;
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/list"}), m.platform(), output), RepairedExitCode);
    EXPECT_TRUE(Holds(output.text(), "  D: 固定磁盘，总线 SATA，BitLocker：已锁定\r\n")) << output.text();
    EXPECT_TRUE(Holds(output.text(), "BCD 存储：C: 已被 BitLocker 锁定，读不出它的 BCD 存储\r\n")) << output.text();
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), m.platform(), output), RefusedExitCode);
    EXPECT_TRUE(Holds(output.text(), "manage-bde -unlock D:")) << output.text();
}

} // namespace
} // namespace orvanta
