#include <gtest/gtest.h>

#include <algorithm>

#include "app/commandline/CommandLineMode.h"
#include "app/texts/UserMessages.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// One installation, D:\Windows, which carries its own bcdboot; the kit's
// bcdboot fails for it.
struct SecondBcdboot : ::testing::Test {
    SecondBcdboot() {
        m.addFixedDrive('D');
        m.addTools();
        m.files.addFile("C:\\Boot\\BCD", {}, "old");
        m.files.addFile("D:\\Windows\\System32\\bcdboot.exe");
        m.start();
    }
    void oursFails() { m.processes.behave("F:\\Kit\\Bin\\bcdboot.exe", {.exitCode = 193, .writesStore = false}); }
    void click() {
        m.journal.clear();
        m.controller.onRepairClicked();
    }
    FakeMachine m;
};

TEST_F(SecondBcdboot, TheInstallationsOwnBcdbootRunsWithTheSameArgumentsAndItsSuccessCounts) {
    oursFails();
    click();
    EXPECT_EQ(m.runs(), (Lines{"run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn",
                               "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn",
                               "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn",
                               "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr"}));
    EXPECT_EQ(m.journal.count("move C:\\boot\\bcd -> "), 1U); // moved aside once, before the first tool
    EXPECT_EQ(m.journal.only({"message"}),
              (Lines{"message 提示： 64 BIOS引导修复成功！",
                     "message 提示： 64 UEFI引导修复成功！\r\n\r\n旧 BCD 存储保留在：C:\\boot\\bcd.orvanta-0001-20261207-153000\r\n" +
                         GoBackLine +
                         LogNoteOfRepair}));
    // The log says why a second bcdboot ran.
    EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("  用时 1.000 秒，退出代码 193（0x000000C1）\r\n"
                                                      "  Bin 文件夹里的 bcdboot 没有成功，改用 D:\\Windows 自带的 bcdboot 再运行一次\r\n"
                                                      "[15:30:02.000] 运行：D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios"),
              std::string::npos) << m.files.contentOf(LogPathOfRepair);
}

TEST_F(SecondBcdboot, WhenBothFailTheBoxSaysWhichRanWhatEachReturnedAndWhatTheyPrinted) {
    m.processes.behave("D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios /l",
                       {.exitCode = 1, .writesStore = false, .standardError = "Failure when attempting to copy boot files.\r\n"});
    oursFails();
    click();
    const Lines messages = m.journal.only({"message"});
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[1], "message 警告！ 16 以下修复命令没有成功完成：\r\n"
                           "F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn\r\n退出代码：193（0x000000C1）\r\n"
                           "再用该系统自带的 bcdboot 修复，也没有成功：\r\n"
                           "D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn\r\n退出代码：1（0x00000001）\r\n"
                           "　Failure when attempting to copy boot files.\r\n"
                           "引导可能没有完全修复，请检查后再试。" + LogNoteOfRepair);
}

TEST_F(SecondBcdboot, OursThatCantStartIsReplacedByTheirsAndOnlyBothMissingEndTheRun) {
    m.processes.behave("F:\\Kit\\Bin\\bcdboot.exe", {.startFails = true});
    click();
    EXPECT_EQ(m.runs().size(), 5U);
    EXPECT_EQ(m.journal.count("message Error!"), 0U);

    m.files.erase("D:\\Windows\\System32\\bcdboot.exe");
    click();
    EXPECT_EQ(m.runs().size(), 1U);
    EXPECT_EQ(m.journal.only({"message"}),
              Lines{"message Error! 16 修复已中止：修复工具 bcdboot.exe 无法启动"
                    "（错误 193，F:\\Kit\\Bin\\bcdboot.exe 不是有效的 Win32 应用程序）。\r\n"
                    "BCD 存储都已恢复为修复前的样子。\r\n错误 193 和 216 通常表示这个工具是为另一种 Windows 制作的（例如在 32 位 WinPE 中运行了 64 位的工具），或者文件已损坏：请换用与正在运行的 Windows 或 WinPE 位数相同的完好工具，再重新修复。" + LogNoteOfRepair});
    EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("中止原因：修复工具 bcdboot.exe 无法启动（错误 193，F:\\Kit\\Bin\\bcdboot.exe 不是有效的 Win32 应用程序）\r\n"),
              std::string::npos);
    // The store the first click's runs wrote is back in its place.
    EXPECT_TRUE(IsHive(m.files.contentOf("C:\\Boot\\BCD")));
    EXPECT_FALSE(m.files.isFile("C:\\Boot\\BCD.orvanta-old"));
}

TEST_F(SecondBcdboot, TheRunningSystemsOwnBcdbootIsReachedThroughSysnativeFromA32BitProgram) {
    m.runningSystem.windows = "d:\\windows";
    m.runningSystem.redirected = true;
    m.files.addFile("D:\\Windows\\Sysnative\\bcdboot.exe"); // what a 32-bit program sees of the 64-bit System32
    oursFails();
    click();
    EXPECT_EQ(m.runs()[1], "run D:\\Windows\\Sysnative\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn");
    m.runningSystem.redirected = false;
    click();
    EXPECT_EQ(m.runs()[1], "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn");
}

// Windows 7's bcdboot (6.1) knows no /f and writes the store of the firmware
// the PC runs on: on this BIOS PC it runs for the BIOS store only, without
// /f; for the UEFI store the log and the box say why it did not run.
TEST_F(SecondBcdboot, AnOwnBcdbootOlderThanWindows8RunsOnlyForThePcsFirmwareWithoutF) {
    m.fileIdentities.known["D:\\Windows\\System32\\bcdboot.exe"] = {"6.1.7601.17514", SignatureState::Valid, "Microsoft Windows"};
    oursFails();
    click();
    EXPECT_EQ(m.runs(), (Lines{"run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn",
                               "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn",
                               "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr"}));
    const Lines messages = m.journal.only({"message"});
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[0], "message 提示： 64 BIOS引导修复成功！");
    EXPECT_NE(messages[1].find("该系统自带的 bcdboot（版本 6.1.7601.17514）早于 Windows 8，不能写这个 BCD 存储，没有运行。"),
              std::string::npos) << messages[1];
    EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("  没有运行 D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn："),
              std::string::npos);

    m.fileIdentities.known["D:\\Windows\\System32\\bcdboot.exe"].version = "6.2.9200.16384";
    click();
    EXPECT_EQ(m.runs()[1], "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn");
    EXPECT_EQ(m.runs()[3], "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn");
}

// From the 32-bit build on 64-bit Windows only the running system's own
// System32 is reached through Sysnative; another installation's is not
// redirected and is named as it is.
TEST_F(SecondBcdboot, AnotherInstallationsOwnBcdbootIsItsSystem32AlsoFromA32BitProgram) {
    m.addFixedDrive('C');
    m.files.addFile("C:\\Windows\\Sysnative\\bcdboot.exe");
    m.runningSystem.windows = "C:\\Windows";
    m.runningSystem.redirected = true;
    oursFails();
    click();
    const Lines runs = m.runs();
    for (const char* own : {"run C:\\Windows\\Sysnative\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn",
                            "run D:\\Windows\\System32\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn"}) {
        EXPECT_NE(std::find(runs.begin(), runs.end(), own), runs.end()) << own;
    }
    EXPECT_EQ(m.journal.count("message 警告！"), 0U);
}

// Only when neither bcdboot can start does the run end as an error of the
// system: one that can't start beside one that ends with an error is a failed
// tool, whichever of the two it is, in the window and on the command line.
TEST(SecondBcdbootStart, OneThatCantStartBesideOneThatFailsIsAFailedToolNotASystemError) {
    const std::string ours = "F:\\Kit\\Bin\\bcdboot.exe";
    const std::string theirs = "D:\\Windows\\System32\\bcdboot.exe";
    for (const auto& [cantStart, fails] : {std::pair{ours, theirs}, std::pair{theirs, ours}}) {
        FakeMachine m;
        m.addFixedDrive('D');
        m.addTools();
        m.files.addFile("C:\\Boot\\BCD", {}, "old");
        m.files.addFile(theirs);
        m.processes.behave(cantStart, {.startFails = true});
        m.processes.behave(fails, {.exitCode = 1, .writesStore = false});
        m.start();
        m.controller.onRepairClicked();
        const Lines messages = m.journal.only({"message"});
        ASSERT_EQ(messages.size(), 1U) << cantStart;
        EXPECT_TRUE(messages[0].starts_with("message 警告！ 16 以下修复命令没有成功完成：\r\n")) << messages[0];
        EXPECT_NE(messages[0].find(cantStart + " D:\\Windows /s C: /f bios /l zh-cn\r\n无法启动（错误 193）：" + cantStart),
                  std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find(fails + " D:\\Windows /s C: /f bios /l zh-cn\r\n退出代码：1（0x00000001）"), std::string::npos);
        EXPECT_EQ(m.files.contentOf("C:\\Boot\\BCD"), "old");

        CollectedOutput output;
        EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), m.platform(), output), NotFullyRepairedExitCode) << output.text();
        EXPECT_EQ(output.text().find(ErrorTitle), std::string::npos) << output.text();
    }
}

} // namespace
} // namespace orvanta
