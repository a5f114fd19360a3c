#include <gtest/gtest.h>

#include <tuple>

#include "fakes/DiskLayouts.h"
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
        EXPECT_EQ(pc.journal.only({"caption repairButton", "enable bootPartitionBox", "call", "move", "remove", "run"}), Lines{});
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
        EXPECT_EQ(pc.journal.only({"caption repairButton", "enable bootPartitionBox", "call", "move", "remove", "run", "attributes C:\\boot"}), Lines{})
            << text;
    }
    m.start();
    m.bootPartitionBox.value = "d:";
    m.controller.onRepairClicked();
    EXPECT_EQ(m.runs().front(), "run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s d: /f bios /l zh-cn");
}

TEST_F(RepairSafety, TheBootPartitionReadAtTheStartHoldsForTheWholeRun) {
    // The ownerless folder dialog can still write bootPartitionBox while a tool runs.
    m.processes.whileRunning("E:\\Windows /s C: /f bios /l", [this] { m.bootPartitionBox.setText("G:"); });
    click();
    EXPECT_EQ(m.runs().size(), 7U);
    EXPECT_EQ(m.journal.count("G:"), 1U); // only the text change itself
    EXPECT_EQ(m.journal.count("message 提示："), 2U);
}

// A store counts as repaired only when the default installation's run for it
// ended well, it exists and its check passes; otherwise its old store goes back.
TEST_F(RepairSafety, AnOldStoreGoesBackUnlessTheDefaultsRunForItEndedWell) {
    m.files.addFile("C:\\Boot\\BCD", {}, "old");
    m.files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD", {}, "old");
    m.processes.behave("C: /f bios /l zh-cn", {.writesStore = false}); // the BIOS runs write nothing
    click();
    EXPECT_EQ(m.journal.only({"move", "remove"}),
              (Lines{"move C:\\boot\\bcd -> C:\\boot\\bcd.orvanta-old",
                     "move C:\\EFI\\Microsoft\\Boot\\bcd -> C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old",
                     "move C:\\boot\\bcd.orvanta-old -> C:\\boot\\bcd",
                     "move C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-old -> C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000"}));
    EXPECT_EQ(m.files.contentOf("C:\\boot\\bcd"), "old");
    EXPECT_EQ(m.journal.only({"message"}),
              Lines{"message 提示： 64 UEFI引导修复成功！\r\n\r\n旧 BCD 存储保留在：C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000\r\n" +
                    GoBackLine +
                    LogNoteOfRepair});

    // Earlier installations' runs wrote both stores; the default's runs end
    // with 5, one writing nothing, the other a full store: neither counts.
    FakeMachine pc;
    pc.addThreeInstallations();
    pc.files.addFile("C:\\Boot\\BCD", {}, "old");
    pc.files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD", {}, "old");
    pc.processes.behave("C:\\Windows /s C: /f bios", {.exitCode = 5, .writesStore = false});
    pc.processes.behave("C:\\Windows /s C: /f uefi", {.exitCode = 5});
    pc.start();
    pc.controller.onRepairClicked();
    EXPECT_EQ(pc.files.contentOf("C:\\Boot\\BCD"), "old");
    EXPECT_EQ(pc.files.contentOf("C:\\EFI\\Microsoft\\Boot\\BCD"), "old");
    EXPECT_TRUE(pc.files.filesIn("C:\\Boot").size() == 1 && pc.files.filesIn("C:\\EFI\\Microsoft\\Boot").size() == 1);
    const Lines messages = pc.journal.only({"message"});
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_TRUE(messages[0].starts_with("message 警告！ 16 以下修复命令没有成功完成：")) << messages[0];
}

// The running system's own store: the system holds it open, so it can't be
// moved; its content is saved through the registry, the tools update it in
// place, and it is read back through the registry and checked.
TEST_F(RepairSafety, TheStoreTheSystemHoldsIsSavedUpdatedInPlaceAndChecked) {
    m.holdAsSystemStore("C:\\Boot\\BCD");
    click();
    EXPECT_EQ(m.journal.count("move C:\\boot\\bcd "), 0U);
    EXPECT_EQ(m.journal.count("registry save BCD00000000 -> C:\\boot\\bcd.orvanta-0001-20261207-153000"), 1U);
    EXPECT_EQ(m.files.contentOf("C:\\boot\\bcd.orvanta-0001-20261207-153000"), "old");
    EXPECT_LT(m.journal.indexOf("registry save BCD00000000 -> C:\\boot\\bcd.orvanta-0001-20261207-153000"),
              m.journal.indexOf("run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f bios /l zh-cn"));
    EXPECT_EQ(m.journal.count("registry tree BCD00000000"), 2U); // before (the old store) and after
    EXPECT_EQ(m.journal.only({"message"}),
              (Lines{"message 提示： 64 BIOS引导修复成功！", "message 提示： 64 UEFI引导修复成功！" + KeptOnCOfRepair + LogNoteOfRepair}));
    EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("BIOS 的 BCD 存储 C:\\boot\\bcd：已在原处更新，检查通过"),
              std::string::npos);

    // The default's run left the store without its entry: partitions unknown,
    // the warning counts the loaders.
    FakeMachine pc;
    pc.addThreeInstallations();
    pc.holdAsSystemStore("C:\\Boot\\BCD");
    pc.processes.behave("C:\\Windows /s C: /f bios", {.writesStore = false});
    pc.start();
    pc.controller.onRepairClicked();
    const Lines messages = pc.journal.only({"message"});
    ASSERT_EQ(messages.size(), 2U);
    EXPECT_EQ(messages[0], "message 警告！ 16 BIOS 的 BCD 存储 C:\\boot\\bcd 已在原处更新，但检查发现它不能正常引导：\r\n"
                           "　只有 2 个 Windows 启动项，修复的系统有 3 个。\r\n引导没有完全修复，请检查后再试。");
}

TEST_F(RepairSafety, ToolPathsWithABlankAreQuoted) {
    m.files.setApplicationFolder("F:\\My Kit");
    m.addTools();
    m.files.addFile("F:\\My.exe"); // a program named after the path's first word
    click();
    const Lines runs = m.runs();
    EXPECT_EQ(runs.front(), "run \"F:\\My Kit\\Bin\\bcdboot.exe\" E:\\Windows /s C: /f bios /l zh-cn");
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
    EXPECT_EQ(m.runs(), (Lines{"run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f bios /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f uefi /l zh-cn",
                               "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s C: /f bios /l zh-cn",
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
              (Lines{"message 提示： 64 BIOS引导修复成功！", "message 提示： 64 UEFI引导修复成功！\r\n\r\n旧 BCD 存储保留在：C:\\boot\\bcd.orvanta-0001-20261207-153000\r\n" +
                                                          GoBackLine + LogNoteOfRepair}));
}

TEST_F(RepairSafety, WithoutAdministratorRightsNothingIsTouchedAndARestartIsOffered) {
    const std::tuple<bool, bool, Lines> cases[] = {
        {false, false, {}},                                    // the user says No
        {true, false, {"restart elevated"}},                   // the consent prompt is declined
        {true, true, {"restart elevated", "close requested"}}, // the elevated instance has started
    };
    for (const auto& [yes, starts, after] : cases) {
        FakeMachine pc;
        pc.addThreeInstallations();
        pc.elevation.elevated = false;
        pc.messages.answer = yes;
        pc.elevation.restartStarts = starts;
        pc.start();
        pc.journal.clear();
        pc.controller.onRepairClicked();
        Lines expected{"ask 警告！ 48 修复系统引导需要管理员权限，本程序现在没有这个权限。\r\n修复未开始，没有做任何更改。\r\n是否以管理员身份重新运行本程序？"};
        expected.insert(expected.end(), after.begin(), after.end());
        EXPECT_EQ(pc.journal.only({"ask", "message", "restart", "close requested", "caption repairButton", "move", "run", "create"}),
                  expected);
        EXPECT_TRUE(pc.files.isFile("C:\\Boot\\BCD"));
    }
}

TEST_F(RepairSafety, AUefiStoreOnAPartitionUefiFirmwareCantReadIsAWarningNotASuccess) {
    const std::string warning = "message 警告！ 16 UEFI 引导文件已写入 C:，但 C: 是 NTFS 分区，UEFI 固件只能从 FAT32 "
                                "格式的 EFI 系统分区启动，无法从 C: 启动。\r\n";
    const std::tuple<std::optional<std::uint32_t>, std::string, bool, std::string> cases[] = {
        {2, "NTFS", true, warning + "请把引导盘改为 EFI 系统分区 Z: 后重新修复。"},
        {2, "NTFS", false,
         warning + "没有找到 EFI 系统分区：请先确认硬盘上有 EFI 系统分区并给它分配盘符，再把它填为引导盘重新修复。"},
        {0, "NTFS", false,
         warning + "没有找到 EFI 系统分区：请先确认硬盘上有 EFI 系统分区并给它分配盘符，再把它填为引导盘重新修复。"},
        {2, "FAT32", true, "message 提示： 64 UEFI引导修复成功！"},
        {1, "NTFS", true, "message 提示： 64 UEFI引导修复成功！"}, // a BIOS PC keeps its messages
    };
    for (const auto& [firmwareType, fileSystem, withEsp, uefiMessage] : cases) {
        FakeMachine pc;
        pc.addThreeInstallations();
        pc.firmware.type = firmwareType;
        pc.files.setFileSystem("C:", fileSystem);
        if (withEsp) pc.devices.addDisk(0, {GptLayout({{1, true}})});
        pc.start();
        pc.bootPartitionBox.value = "C:";
        pc.journal.clear();
        pc.controller.onRepairClicked();
        // Where the ESP is the default boot partition, going back to C:'s stores needs /s C:.
        std::string kept = KeptOnCOfRepair;
        if (firmwareType == 2 && withEsp) kept.replace(kept.find("/restore"), 8, "/restore /s C:");
        EXPECT_EQ(pc.journal.only({"message"}), (Lines{"message 提示： 64 BIOS引导修复成功！", uefiMessage + kept + LogNoteOfRepair}))
            << fileSystem << " " << withEsp;
    }
}

} // namespace
} // namespace orvanta
