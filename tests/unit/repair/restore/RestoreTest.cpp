#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "app/commandline/CommandLineMode.h"
#include "platform/text/CaseBlind.h"
#include "fakes/FakeBcdStores.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "repair/restore/KeptStoreCheck.h"
#include "repair/run/RepairLock.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const std::string Esp = "Z:\\EFI\\Microsoft\\Boot\\";
const std::string Copy = "C:\\Boot\\bcd.orvanta-0001-20261207-120000-ok";

std::string Hive(bool uefi, const std::vector<FakeLoader>& loaders, int defaultIndex = 0) {
    return FakeHiveBytes(FakeBcdTree(uefi, loaders, defaultIndex));
}

int RunWith(FakeMachine& m, const Lines& arguments, CollectedOutput& output) {
    return RunCommandLine(ParseCommandLine(arguments), m.platform(), output);
}

// The path of the last file, by name, in the folder whose name starts so (not a log).
std::string FileStartingWith(const FakeMachine& m, const std::string& folder, const std::string& start) {
    std::string path;
    for (const std::string& name : m.files.filesIn(folder)) {
        if (name.starts_with(start) && name.find(".LOG") == std::string::npos) path = folder + "\\" + name;
    }
    return path;
}

// A UEFI PC repaired once: its old ESP store (hidden and system, with a log)
// kept as the first copy; then the tools' store gets a log of its own. /restore
// lists the copy, and putting it back moves the tools' store and its log
// aside first, then the copy and its log into place, with the attributes the
// tools' store had; the check passes.
TEST(Restore, ARepairsKeptStoreGoesBackAfterTheStoreInPlaceIsKeptWithItsLogs) {
    FakeMachine m;
    m.addUefiPc();
    const std::string before = Hive(true, {{"C:\\Windows", *m.devices.identityOf("C:")}});
    m.files.addFile(Esp + "BCD", {.hidden = true, .system = true}, before);
    m.files.addFile(Esp + "BCD.LOG1", {.hidden = true}, "the old store's log");
    CollectedOutput repair;
    ASSERT_EQ(RunWith(m, {"/repair"}, repair), RepairedExitCode) << repair.text();
    EXPECT_NE(repair.text().find(GoBackLine), std::string::npos) << repair.text();
    const std::string kept = Esp + "bcd.orvanta-0001-20261207-153000-ok";
    ASSERT_EQ(m.files.contentOf(kept), before);
    const std::string rebuilt = m.files.contentOf(Esp + "bcd");
    m.files.addFile(Esp + "bcd.LOG", {}, "the tools' store's log");

    CollectedOutput listing;
    EXPECT_EQ(RunWith(m, {"/restore"}, listing), RepairedExitCode);
    EXPECT_NE(listing.text().find("BCD 存储 \\EFI\\Microsoft\\Boot\\bcd：旧副本 1 个（从旧到新）\r\n"
                                  "  \\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000-ok\r\n"
                                  "    第 1 个，保存于 2026-12-07 15:30:00，当时通过了检查\r\n"
                                  "    默认：“Windows 10”（C:\\Windows）；Windows 启动项：“Windows 10”（C:\\Windows）\r\n"),
              std::string::npos) << listing.text();
    EXPECT_NE(listing.text().find("  Orvanta.exe /restore \\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000-ok\r\n"),
              std::string::npos) << listing.text();

    m.journal.clear();
    CollectedOutput output;
    EXPECT_EQ(RunWith(m, {"/restore", "\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000-ok"}, output), RepairedExitCode);
    const std::string replaced = FileStartingWith(m, "Z:\\EFI\\Microsoft\\Boot", "bcd.orvanta-0002-");
    ASSERT_TRUE(replaced.ends_with("-ok")) << replaced;
    EXPECT_EQ(m.journal.only({"move", "remove", "set attributes", "registry restore"}),
              (Lines{"move " + Esp + "bcd.LOG -> " + replaced + ".LOG", "move " + Esp + "bcd -> " + replaced,
                     "move " + kept + " -> " + Esp + "bcd", "move " + kept + ".LOG1 -> " + Esp + "bcd.LOG1",
                     "set attributes " + Esp + "bcd"}));
    EXPECT_EQ(m.files.contentOf(Esp + "bcd"), before);
    EXPECT_EQ(m.files.attributesOf(Esp + "bcd"), FakeAttributes{});
    EXPECT_EQ(m.files.contentOf(Esp + "bcd.LOG1"), "the old store's log");
    EXPECT_FALSE(m.files.isFile(Esp + "bcd.LOG"));
    EXPECT_EQ(m.files.contentOf(replaced), rebuilt);
    EXPECT_EQ(m.files.contentOf(replaced + ".LOG"), "the tools' store's log");
    EXPECT_NE(output.text().find("提示：\r\n已换回 BCD 存储 Z:\\EFI\\Microsoft\\Boot\\bcd：现在是旧副本 "
                                 "bcd.orvanta-0001-20261207-153000-ok。\r\n换回前的 BCD 存储保留为 " + replaced +
                                 "。\r\n检查通过："),
              std::string::npos) << output.text();
    EXPECT_EQ(m.journal.count("unmap Z:"), 1U); // the ESP's letter goes with the program
    const std::string log = m.files.contentOf(FileStartingWith(m, "F:\\Kit\\Logs", "Orvanta-"));
    EXPECT_NE(log.find("BCD 存储 Z:\\EFI\\Microsoft\\Boot\\bcd：换回前，原来的 BCD 存储已保留为 " + replaced), std::string::npos);
    EXPECT_NE(log.find("BCD 存储 Z:\\EFI\\Microsoft\\Boot\\bcd：已换回为旧副本 " + kept), std::string::npos) << log;
}

// Everything in C:'s store folder: name (Windows ignores its case), content and attributes.
using Snapshot = std::vector<std::tuple<std::string, std::size_t, std::optional<FakeAttributes>>>;
Snapshot SnapshotOf(const FakeMachine& m) {
    Snapshot files;
    for (std::string name : m.files.filesIn("C:\\Boot")) {
        const std::string path = "C:\\Boot\\" + name;
        for (char& c : name) c = AsciiUpper(c);
        files.emplace_back(name, std::hash<std::string>{}(m.files.contentOf(path)), m.files.attributesOf(path));
    }
    return files;
}

struct RefusalCase {
    const char* name;
    Lines arguments;
    std::string said;
    std::function<void(FakeMachine&)> setup = {};
    int exitCode = RefusedExitCode;
};

// Each refusal says why and changes nothing; a copy that can't be moved into
// place stops the restore after the store in place moved aside, which then
// goes back.
TEST(Restore, EachRefusalSaysWhyAndLeavesEveryStoreAsItWas) {
    const std::string copyName = "\\boot\\bcd.orvanta-0001-20261207-120000-ok";
    const RefusalCase cases[] = {
        {"no such copy", {"/restore", "\\boot\\bcd.orvanta-0009-20261207-120000"}, "C:\\boot\\bcd.orvanta-0009-20261207-120000 不存在"},
        {"a copy's log", {"/restore", copyName + ".LOG1"}, "”不是本程序保留的旧 BCD 存储"},
        {"the store itself", {"/restore", "C:\\boot\\BCD"}, "”不是本程序保留的旧 BCD 存储"},
        {"a folder that holds no store", {"/restore", "\\Windows\\bcd.orvanta-0001-20261207-120000-ok"}, "”不在 \\boot 或 \\EFI\\Microsoft\\Boot 文件夹里"},
        {"a folder below a store's", {"/restore", "\\boot\\x\\bcd.orvanta-0001-20261207-120000-ok"}, "”不在 \\boot 或"},
        {"a drive other than /s", {"/restore", "/s", "D:", "C:" + copyName}, "副本路径的盘符 C: 与 /s 给出的引导盘 D: 不同"},
        {"a drive this PC lacks", {"/restore", "Y:" + copyName}, "这台电脑上没有 Y: 盘。EFI 系统分区的盘符只在本程序运行时临时分配"},
        {"not elevated", {"/restore", copyName}, "换回 BCD 存储需要管理员权限", [](FakeMachine& m) { m.elevation.elevated = false; }},
        {"another instance repairing", {"/restore", copyName}, "另一个 Orvanta 正在修复系统引导，请等它完成后再换回。",
         [](FakeMachine& m) { m.mutexes.states[RepairMutexName] = MutexState::Held; }},
        {"a copy that is no store", {"/restore", copyName}, "无法读取，不是完好的 BCD 存储",
         [](FakeMachine& m) { m.files.addFile(Copy, {}, "old"); }},
        {"the store held by a program", {"/restore", copyName}, "正被程序“记事本”使用，它不是正在运行的系统所用的 BCD 存储",
         [](FakeMachine& m) {
             m.files.addFile("C:\\Boot\\BCD", {.locked = true}, "held");
             m.files.setHolders("C:\\Boot\\BCD", {"记事本"});
         }},
        {"the system's store without the restore privilege", {"/restore", copyName}, "（SeRestorePrivilege），本程序没有得到：请从 WinPE 启动后再换回。",
         [](FakeMachine& m) {
             m.holdAsSystemStore("C:\\Boot\\BCD", Hive(false, {{"C:\\Windows", {}}}));
             m.registry.restoreError = 1314;
         }},
        {"a log of the store in place that can't move", {"/restore", copyName}, "或它的事务日志无法移开",
         [](FakeMachine& m) {
             m.files.addFile("C:\\Boot\\BCD.LOG", {}, "moves, and comes back");
             m.files.addFile("C:\\Boot\\BCD.LOG2", {.locked = true}, "held");
         }},
        {"a log where no store is, that can't be removed", {"/restore", copyName}, "不属于任何 BCD 存储的事务日志，无法删除",
         [](FakeMachine& m) {
             m.files.erase("C:\\Boot\\BCD");
             m.files.addFile("C:\\Boot\\BCD.LOG1", {.locked = true}, "held");
         }},
        {"a folder that can't be listed", {"/restore", copyName}, "所在的文件夹无法列出",
         [](FakeMachine& m) { m.files.failListing("C:\\Boot"); }},
        {"a copy that can't move into place", {"/restore", copyName}, "没能换回：旧副本 C:\\boot\\bcd.orvanta-0001-20261207-120000-ok 无法移到 C:\\boot\\bcd。\r\n原来的 BCD 存储在原处",
         [](FakeMachine& m) { m.files.addFile(Copy, {.unmovable = true}, Hive(false, {{"D:\\Windows", {}}})); },
         SystemErrorExitCode},
    };
    for (const RefusalCase& test : cases) {
        FakeMachine m;
        m.addThreeInstallations();
        m.files.addFile("C:\\Boot\\BCD", {.hidden = true}, Hive(false, {{"C:\\Windows", {}}}));
        m.files.addFile(Copy, {}, Hive(false, {{"D:\\Windows", {}}}));
        if (test.setup) test.setup(m);
        const Snapshot before = SnapshotOf(m);
        CollectedOutput output;
        EXPECT_EQ(RunWith(m, test.arguments, output), test.exitCode) << test.name;
        EXPECT_NE(output.text().find(test.said), std::string::npos) << test.name << "\n" << output.text();
        EXPECT_EQ(SnapshotOf(m), before) << test.name;
    }
}

// A store's logs go with it, and logs where no store is are removed: only
// the copy's own logs lie beside it once it is back.
TEST(Restore, OnlyTheCopysOwnLogsLieBesideItAfterwards) {
    struct LogCase {
        const char* name;
        bool storeInPlace;
        Lines logsInPlace;
        Lines logsAfter; // beside C:\Boot\BCD, with their content
    };
    const LogCase cases[] = {
        {"the store in place takes its logs along", true, {".LOG", ".LOG2"}, {"bcd.LOG1 the copy's"}},
        {"logs where no store is are removed", false, {".LOG"}, {"bcd.LOG1 the copy's"}},
    };
    for (const LogCase& test : cases) {
        FakeMachine m;
        m.addThreeInstallations();
        m.files.erase("C:\\Boot\\BCD");
        if (test.storeInPlace) m.files.addFile("C:\\Boot\\bcd", {}, Hive(false, {{"C:\\Windows", {}}}));
        for (const std::string& suffix : test.logsInPlace) m.files.addFile("C:\\Boot\\bcd" + suffix, {}, "the place's");
        m.files.addFile(Copy, {}, Hive(false, {{"D:\\Windows", {}}}));
        m.files.addFile(Copy + ".LOG1", {}, "the copy's");
        CollectedOutput output;
        EXPECT_EQ(RunWith(m, {"/restore", "\\boot\\bcd.orvanta-0001-20261207-120000-ok"}, output), RepairedExitCode) << test.name;
        Lines logs;
        for (const std::string& name : m.files.filesIn("C:\\Boot")) {
            if (name.starts_with("bcd.LOG")) logs.push_back(name + " " + m.files.contentOf("C:\\Boot\\" + name));
        }
        EXPECT_EQ(logs, test.logsAfter) << test.name;
        const std::string kept = FileStartingWith(m, "C:\\Boot", "bcd.orvanta-0002-");
        EXPECT_EQ(kept.empty(), !test.storeInPlace) << test.name;
        for (const std::string& suffix : test.logsInPlace) {
            EXPECT_EQ(m.files.contentOf(kept + suffix), test.storeInPlace ? "the place's" : "") << test.name << suffix;
        }
        EXPECT_EQ(m.journal.count("remove C:\\boot\\bcd.LOG"), test.storeInPlace ? 0U : 1U) << test.name;
    }
}

// The running system holds its store: it is saved through the registry, the
// registry restores the copy over it, and the copy stays in its folder, never
// pruned, though the rules alone would remove it.
TEST(Restore, TheSystemsStoreIsRestoredThroughTheRegistryAndTheCopyIsNeverPruned) {
    FakeMachine m;
    m.addThreeInstallations();
    m.holdAsSystemStore("C:\\Boot\\BCD", Hive(false, {{"C:\\Windows", {}}}));
    const std::string second = Hive(false, {{"D:\\Windows", {}}, {"C:\\Windows", {}}}, 1);
    for (const char* name : {"bcd.orvanta-0001-20261101-080000-ok", "bcd.orvanta-0003-20261103-080000-ok",
                             "bcd.orvanta-0004-20261104-080000-ok"}) {
        m.files.addFile(std::string("C:\\Boot\\") + name, {}, Hive(false, {{"E:\\Windows", {}}}));
    }
    m.files.addFile("C:\\Boot\\bcd.orvanta-0002-20261102-080000-ok", {}, second);
    CollectedOutput output;
    EXPECT_EQ(RunWith(m, {"/restore", "C:\\boot\\bcd.orvanta-0002-20261102-080000-ok"}, output), RepairedExitCode) << output.text();
    EXPECT_EQ(m.journal.only({"registry save", "registry restore", "remove"}),
              (Lines{"registry save BCD00000000 -> C:\\boot\\bcd.orvanta-0005-20261207-153000-ok",
                     "registry restore BCD00000000 <- C:\\boot\\bcd.orvanta-0002-20261102-080000-ok",
                     "remove C:\\boot\\bcd.orvanta-0003-20261103-080000-ok"}));
    EXPECT_EQ(m.files.contentOf("C:\\Boot\\BCD"), second);
    EXPECT_EQ(m.files.contentOf("C:\\Boot\\bcd.orvanta-0002-20261102-080000-ok"), second);
    EXPECT_NE(output.text().find("已通过注册表换回正在运行的系统所用的 BCD 存储 C:\\boot\\bcd：现在是旧副本 "
                                 "bcd.orvanta-0002-20261102-080000-ok 的内容，这个副本仍留在原处。"),
              std::string::npos) << output.text();
}

// A kept store is the boot as it was: it need not start every installation,
// but its default must start one found here, with a program its firmware runs.
TEST(Restore, AKeptStorePassesWhenItsDefaultStartsAnInstallationFoundHere) {
    const PartitionIdentity c{PartitionStyle::Gpt, {1}, 0, 0}, d{PartitionStyle::Gpt, {2}, 0, 0};
    const std::vector<CheckedInstallation> found{{"C:\\Windows", c}, {"D:\\Windows", d}};
    struct CheckCase {
        const char* name;
        bool uefi;
        std::vector<FakeLoader> loaders;
        int defaultIndex;
        std::vector<StoreProblem> problems;
        Lines withoutLoader;
    };
    const CheckCase cases[] = {
        {"from before D: was added", true, {{"C:\\Windows", c}}, 0, {}, {"D:\\Windows"}},
        {"no default", true, {{"C:\\Windows", c}, {"D:\\Windows", d}}, -1, {StoreProblem::NoDefault}, {}},
        {"its default on a disk that is gone", true, {{"C:\\Windows", {PartitionStyle::Gpt, {9}, 0, 0}}, {"D:\\Windows", d}}, 0,
         {StoreProblem::DefaultNotHere}, {"C:\\Windows"}},
        {"a BIOS program in a UEFI store", false, {{"C:\\Windows", c}}, 0, {StoreProblem::WrongProgram}, {"D:\\Windows"}},
    };
    for (const CheckCase& test : cases) {
        const std::string bytes = Hive(test.uefi, test.loaders, test.defaultIndex);
        const BcdStoreReading reading = ReadBcdStore(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        ASSERT_TRUE(reading.store) << test.name;
        std::vector<StoreProblem> problems;
        for (const StoreFinding& finding : CheckKeptStore(reading, StoreFirmware::Uefi, found).findings) {
            problems.push_back(finding.problem);
        }
        EXPECT_EQ(problems, test.problems) << test.name;
        EXPECT_EQ(InstallationsWithoutLoader(*reading.store, found), test.withoutLoader) << test.name;
    }

    // Put back, a store that fails the check is still in place: exit 1, and why.
    FakeMachine m;
    m.addThreeInstallations();
    m.files.addFile(Copy, {}, Hive(false, {{"C:\\Windows", {}}}, -1));
    CollectedOutput output;
    EXPECT_EQ(RunWith(m, {"/restore", "\\boot\\bcd.orvanta-0001-20261207-120000-ok"}, output), NotFullyRepairedExitCode);
    EXPECT_NE(output.text().find("警告！\r\n已换回 BCD 存储 C:\\boot\\bcd"), std::string::npos) << output.text();
    EXPECT_NE(output.text().find("检查发现它不能正常引导：\r\n　默认启动项不是已安装系统的 Windows 启动项。"), std::string::npos);
}

} // namespace
} // namespace orvanta
