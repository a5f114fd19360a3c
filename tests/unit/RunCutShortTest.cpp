#include <gtest/gtest.h>

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

TEST_F(RunCutShort, AnExistingBackupIsNeverReplaced) {
    // An older backup beside the BIOS store: the store stays where it is and
    // the backup is kept. Only the UEFI backup is left, with no store: it goes
    // back before the run, and back again when the tools write nothing.
    m.files.addFile(BiosBackup, {}, "older");
    m.files.erase(UefiStore);
    m.files.addFile(UefiBackup, {}, "original");
    m.processes.behave("/f uefi", {.writesStore = false});
    click();
    EXPECT_EQ(m.journal.only({"move"}), (Lines{"move C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old -> C:\\EFI\\Microsoft\\Boot\\bcd",
                                              "move C:\\EFI\\Microsoft\\Boot\\bcd -> C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old",
                                              "move C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old -> C:\\EFI\\Microsoft\\Boot\\bcd"}));
    EXPECT_EQ(m.files.contentOf(BiosStore), "new");
    EXPECT_EQ(m.files.contentOf(BiosBackup), "older");
    EXPECT_EQ(m.files.contentOf(UefiStore), "original");
    EXPECT_FALSE(m.files.isFile(UefiBackup));
}

TEST_F(RunCutShort, AStartFailureKeepsTheStoresTheToolsAlreadyWrote) {
    // The BIOS runs write nothing; bootsect, the last tool, can't start.
    m.processes.behave("D:\\Windows /s C: /l", {.exitCode = 5, .writesStore = false});
    m.processes.behave("C: /l zh-cn", {.writesStore = false});
    m.processes.behave("bootsect", {.startFails = true});
    click();
    EXPECT_EQ(m.files.contentOf(UefiStore), "new"); // re-created: it stays, the old one beside it
    EXPECT_EQ(m.files.contentOf(UefiBackup), "old");
    EXPECT_EQ(m.files.contentOf(BiosStore), "old"); // not re-created: the old one is back
    EXPECT_FALSE(m.files.isFile(BiosBackup));
    const Lines messages = m.journal.only({"message"});
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[0], "message Error! 64 错误 193：F:\\Kit\\bin\\bootsect.exe 不是有效的 Win32 应用程序。");
    EXPECT_TRUE(messages[1].starts_with("message 警告！ 16 以下修复命令没有成功完成：\r\nF:\\Kit\\Bin\\bcdboot.exe D:\\Windows"))
        << messages[1];
    EXPECT_EQ(m.repairButton.label, "开始修复");
}

TEST_F(RunCutShort, AnEarlyStartFailurePutsBothOldStoresBack) {
    m.files.setApplicationFolder("F:\\My Kit");
    m.addTools();
    m.processes.behave("E:\\Windows /s C: /l", {.startFails = true});
    click();
    EXPECT_EQ(m.runs().size(), 1U);
    EXPECT_EQ(m.files.contentOf(BiosStore), "old");
    EXPECT_EQ(m.files.contentOf(UefiStore), "old");
    EXPECT_FALSE(m.files.isFile(BiosBackup) || m.files.isFile(UefiBackup));
    EXPECT_EQ(m.journal.only({"message"}),
              Lines{"message Error! 64 错误 193：F:\\My Kit\\Bin\\bcdboot.exe 不是有效的 Win32 应用程序。" +
                    LogNoteOfRepair});
}

TEST_F(RunCutShort, TheSessionMayNotEndDuringARepairAndIfItDoesTheOldStoresGoBack) {
    EXPECT_FALSE(m.controller.onSessionEndRequested());
    bool refused = false;
    m.processes.behave("C:\\Windows /s C: /l", {.waits = 3});
    m.processes.whileRunning("C:\\Windows /s C: /l", [&] {
        refused = m.controller.onSessionEndRequested();
        m.controller.onSessionEnding();
    });
    click();
    EXPECT_TRUE(refused);
    // The tool that ran was stopped before it wrote; none ran after it.
    EXPECT_TRUE(m.processes.started().back()->terminated);
    EXPECT_EQ(m.runs().back(), "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /l zh-cn");
    EXPECT_EQ(m.files.contentOf(BiosStore), "old"); // over the new one the earlier runs wrote
    EXPECT_EQ(m.files.contentOf(UefiStore), "old");
    EXPECT_FALSE(m.files.isFile(BiosBackup) || m.files.isFile(UefiBackup));
    EXPECT_EQ(m.journal.count("message"), 0U);
    EXPECT_EQ(m.journal.lines().back(), "enable installationList 1");
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
