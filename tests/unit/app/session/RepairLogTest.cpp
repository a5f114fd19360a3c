#include <gtest/gtest.h>

#include "fakes/DiskLayouts.h"
#include "app/commandline/CommandLineMode.h"
#include "fakes/FakeBcdStores.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

const std::string LogPath = "F:\\Kit\\Logs\\Orvanta-20261207-153000.log";

// A UEFI PC whose ESP gets Z:, Windows on C: and D:, the old BIOS store
// hidden and system; D:'s bcdboot run prints GBK text and fails.
struct RepairLog : ::testing::Test {
    RepairLog() {
        m.addThreeInstallations();
        m.files.addFile("C:\\Boot\\BCD", {.hidden = true, .system = true});
        m.devices.set("C:", {.location = VolumeLocation{0, 3}});
        m.devices.addDisk(0, {GptLayout({{1, true}, {3, false}})});
        m.firmware.type = 2;
        m.consoleCodePage.known[Gbk] = "无法复制引导文件。\r\n";
        m.processes.behave("D:\\Windows /s Z: /f bios /l", {.exitCode = 1, .standardError = Gbk});
    }
    const std::string Gbk = "\xCE\xDE\xB7\xA8\xB8\xB4\xD6\xC6\xD2\xFD\xB5\xBC\xCE\xC4\xBC\xFE\xA1\xA3\r\n";
    FakeMachine m;
};

TEST_F(RepairLog, HoldsEverythingFoundAndDoneInCrLfUtf8WithAByteOrderMark) {
    m.fileIdentities.known["F:\\Kit\\Bin\\bcdboot.exe"] = {"10.0.22621.1", SignatureState::Valid, "Microsoft Windows"};
    m.fileIdentities.known["F:\\Kit\\bin\\bootsect.exe"] = {"6.1.7600.16385", SignatureState::Valid, "Contoso"};
    m.start();
    m.controller.onRepairClicked();
    const std::string log = m.files.contentOf(LogPath);
    ASSERT_TRUE(log.starts_with("\xEF\xBB\xBF" "Orvanta 1.0（x64）修复日志\r\n")) << log;
    EXPECT_EQ(log.find("\n", 0), log.find("\r\n") + 1); // CRLF line ends
    for (const std::string part : {
             "启动时间：2026-12-07 15:30:00\r\n", "Windows 版本：10.0.19045\r\n", "管理员权限：有\r\n", "固件：UEFI\r\n",
             "EFI 系统分区：磁盘 0 分区 1，盘符 Z:（本程序临时分配，退出时收回）\r\n",
             "  C: 固定磁盘，总线 SATA，磁盘 0 分区 3，有 Windows 文件夹\r\n", "  F: 可移动磁盘\r\n",
             "找到的系统：C:\\Windows，D:\\Windows，E:\\Windows\r\n", "引导盘：Z:（NTFS）\r\n",
             "运行：F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s Z: /f bios /l zh-cn\r\n"
             "  程序：F:\\Kit\\Bin\\bcdboot.exe，版本：10.0.22621.1，数字签名：有效，来自 Microsoft（Microsoft Windows）\r\n"
             "  用时 1.000 秒，退出代码 1（0x00000001）\r\n  标准错误：\r\n    无法复制引导文件。\r\n",
             "运行：F:\\Kit\\bin\\bootsect.exe /nt60 Z: /mbr\r\n"
             "  程序：F:\\Kit\\bin\\bootsect.exe，版本：6.1.7600.16385，数字签名：有效，但不是 Microsoft 的（Contoso）\r\n",
             "消息框“警告！”：\r\n  以下修复命令没有成功完成：\r\n",
             // The new store's entries as bcdedit lists them: C:'s partition is
             // known (GPT), D:'s and E:'s are not, so loaders are matched by folder.
             "BIOS 的 BCD 存储 Z:\\boot\\bcd：已重建，检查通过\r\n"
             "  检查：系统没有告知各系统所在的分区，启动项只按 Windows 文件夹核对，无法核对分区\r\n"
             "  新 BCD 存储：启动项 4 个，设置对象 0 个\r\n",
             "    Windows 启动加载器（默认）\r\n"
             "    identifier              {00000003-0000-4000-8000-0000000fa4e0}\r\n"
             "    device                  partition=GPT 分区 {9a9a9a03-9a9a-9a9a-9a9a-9a9a9a9a9a9a}\r\n"
             "    path                    \\Windows\\system32\\winload.exe\r\n",
             "    Windows 启动管理器\r\n    identifier              {bootmgr}\r\n",
             "失败的命令：1 条\r\n"}) {
        EXPECT_NE(log.find(part), std::string::npos) << part;
    }
    // The message as shown, the note where the log is included.
    EXPECT_NE(log.find("  修复日志：" + LogPath + "\r\n"), std::string::npos);
    EXPECT_LT(log.find("=== 修复开始"), log.find("运行：F:\\Kit\\Bin\\bcdboot.exe E:"));
    EXPECT_EQ(m.fileIdentities.asked["F:\\Kit\\Bin\\bcdboot.exe"], 1); // once per program and run, not per run of it
}

TEST_F(RepairLog, StoresAreLoggedWithTheirEntriesAttributesAndWhatBecameOfThem) {
    m.firmware.type = 1; // BIOS: the box keeps C:, the hidden store is the one repaired
    // The old store: C:'s loader, and one on a partition no disk has any more.
    const RegistryKey old = FakeBcdTree(false, {{"C:\\Windows", {PartitionStyle::Gpt, FakeGptPartitionId(3), 0, 0}},
                                                {"D:\\Windows", {PartitionStyle::Gpt, FakeGptPartitionId(7), 0, 0}}}, 0);
    m.files.addFile("C:\\Boot\\BCD", {.hidden = true, .system = true}, FakeHiveBytes(old));
    m.start();
    m.controller.onRepairClicked();
    const std::string log = m.files.contentOf(LogPath);
    for (const std::string part : {
             "BCD 存储 C:\\boot\\bcd（属性：隐藏、系统）：已移到 C:\\boot\\bcd.orvanta-old\r\n"
             "旧 BCD 存储 C:\\boot\\bcd：启动项 3 个，设置对象 0 个\r\n"
             "  Windows 启动加载器（默认）\r\n"
             "  identifier              {00000001-0000-4000-8000-0000000fa4e0}\r\n",
             "  identifier              {00000002-0000-4000-8000-0000000fa4e0}\r\n"
             "  ！它所在的分区在本机的磁盘上都找不到\r\n"
             "  device                  partition=GPT 分区 {9a9a9a07-9a9a-9a9a-9a9a-9a9a9a9a9a9a}\r\n",
             "BCD 存储 C:\\boot\\bcd：旧 BCD 存储保留为 C:\\boot\\bcd.orvanta-0001-20261207-153000\r\n",
             "  旧 BCD 存储保留在：C:\\boot\\bcd.orvanta-0001-20261207-153000\r\n"}) {
        EXPECT_NE(log.find(part), std::string::npos) << part << log;
    }
    // C:'s partition is on disk 0: its entry carries no mark.
    EXPECT_NE(log.find("  identifier              {00000001-0000-4000-8000-0000000fa4e0}\r\n  device"), std::string::npos);
}

// A power cut while a tool runs leaves the log up to that tool's start.
TEST_F(RepairLog, WhileAToolRunsItsStartAndThePreviousToolsEndAreOnDisk) {
    std::string onDisk;
    m.processes.whileRunning("bootsect.exe", [&] { onDisk = m.files.onDiskContentOf(LogPath); });
    m.start();
    m.controller.onRepairClicked();
    // The last bcdboot's end, then bootsect's start, and nothing of its end.
    EXPECT_TRUE(onDisk.ends_with("  用时 1.000 秒，退出代码 0（0x00000000）\r\n"
                                 "[15:30:12.000] 运行：F:\\Kit\\bin\\bootsect.exe /nt60 Z: /mbr\r\n"
                                 "  程序：F:\\Kit\\bin\\bootsect.exe，版本：无，数字签名：没有\r\n"))
        << onDisk;
}

TEST_F(RepairLog, AStartInTheSameSecondAsAnEarlierOneKeepsThatOnesLog) {
    m.files.addFolder("F:\\Kit\\Logs");
    m.files.addFile(LogPath, {}, "earlier start");
    m.start();
    EXPECT_EQ(m.controller.log().path(), "F:\\Kit\\Logs\\Orvanta-20261207-153000-2.log");
    EXPECT_EQ(m.files.contentOf(LogPath), "earlier start");
}

TEST_F(RepairLog, FromReadOnlyMediaTheLogGoesToTempAndNoLogStopsNothing) {
    m.files.makeReadOnly("F:\\");
    m.start();
    m.controller.onRepairClicked();
    EXPECT_EQ(m.controller.log().path(), "T:\\Temp\\Orvanta-20261207-153000.log");
    EXPECT_TRUE(m.files.contentOf("T:\\Temp\\Orvanta-20261207-153000.log").find("=== 修复结束") != std::string::npos);

    FakeMachine nowhere;
    nowhere.addThreeInstallations();
    nowhere.files.makeReadOnly("F:\\");
    nowhere.files.makeReadOnly("T:\\");
    nowhere.start();
    nowhere.controller.onRepairClicked();
    EXPECT_EQ(nowhere.runs().size(), 7U);
    const auto messages = nowhere.journal.only({"message"});
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[1], "message 提示： 64 UEFI引导修复成功！" + KeptOnCOfRepair + "\r\n\r\n修复日志无法写入。");
}

// The disk fills up during the repair: the log's later writes fail, and the
// last message and the command line's last line say it could not be written.
TEST_F(RepairLog, WritesThatFailMidRunAsOnAFullDiskAreReportedAsANotWrittenLog) {
    m.start();
    m.processes.whileRunning("E:\\Windows /s Z: /f bios", [this] { m.files.fillUp("F:\\"); });
    m.controller.onRepairClicked();
    EXPECT_NE(m.files.contentOf(LogPath).find("=== 修复开始"), std::string::npos);
    const auto messages = m.journal.only({"message"});
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages.back().ends_with("\r\n\r\n修复日志无法写入。")) << messages.back();

    FakeMachine cli;
    cli.addThreeInstallations();
    cli.processes.whileRunning("bootsect", [&cli] { cli.files.fillUp("F:\\"); });
    CollectedOutput output;
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), cli.platform(), output), RepairedExitCode);
    EXPECT_TRUE(output.text().ends_with("\r\n修复日志无法写入。\r\n")) << output.text();
}

} // namespace
} // namespace orvanta
