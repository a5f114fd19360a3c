#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The world of the worked example: C:, D:, E: with Windows, both old stores on
// C:, the kit in F:\Kit; C:\Windows is the default.
struct RepairSafety : ::testing::Test {
    RepairSafety() { m.addThreeInstallations(); }
    void click() {
        m.start();
        m.journal.clear();
        m.controller.onRepairClicked();
    }
    FakeMachine m;
};

TEST_F(RepairSafety, AMissingToolEndsTheRunBeforeAnythingIsTouched) {
    const std::pair<const char*, const char*> tools[] = {
        {"F:\\Kit\\Bin\\bcdboot.exe", "F:\\Kit\\bin\\bootsect.exe"},
        {"F:\\Kit\\bin\\bootsect.exe", "F:\\Kit\\Bin\\bcdboot.exe"}};
    for (const auto& [missing, present] : tools) {
        FakeMachine pc;
        pc.addThreeInstallations();
        pc.files.erase(missing);
        pc.start();
        pc.journal.clear();
        pc.controller.onRepairClicked();
        const Lines messages = pc.journal.only({"message"});
        ASSERT_EQ(messages.size(), 1U);
        EXPECT_TRUE(messages[0].starts_with("message 警告！ 16 ")) << messages[0];
        EXPECT_TRUE(Contains(messages[0], missing)) << messages[0];
        EXPECT_FALSE(Contains(messages[0], present)) << messages[0];
        EXPECT_EQ(pc.journal.only({"caption", "enable", "call", "move", "remove", "run"}), Lines{});
        EXPECT_TRUE(pc.files.isFile("C:\\Boot\\BCD"));
    }
}

TEST_F(RepairSafety, ABootPartitionThatIsNotALetterAndColonIsRefused) {
    for (const char* text : {"", "C:\\", "\\\\", " C:", "C: ", "\"C:\"", "C: /f", "CC:", "1:", "C", ":", "中:"}) {
        FakeMachine pc;
        pc.addThreeInstallations();
        pc.start();
        pc.bootPartitionBox.value = text;
        pc.journal.clear();
        pc.controller.onRepairClicked();
        const Lines messages = pc.journal.only({"message"});
        ASSERT_EQ(messages.size(), 1U) << text;
        EXPECT_TRUE(messages[0].starts_with("message 警告！ 16 ")) << messages[0];
        EXPECT_EQ(pc.journal.only({"caption", "enable", "call", "move", "remove", "run", "query C:\\boot"}), Lines{})
            << text;
    }
    m.start();
    m.bootPartitionBox.value = "d:";
    m.controller.onRepairClicked();
    EXPECT_EQ(m.runs().front(), "run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s d: /l zh-cn");
}

TEST_F(RepairSafety, TheBootPartitionReadAtTheStartHoldsForTheWholeRun) {
    // The ownerless folder dialog can still write bootPartitionBox while a tool runs.
    m.processes.whileRunning("E:\\Windows /s C: /l", [this] { m.bootPartitionBox.setText("G:"); });
    click();
    EXPECT_EQ(m.runs().size(), 7U);
    EXPECT_EQ(m.journal.count("G:"), 1U); // only the text change itself
    EXPECT_EQ(m.journal.count("message 提示："), 2U);
}

TEST_F(RepairSafety, AnOldStoreGoesBackWhenNoNewOneAppears) {
    m.processes.behave("C: /l zh-cn", {.writesStore = false}); // the BIOS runs write nothing
    click();
    const std::size_t report = m.journal.indexOf("run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr") + 1;
    const Lines tail(m.journal.lines().begin() + static_cast<std::ptrdiff_t>(report),
                     m.journal.lines().begin() + static_cast<std::ptrdiff_t>(report) + 6);
    EXPECT_EQ(tail, (Lines{"query C:\\boot\\bcd mask 0", "move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd",
                           "query C:\\EFI\\Microsoft\\boot\\bcd mask 0",
                           "remove C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old", "message 提示： 64 UEFI引导修复成功！",
                           "version"}));
    EXPECT_TRUE(m.files.isFile("C:\\boot\\bcd"));
    EXPECT_FALSE(m.files.isFile("C:\\boot\\bcd.orvanta-old"));
}

TEST_F(RepairSafety, AStoreHeldOpenStaysWhereItIsAndTheRunGoesOn) {
    m.files.addFile("C:\\Boot\\BCD", {.locked = true});
    click();
    EXPECT_EQ(m.journal.count("move C:\\boot\\bcd -> C:\\boot\\bcd.orvanta-old replace refused"), 1U);
    EXPECT_EQ(m.runs().size(), 7U);
    EXPECT_EQ(m.journal.count("remove C:\\boot"), 0U);
    EXPECT_EQ(m.journal.only({"message"}),
              (Lines{"message 提示： 64 BIOS引导修复成功！", "message 提示： 64 UEFI引导修复成功！"}));
    EXPECT_EQ(m.repairButton.label, "开始修复");
}

TEST_F(RepairSafety, ABackupLeftByAnInterruptedRunIsReplaced) {
    m.files.addFile("C:\\boot\\bcd.orvanta-old");
    click();
    EXPECT_EQ(m.journal.count("move C:\\boot\\bcd -> C:\\boot\\bcd.orvanta-old replace"), 1U);
    EXPECT_EQ(m.journal.count("refused"), 0U);
    EXPECT_FALSE(m.files.isFile("C:\\boot\\bcd.orvanta-old"));
}

TEST_F(RepairSafety, AToolThatCannotStartPutsTheStoresBackAndReturnsToIdle) {
    m.processes.behave("E:\\Windows /s C: /l", {.startFails = true});
    click();
    const std::size_t failed = m.journal.indexOf("run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /l zh-cn");
    const Lines after(m.journal.lines().begin() + static_cast<std::ptrdiff_t>(failed) + 1, m.journal.lines().end());
    ASSERT_EQ(after.size(), 10U);
    EXPECT_EQ(Lines(after.begin(), after.begin() + 2),
              (Lines{"move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd replace",
                     "move C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old -> C:\\EFI\\Microsoft\\Boot\\bcd replace"}));
    EXPECT_TRUE(after[2].starts_with("message Error! 64 ") && Contains(after[2], "193") &&
                Contains(after[2], "不是有效的 Win32 应用程序。"))
        << after[2];
    EXPECT_EQ(Lines(after.begin() + 3, after.end()),
              (Lines{"version",
                     "call 0x5000 slot 10 (4660, 0)", "caption repairButton 开始修复", "enable repairButton 1",
                     "enable browseButton 1", "enable bootPartitionBox 1", "enable installationList 1"}));
    EXPECT_TRUE(m.files.isFile("C:\\boot\\bcd"));
    EXPECT_TRUE(m.files.isFile("C:\\EFI\\Microsoft\\Boot\\bcd"));
}

TEST_F(RepairSafety, AStartFailureAfterNewStoresWereWrittenRestoresTheOldOnes) {
    m.processes.behave("bootsect.exe", {.startFails = true});
    click();
    EXPECT_EQ(m.runs().size(), 7U); // six bcdboot runs wrote new stores, then bootsect failed
    EXPECT_EQ(m.journal.count("move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd replace"), 1U);
    EXPECT_EQ(m.journal.count(
                  "move C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old -> C:\\EFI\\Microsoft\\Boot\\bcd replace"),
              1U);
    EXPECT_FALSE(m.files.isFile("C:\\boot\\bcd.orvanta-old"));
    EXPECT_FALSE(m.files.isFile("C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old"));
    EXPECT_EQ(m.journal.only({"message"}).size(), 1U); // the error, no success message
}

TEST_F(RepairSafety, AHiddenNewStoreIsNotOverwrittenByTheOldOne) {
    // The BIOS tool writes its new store hidden, so the report's query can't see it.
    m.processes.behave("bcdboot.exe C:\\Windows /s C: /l", {.writesStore = false});
    m.processes.whileRunning("bcdboot.exe C:\\Windows /s C: /l",
                             [this] { m.files.addFile("C:\\boot\\bcd", {.hidden = true}); });
    click();
    EXPECT_EQ(m.journal.count("move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd refused"), 1U);
    EXPECT_TRUE(m.files.isFile("C:\\boot\\bcd.orvanta-old")); // the old store is kept beside it
    EXPECT_EQ(m.journal.only({"message"}), Lines{"message 提示： 64 UEFI引导修复成功！"});
}

TEST_F(RepairSafety, ToolPathsWithABlankAreQuoted) {
    m.files.setApplicationFolder("F:\\My Kit");
    m.addTools();
    m.files.addFile("F:\\My.exe"); // a program named after the path's first word
    click();
    const Lines runs = m.runs();
    EXPECT_EQ(runs.front(), "run \"F:\\My Kit\\Bin\\bcdboot.exe\" E:\\Windows /s C: /l zh-cn");
    EXPECT_EQ(runs.back(), "run \"F:\\My Kit\\bin\\bootsect.exe\" /nt60 C: /mbr");
    for (const auto& process : m.processes.started()) EXPECT_NE(process->program, "F:\\My.exe");
    EXPECT_EQ(m.journal.count("message 提示："), 2U);
}

TEST_F(RepairSafety, ASelectionThatVanishedFallsBackToEntryZero) {
    m.start();
    m.installationList.select(1);
    m.files.erase("D:\\Windows");
    m.journal.clear();
    m.controller.onRepairClicked();
    EXPECT_EQ(m.journal.count("select installationList 0"), 1U);
    EXPECT_EQ(m.runs(), (Lines{"run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f uefi /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f uefi /l zh-cn",
                               "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr"}));
}

TEST_F(RepairSafety, FailedToolsAreListedAfterTheSuccessMessages) {
    m.processes.behave("D:\\Windows /s C: /f uefi", {.exitCode = 0x80070005});
    m.processes.behave("bootsect", {.waits = 2, .exitCode = 259});
    click();
    const Lines messages = m.journal.only({"message"});
    ASSERT_EQ(messages.size(), 3U);
    EXPECT_EQ(messages[0], "message 提示： 64 BIOS引导修复成功！");
    EXPECT_EQ(messages[1], "message 提示： 64 UEFI引导修复成功！");
    const std::string& warning = messages[2];
    EXPECT_TRUE(warning.starts_with("message 警告！ 16 ")) << warning;
    for (const char* part : {"F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f uefi /l zh-cn", "2147942405", "80070005",
                             "F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr", "259", "103"}) {
        EXPECT_TRUE(Contains(warning, part)) << part;
    }
    EXPECT_FALSE(Contains(warning, "E:\\Windows")) << warning;
}

TEST_F(RepairSafety, TheUefiFolderIsCreatedBeforeTheFirstUefiRun) {
    m.files.erase("C:\\EFI\\Microsoft\\Boot\\BCD");
    m.files.erase("C:\\EFI\\Microsoft\\Boot");
    m.files.erase("C:\\EFI\\Microsoft");
    m.files.erase("C:\\EFI");
    click();
    const std::size_t created = m.journal.indexOf("create C:\\EFI");
    EXPECT_EQ(m.journal.lines().at(created + 1), "create C:\\EFI\\Microsoft");
    EXPECT_EQ(m.journal.lines().at(created + 2), "create C:\\EFI\\Microsoft\\Boot");
    EXPECT_LT(created, m.journal.indexOf("run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f uefi /l zh-cn"));
    EXPECT_EQ(m.journal.only({"message"}),
              (Lines{"message 提示： 64 BIOS引导修复成功！", "message 提示： 64 UEFI引导修复成功！"}));
}

} // namespace
} // namespace orvanta
