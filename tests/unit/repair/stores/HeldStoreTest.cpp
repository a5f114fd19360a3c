#include <gtest/gtest.h>

#include <functional>

#include "app/commandline/CommandLineMode.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const std::string HiveList = std::string(HiveListKey) + "\\" + SystemStoreHiveName;
const std::string NothingChanged = "\r\n修复未开始，没有做任何更改。";

// Nothing moved, nothing ran: the stores are as they were.
void ExpectUntouched(FakeMachine& m, const std::string& name) {
    EXPECT_EQ(m.journal.only({"move", "run", "create"}), Lines{}) << name;
    EXPECT_EQ(m.files.contentOf("C:\\EFI\\Microsoft\\Boot\\BCD"), "old") << name;
}

// A store held open is the running system's only when the registry's hive
// list names that very file; any other is some program's, and the run is
// refused before anything moves, naming the program where the system can.
TEST(HeldStore, OnlyTheFileTheRegistryLoadedCountsAsTheSystemsAnyOtherRefusesTheRun) {
    struct HeldCase {
        const char* name;
        std::function<void(FakeMachine&)> hold;
        std::string refusal; // "" when the run goes on
    };
    const std::string heldByNotepad = "BCD 存储 C:\\boot\\bcd 正被程序“记事本”使用，它不是正在运行的系统所用的 BCD 存储，"
                                      "本程序不会改动它。\r\n请先关闭这个程序，再重新修复。" + NothingChanged;
    const std::string heldByUnknown = "BCD 存储 C:\\boot\\bcd 正被其他程序使用，它不是正在运行的系统所用的 BCD 存储，"
                                      "本程序不会改动它。\r\n请先关闭打开它的程序，再重新修复。" + NothingChanged;
    const HeldCase cases[] = {
        {"the registry names no store (Wine, WinPE)",
         [](FakeMachine& m) {
             m.files.addFile("C:\\Boot\\BCD", {.locked = true}, "old");
             m.files.setHolders("C:\\Boot\\BCD", {"记事本"});
         },
         heldByNotepad},
        {"the system's store is a file on another volume",
         [](FakeMachine& m) {
             m.holdAsSystemStore("D:\\Boot\\BCD");
             m.files.addFile("C:\\Boot\\BCD", {.locked = true}, "old");
             m.drives.devices["C:"] = "\\Device\\HarddiskVolume2";
         },
         heldByUnknown},
        {"a volume whose name begins with C:'s is not C:'s",
         [](FakeMachine& m) {
             m.holdAsSystemStore("C:\\Boot\\BCD");
             m.registry.texts[HiveList] = "\\Device\\HarddiskVolume12\\Boot\\BCD";
             m.drives.devices["C:"] = "\\Device\\HarddiskVolume1";
         },
         heldByUnknown},
        {"the system's own, named in another case", [](FakeMachine& m) {
             m.holdAsSystemStore("C:\\Boot\\BCD");
             m.registry.texts[HiveList] = "\\DEVICE\\HARDDISKVOLUME2\\boot\\bcd";
         },
         ""},
    };
    for (const HeldCase& test : cases) {
        FakeMachine m;
        m.addThreeInstallations();
        m.files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD", {}, "old");
        test.hold(m);
        m.start();
        m.journal.clear();
        m.controller.onRepairClicked();
        if (!test.refusal.empty()) {
            ExpectUntouched(m, test.name);
            EXPECT_EQ(m.journal.count("registry save"), 0U) << test.name;
            EXPECT_EQ(m.journal.only({"message"}), Lines{"message 警告！ 16 " + test.refusal + LogNoteOfRepair}) << test.name;
            EXPECT_NE(m.files.contentOf(LogPathOfRepair).find("修复没有开始，没有做任何更改：BCD 存储 C:\\boot\\bcd 正被"),
                      std::string::npos) << test.name;
        } else {
            EXPECT_EQ(m.runs().size(), 7U) << test.name;
            EXPECT_EQ(m.files.contentOf("C:\\boot\\bcd.orvanta-0001-20261207-153000"), "old") << test.name;
        }
        FakeMachine script;
        script.addThreeInstallations();
        test.hold(script);
        CollectedOutput output;
        EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), script.platform(), output),
                  test.refusal.empty() ? RepairedExitCode : RefusedExitCode) << test.name;
    }
}

// The ESP's store on a UEFI PC started from its Windows: the system loaded it
// from the volume, the program reaches the ESP through the letter it gave it,
// which names the partition; the partition links to the volume.
TEST(HeldStore, TheSystemsStoreOnTheEspIsFoundThroughTheLetterGivenForThisSession) {
    FakeMachine m;
    m.addUefiPc();
    m.drives.links["\\Device\\Harddisk0\\Partition2"] = "\\Device\\HarddiskVolume1";
    m.files.addFile("Z:\\EFI\\Microsoft\\Boot\\BCD", {.locked = true}, "old");
    m.registry.loadedHives[SystemStoreKey] = "Z:\\EFI\\Microsoft\\Boot\\BCD";
    m.registry.texts[HiveList] = "\\Device\\HarddiskVolume1\\EFI\\Microsoft\\Boot\\BCD";
    m.start();
    m.controller.onRepairClicked();
    EXPECT_EQ(m.journal.count("registry save BCD00000000 -> Z:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000"), 1U);
    EXPECT_EQ(m.journal.count("message 提示： 64 UEFI引导修复成功！"), 1U);
}

// RegSaveKey fails (a full ESP, a policy that took the backup privilege): the
// system's store is saved before anything else moves, so nothing has; what it
// wrote of the copy goes; the message says why and what to do.
TEST(HeldStore, ASystemStoreThatCantBeSavedStopsTheRunBeforeAnythingMoves) {
    const std::string cantSave = "正在运行的系统所用的 BCD 存储 C:\\boot\\bcd 无法另存";
    const std::string room = "请在 C: 上腾出空间（例如删除不需要的文件），再重新修复。";
    const std::string right = "另存它需要管理员的“备份文件和目录”权限（SeBackupPrivilege）：请用有这个权限的管理员帐户运行，"
                              "或在组策略中恢复这个权限，也可以从 WinPE 启动后再修复。";
    const std::string effect = "：修复工具会直接改写它，没有副本就无法恢复。\r\n";
    const std::tuple<std::uint32_t, bool, std::string> cases[] = {
        {112, false, cantSave + "（错误 112）" + effect + room},
        {1314, false, cantSave + "（错误 1314）" + effect + right},
        {0, true, cantSave + "（它所在的文件夹无法列出）" + effect + room + "\r\n" + right},
    };
    for (const auto& [error, unlistable, text] : cases) {
        FakeMachine m;
        m.addThreeInstallations();
        m.files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD", {}, "old");
        m.holdAsSystemStore("C:\\Boot\\BCD");
        m.registry.saveError = error;
        if (unlistable) m.files.failListing("C:\\boot");
        m.start();
        m.journal.clear();
        m.controller.onRepairClicked();
        ExpectUntouched(m, text);
        EXPECT_EQ(m.journal.only({"message"}), Lines{"message 警告！ 16 " + text + NothingChanged + LogNoteOfRepair});
        EXPECT_EQ(m.files.filesIn("C:\\Boot"), Lines{"BCD"}) << "what RegSaveKey wrote of the copy is gone";
        const std::string log = m.files.contentOf(LogPathOfRepair);
        EXPECT_EQ(log.find("没能完整写入，已删除") != std::string::npos, error != 0) << log;

        CollectedOutput output;
        EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), m.platform(), output), RefusedExitCode);
        EXPECT_NE(output.text().find(text), std::string::npos) << output.text();
    }
}

} // namespace
} // namespace orvanta
