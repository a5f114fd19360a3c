#include <gtest/gtest.h>

#include <functional>

#include "app/commandline/CommandLineMode.h"
#include "fakes/BootSectors.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// A BIOS PC with one MBR disk holding Windows' boot code: C: (BitLocker) is
// partition 1, D: partition 2 and active, E: partition 3; Windows on all
// three, the kit on F:, both old stores on C: and on D:.
struct BiosPc {
    BiosPc() {
        m.addThreeInstallations();
        setBootCode(WindowsMasterBootRecord());
        m.files.addFile("D:\\Boot\\BCD", {}, "old");
        m.files.addFile("D:\\EFI\\Microsoft\\Boot\\BCD", {}, "old");
    }
    void setBootCode(const Sector& code) { m.addMbrDiskOfThree(code); }
    int run(const Lines& arguments) {
        output = {};
        return RunCommandLine(ParseCommandLine(arguments), m.platform(), output);
    }
    // What changes a disk or the machine: a tool run (bcdboot's usage text
    // aside), a move, a folder made, a file removed, a letter given, a
    // firmware variable or a registry copy written.
    Lines changes() const {
        Lines changed;
        for (const std::string& line : m.journal.only({"run ", "move ", "create ", "remove ", "map ", "firmware write",
                                                       "registry save"})) {
            if (!line.ends_with(" /?")) changed.push_back(line);
        }
        return changed;
    }
    // The command lines the plan printed, in their order.
    Lines plannedCommands() const {
        Lines commands;
        const std::string& text = output.text();
        std::size_t at = text.find("依次运行的命令：\r\n");
        if (at == std::string::npos) return commands;
        for (at = text.find("\r\n", at) + 2; text.compare(at, 2, "  ") == 0; at = text.find("\r\n", at) + 2) {
            commands.push_back("run " + text.substr(at + 2, text.find("\r\n", at) - at - 2));
        }
        return commands;
    }

    FakeMachine m;
    CollectedOutput output;
};

// Each plan says what the repair would do and answers as it would, before
// anything changes; where it would run, the same switches without /plan run
// exactly the command lines it printed.
TEST(RepairPlan, TellsWhatTheRepairWouldDoAndAnswersAsItWouldChangingNothing) {
    const Lines onD{"/repair", "/plan", "/s", "D:", "/default", "D:\\Windows"};
    struct Case {
        const char* what;
        std::function<void(BiosPc&)> arrange;
        Lines arguments;
        int exitCode;
        std::vector<std::string> said;
    } cases[] = {
        {"nothing to warn of", [](BiosPc&) {}, onD, RepairedExitCode,
         {"\r\n\r\n修复计划（只查看，不做任何更改）：\r\n引导盘：D:（NTFS）\r\n引导盘所在：磁盘 0 分区 2，MBR 磁盘，活动分区，",
          "修复顺序（最后一个为默认系统）：E:\\Windows，C:\\Windows，D:\\Windows\r\n",
          "  D:\\boot\\bcd：修复时先移到 D:\\boot\\bcd.orvanta-old；工具成功后旧 BCD 存储保留在 D:\\boot，名为 "
          "bcd.orvanta-<编号>-<日期>-<时间>（检查通过的再加 -ok），失败则放回原处\r\n",
          "依次运行的命令：\r\n  F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s D: /f bios /l zh-cn\r\n",
          "\r\n结论：可以修复，没有警告（退出代码 0）。以上只是计划，没有做任何更改。\r\n"}},
        {"GRUB's code in the MBR", [](BiosPc& pc) { pc.setBootCode(GrubMasterBootRecord()); }, onD, NotFullyRepairedExitCode,
         {"警告：\r\n  磁盘 0 的主引导记录里是 GRUB 的引导代码：", "结论：可以修复，但有 1 条警告，"}},
        {"a store another program holds",
         [](BiosPc& pc) {
             pc.m.files.addFile("D:\\Boot\\BCD", {.locked = true}, "old");
             pc.m.files.setHolders("D:\\Boot\\BCD", {"记事本"});
         },
         onD, RefusedExitCode, {"  D:\\boot\\bcd：正被其他程序打开（记事本）：修复会被拒绝\r\n", "结论：修复会被拒绝（退出代码 2）。"}},
        {"a disk that doesn't answer",
         [](BiosPc& pc) {
             pc.m.devices.addDisk(1, {.layout = GptLayout({{1, false}}), .model = "ST1000DM003"});
             pc.m.workers.neverAnswers("\\\\.\\PhysicalDrive1");
         },
         onD, NotFullyRepairedExitCode,
         {"警告：\r\n  磁盘 1（ST1000DM003）10 秒没有响应，已跳过：它上面的系统不会被修复\r\n结论：可以修复，但有 1 条警告，"}},
        {"an encrypted boot partition", [](BiosPc&) {}, {"/repair", "/plan", "/s", "C:"}, RefusedExitCode,
         {"警告！\r\n引导盘 C: 已用 BitLocker 加密：", "结论：修复会被拒绝（退出代码 2）。"}},
        {"too little room", [](BiosPc& pc) { pc.m.files.setFreeBytes("D:", 256 * 1024); }, onD, RefusedExitCode,
         {"引导盘可用空间：0.2 MB，引导文件需要约 0.4 MB\r\n", "的可用空间不够："}},
        {"no such installation", [](BiosPc&) {}, {"/repair", "/plan", "/default", "G:\\Windows"}, RefusedExitCode,
         {"找到的系统：C:\\Windows，D:\\Windows，E:\\Windows\r\n", "“G:\\Windows”没有找到", "结论：修复会被拒绝"}},
    };
    for (const Case& c : cases) {
        BiosPc pc;
        c.arrange(pc);
        EXPECT_EQ(pc.run(c.arguments), c.exitCode) << c.what << pc.output.text();
        for (const std::string& said : c.said) EXPECT_NE(pc.output.text().find(said), std::string::npos) << c.what << "\n" << said << "\n" << pc.output.text();
        EXPECT_EQ(pc.changes(), Lines{}) << c.what;
        EXPECT_EQ(pc.m.mutexes.attempts, 0) << c.what;
        EXPECT_EQ(pc.m.files.isFolder("F:\\Kit\\Logs"), false) << c.what; // not even a log
        const Lines planned = pc.plannedCommands();
        EXPECT_EQ(planned.empty(), c.exitCode == RefusedExitCode) << c.what;
        if (planned.empty()) continue;
        Lines repair = c.arguments;
        repair.erase(repair.begin() + 1);
        pc.run(repair);
        EXPECT_EQ(pc.m.runs(), planned) << c.what;
    }
}

// On a UEFI PC the ESP gets its letter for the plan, and loses it at the end.
TEST(RepairPlan, GivesTheEspALetterOnlyForAsLongAsItLooks) {
    FakeMachine m;
    m.addUefiPc();
    CollectedOutput output;
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair", "/plan"}), m.platform(), output), RepairedExitCode) << output.text();
    EXPECT_EQ(m.journal.only({"map ", "unmap "}), (Lines{"map Z: \\Device\\Harddisk0\\Partition2", "unmap Z: \\Device\\Harddisk0\\Partition2"}));
    EXPECT_NE(output.text().find("EFI 系统分区：磁盘 0 分区 2，盘符 Z:（本程序临时分配，退出时收回）\r\n"), std::string::npos);
    EXPECT_NE(output.text().find("  Z:\\EFI\\Microsoft\\Boot\\bcd：不存在，由 bcdboot 新建\r\n"), std::string::npos) << output.text();
    EXPECT_NE(output.text().find("  F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s Z: /f uefi /l zh-cn\r\n"), std::string::npos);
}

} // namespace
} // namespace orvanta
