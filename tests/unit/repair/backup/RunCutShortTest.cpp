#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const std::string BiosStore = "C:\\Boot\\BCD";
const std::string BiosBackup = "C:\\Boot\\BCD.orvanta-old";
const std::string UefiStore = "C:\\EFI\\Microsoft\\Boot\\BCD";
const std::string UefiBackup = "C:\\EFI\\Microsoft\\Boot\\BCD.orvanta-old";

// The worked example's PC, its old stores marked "old".
struct RunCutShort : ::testing::Test {
    RunCutShort() {
        m.addThreeInstallations();
        m.files.addFile(BiosStore, {}, "old");
        m.files.addFile(UefiStore, {}, "old");
        m.start();
    }
    void click() {
        m.journal.clear();
        m.controller.onRepairClicked();
    }
    FakeMachine m;
};

const std::string BiosKept = "C:\\Boot\\BCD.orvanta-0001-20261207-153000";

TEST_F(RunCutShort, ABackupAnInterruptedRunLeftIsNeverLost) {
    // Beside the BIOS store: it becomes a dated copy, older than the one the
    // store becomes. Alone (the UEFI store): it goes back before the run, and
    // back again when the tools write nothing.
    m.files.addFile(BiosBackup, {}, "older");
    m.files.addFile(BiosBackup + ".LOG1", {}, "older log");
    m.files.erase(UefiStore);
    m.files.addFile(UefiBackup, {}, "original");
    m.processes.behave("/f uefi", {.writesStore = false});
    click();
    EXPECT_TRUE(IsHive(m.files.contentOf(BiosStore)));
    EXPECT_EQ(m.files.contentOf(BiosKept), "older");
    EXPECT_EQ(m.files.contentOf(BiosKept + ".LOG1"), "older log");
    EXPECT_EQ(m.files.contentOf("C:\\Boot\\BCD.orvanta-0002-20261207-153000"), "old");
    EXPECT_EQ(m.files.contentOf(UefiStore), "original");
    EXPECT_EQ(m.files.filesIn("C:\\EFI\\Microsoft\\Boot"), std::vector<std::string>{"bcd"});
    EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("BCD 存储 C:\\boot\\bcd（属性：普通）：旁边有上次中断的修复留下的备份，已改名保留为 " +
                                                     std::string("C:\\boot\\bcd.orvanta-0001-20261207-153000")),
              std::string::npos);
}

// Each folder keeps the oldest copy (the store from before the program first
// ran) and the two newest; a store's logs go with it.
TEST_F(RunCutShort, RepeatedRepairsKeepTheOldestAndTheTwoNewestCopies) {
    m.files.addFile(BiosStore + ".LOG1", {}, "old log");
    m.files.addFile("C:\\Boot\\BCD.orvanta-20250101-080000", {}, "first");
    m.files.addFile("C:\\Boot\\BCD.orvanta-20260101-080000", {}, "second");
    m.files.addFile("C:\\Boot\\BCD.orvanta-20260101-080000.LOG2", {}, "second log");
    m.files.addFile("C:\\Boot\\BCD.orvanta-20261101-080000", {}, "third");
    m.files.addFile("C:\\Boot\\BCD.orvanta-notes.txt", {}, "not a copy");
    click();
    std::vector<std::string> kept = m.files.filesIn("C:\\Boot");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (std::vector<std::string>{"BCD", "BCD.orvanta-20250101-080000", "BCD.orvanta-20261101-080000",
                                              "BCD.orvanta-notes.txt", "bcd.orvanta-0001-20261207-153000",
                                              "bcd.orvanta-0001-20261207-153000.LOG1"}));
    EXPECT_EQ(m.files.contentOf(BiosKept), "old");
    EXPECT_EQ(m.journal.count("remove C:\\boot\\BCD.orvanta-20260101-080000"), 2U); // the copy and its log
}

TEST_F(RunCutShort, AStartFailureJudgesEachStoreByTheRunsBeforeIt) {
    // The BIOS runs write nothing; bootsect, the last tool, can't start.
    m.processes.behave("D:\\Windows /s C: /f bios", {.exitCode = 5, .writesStore = false});
    m.processes.behave("C: /f bios /l zh-cn", {.writesStore = false});
    m.processes.behave("bootsect", {.startFails = true});
    click();
    EXPECT_TRUE(IsHive(m.files.contentOf(UefiStore))); // the default's run for it ended well: it stays
    EXPECT_EQ(m.files.contentOf("C:\\EFI\\Microsoft\\Boot\\BCD.orvanta-0001-20261207-153000"), "old");
    EXPECT_EQ(m.files.contentOf(BiosStore), "old"); // not re-created: the old one is back
    EXPECT_FALSE(m.files.isFile(BiosBackup));
    const Lines messages = m.journal.only({"message"});
    ASSERT_EQ(messages.size(), 3U);
    // The abort box: which tool, why, what stays, and what error 193 usually means.
    EXPECT_EQ(messages[0], "message Error! 16 修复已中止：修复工具 bootsect.exe 无法启动"
                           "（错误 193，F:\\Kit\\bin\\bootsect.exe 不是有效的 Win32 应用程序）。\r\n"
                           "BIOS 的 BCD 存储 C:\\boot\\bcd：已恢复为修复前的样子。\r\n"
                           "UEFI 的 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：已重建。\r\n"
                           "错误 193 和 216 通常表示这个工具是为另一种 Windows 制作的（例如在 32 位 WinPE 中运行了 64 位的工具），或者文件已损坏：请换用与正在运行的 Windows 或 WinPE 位数相同的完好工具，再重新修复。");
    EXPECT_EQ(messages[1], "message 提示： 64 UEFI引导修复成功！");
    EXPECT_TRUE(messages[2].starts_with("message 警告！ 16 以下修复命令没有成功完成：\r\nF:\\Kit\\Bin\\bcdboot.exe D:\\Windows"))
        << messages[2];
    EXPECT_EQ(m.repairButton.label, "开始修复");
}

TEST_F(RunCutShort, AnEarlyStartFailurePutsBothOldStoresBack) {
    m.files.setApplicationFolder("F:\\My Kit");
    m.addTools();
    m.processes.behave("E:\\Windows /s C: /f bios /l", {.startFails = true});
    click();
    EXPECT_EQ(m.runs().size(), 1U);
    EXPECT_EQ(m.files.contentOf(BiosStore), "old");
    EXPECT_EQ(m.files.contentOf(UefiStore), "old");
    EXPECT_FALSE(m.files.isFile(BiosBackup) || m.files.isFile(UefiBackup));
    EXPECT_EQ(m.journal.only({"message"}),
              Lines{"message Error! 16 修复已中止：修复工具 bcdboot.exe 无法启动"
                    "（错误 193，F:\\My Kit\\Bin\\bcdboot.exe 不是有效的 Win32 应用程序）。\r\n"
                    "BCD 存储都已恢复为修复前的样子。\r\n错误 193 和 216 通常表示这个工具是为另一种 Windows 制作的（例如在 32 位 WinPE 中运行了 64 位的工具），或者文件已损坏：请换用与正在运行的 Windows 或 WinPE 位数相同的完好工具，再重新修复。" + LogNoteOfRepair});
}

TEST_F(RunCutShort, TheSessionMayNotEndDuringARepairAndIfItDoesTheOldStoresGoBack) {
    EXPECT_FALSE(m.controller.onSessionEndRequested());
    bool refused = false;
    m.processes.behave("C:\\Windows /s C: /f bios /l", {.waits = 3});
    m.processes.whileRunning("C:\\Windows /s C: /f bios /l", [&] {
        refused = m.controller.onSessionEndRequested();
        m.controller.onSessionEnding();
    });
    click();
    EXPECT_TRUE(refused);
    // The tool that ran was stopped before it wrote; none ran after it.
    EXPECT_TRUE(m.processes.started().back()->terminated);
    EXPECT_EQ(m.runs().back(), "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn");
    EXPECT_EQ(m.files.contentOf(BiosStore), "old"); // over the new one the earlier runs wrote
    EXPECT_EQ(m.files.contentOf(UefiStore), "old");
    EXPECT_FALSE(m.files.isFile(BiosBackup) || m.files.isFile(UefiBackup));
    EXPECT_EQ(m.journal.count("message"), 0U);
    EXPECT_EQ(m.journal.lines().back(), "enable installationList 1");
    EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("BCD 存储 C:\\boot\\bcd：注销或关机：旧 BCD 存储已放回原处\r\n"),
              std::string::npos);
}

// Stopping a tool only starts its end: one that still holds the store it
// writes when the wait runs out keeps the rename from working. The old store
// then lies beside the new one, and the log says so rather than "restored".
TEST_F(RunCutShort, AtTheSessionsEndATooSlowToolLeavesTheOldStoreBesideTheNewOne) {
    m.processes.behave("C:\\Windows /s C: /f bios /l", {.waits = 3, .lingers = true});
    m.processes.whileRunning("C:\\Windows /s C: /f bios /l", [&] {
        m.files.addFile(BiosStore, {.locked = true}, "half written");
        m.controller.onSessionEnding();
    });
    click();
    const ProcessRecord& tool = *m.processes.started().back();
    EXPECT_TRUE(tool.terminated);
    EXPECT_EQ(tool.exitWaits, 1); // one bounded wait, then the rename is tried
    EXPECT_NE(m.files.contentOf(BiosStore), "old"); // what the tool wrote stays
    EXPECT_EQ(m.files.contentOf(BiosBackup), "old");
    EXPECT_EQ(m.files.contentOf(UefiStore), "old"); // not held: it went back
    const std::string log = m.files.contentOf(LogPathOfRepair);
    EXPECT_NE(log.find("BCD 存储 C:\\boot\\bcd：旧 BCD 存储无法放回原处，留在 C:\\boot\\bcd.orvanta-old\r\n"),
              std::string::npos) << log;
    EXPECT_NE(log.find("BIOS 的 BCD 存储 C:\\boot\\bcd：注销或关机：旧 BCD 存储无法放回原处\r\n"), std::string::npos);
    EXPECT_EQ(log.find("BCD 存储 C:\\boot\\bcd：注销或关机：旧 BCD 存储已放回原处"), std::string::npos);
}

// The program was ended while a tool ran: the old stores lie beside their
// places. The next run brings them back when the tools write nothing.
TEST_F(RunCutShort, ARunAfterAnInterruptedOneStillHasTheOriginalStores) {
    m.files.erase(BiosStore);
    m.files.erase(UefiStore);
    m.files.addFile(BiosBackup, {.hidden = true, .system = true}, "original");
    m.files.addFile(UefiBackup, {}, "original");
    m.processes.behave("bcdboot", {.writesStore = false});
    click();
    EXPECT_EQ(m.files.contentOf(BiosStore), "original");
    EXPECT_EQ(m.files.attributesOf(BiosStore), (FakeAttributes{.hidden = true, .system = true}));
    EXPECT_EQ(m.files.contentOf(UefiStore), "original");
    EXPECT_FALSE(m.files.isFile(BiosBackup) || m.files.isFile(UefiBackup));
}

} // namespace
} // namespace orvanta

namespace orvanta {
namespace {

// A store's transaction logs go wherever it goes. Put back over what the
// tools wrote, the old store takes its own logs back and the tools' go; a log
// that can't follow is said in the log and the last message.
TEST_F(RunCutShort, AStorePutBackTakesItsOwnLogsAndALogThatCantFollowIsReported) {
    struct LogCase {
        const char* name;
        FakeAttributes toolsLog;
        FakeAttributes oldLog;
        const char* logAtStore; // what lies at C:\Boot\BCD.LOG1 afterwards
        std::vector<std::string> reported;
    };
    const LogCase cases[] = {
        {"both logs move", {}, {}, "old log", {}},
        {"the tools' log is held open", {.locked = true}, {}, "new log",
         {"事务日志 C:\\boot\\bcd.LOG1 属于工具写的新 BCD 存储，没能删除：请在重新启动前删除它。",
          "事务日志 C:\\boot\\bcd.orvanta-old.LOG1 没能随 BCD 存储 C:\\boot\\bcd 移动。"}},
        {"the old log is held open", {}, {.locked = true}, "old log",
         {"事务日志 C:\\boot\\bcd.LOG1 没能随 BCD 存储 C:\\boot\\bcd 移动。"}},
    };
    for (const LogCase& test : cases) {
        FakeMachine pc;
        pc.addThreeInstallations();
        pc.files.addFile(BiosStore, {}, "old");
        pc.files.addFile(BiosStore + ".LOG1", test.oldLog, "old log");
        // The default's BIOS run writes a store and its log, and fails: the old store goes back.
        pc.processes.behave("C:\\Windows /s C: /f bios", {.exitCode = 5});
        pc.processes.whileRunning("C:\\Windows /s C: /f bios", [&pc, &test] {
            if (!pc.files.isFile(BiosStore + ".LOG1")) pc.files.addFile(BiosStore + ".LOG1", test.toolsLog, "new log");
        });
        pc.start();
        pc.controller.onRepairClicked();
        EXPECT_EQ(pc.files.contentOf(BiosStore), "old") << test.name;
        EXPECT_EQ(pc.files.contentOf(BiosStore + ".LOG1"), test.logAtStore) << test.name;
        const std::string last = pc.journal.only({"message"}).back();
        const std::string log = pc.files.contentOf(LogPathOfRepair);
        std::string said;
        for (std::size_t start = last.find("事务日志"); start != std::string::npos; start = last.find("事务日志", start + 1)) {
            said += last.substr(start, last.find("\r\n", start) - start) + "\n";
        }
        std::string expected;
        for (const std::string& line : test.reported) expected += line + "\n";
        EXPECT_EQ(said, expected) << test.name;
        EXPECT_EQ(log.find("没能随它移动") == std::string::npos, test.reported.empty()) << test.name;
    }
}

} // namespace
} // namespace orvanta
