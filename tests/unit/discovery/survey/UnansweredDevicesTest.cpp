#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "app/texts/UnansweredTexts.h"
#include "discovery/disks/DeviceQueries.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;
constexpr std::uint64_t Never = std::numeric_limits<std::uint64_t>::max();
const std::string Disk0 = "\\\\.\\PhysicalDrive0";
const std::string Disk1 = "\\\\.\\PhysicalDrive1";
const std::string VolumeE = "\\\\.\\E:";
const std::string Disk1Skipped = "磁盘 1（ST1000DM003-1CH162）10 秒没有响应，已跳过：它上面的系统不会被修复";

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t Opened(const Journal& journal, const std::string& device) {
    const Lines& lines = journal.lines();
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), "open " + device));
}

// Windows on C: (disk 0, MBR, the active partition: the boot partition), on
// D: (disk 1, GPT, a Seagate) and on E: (which the system can't place), the
// tools and both old stores on C:. A delay stands for how long a disk or
// E:'s volume takes to answer once asked beyond who it is.
struct SlowPc {
    SlowPc() {
        m.addThreeInstallations();
        m.devices.set("C:", {.location = VolumeLocation{0, 1}});
        m.devices.set("D:", {.location = VolumeLocation{1, 1}});
        m.devices.addDisk(0, {MbrLayout({{1, false, 1048576, 104857600, true}})});
        m.devices.addDisk(1, {.layout = GptLayout({{1, false}}), .model = "ST1000DM003-1CH162"});
    }
    void delay(const std::string& device, std::uint64_t milliseconds) {
        if (milliseconds == Never) m.workers.neverAnswers(device);
        else if (milliseconds != 0) m.workers.answersAfter(device, milliseconds);
    }
    int run(std::initializer_list<std::string> arguments) {
        return RunCommandLine(ParseCommandLine(arguments), m.platform(), output);
    }
    FakeMachine m;
    CollectedOutput output;
};

TEST(UnansweredDevices, WhatDidntAnswerInTenSecondsIsLeftOutAndNamedWhatWasOnlySlowIsNot) {
    const struct {
        std::uint64_t disk1, volumeE;
        std::string skipped; // the status line's second line
        Lines listed;
    } cases[] = {
        {9000, 0, "", {"C:\\Windows", "D:\\Windows", "E:\\Windows"}},
        {12000, 0, "磁盘 1 没有响应，已跳过", {"C:\\Windows", "E:\\Windows"}},
        {Never, 0, "磁盘 1 没有响应，已跳过", {"C:\\Windows", "E:\\Windows"}},
        {0, Never, "驱动器 E: 没有响应，已跳过", {"C:\\Windows", "D:\\Windows"}},
        {Never, Never, "磁盘 1、驱动器 E: 没有响应，已跳过", {"C:\\Windows"}},
    };
    for (const auto& [disk1, volumeE, skipped, listed] : cases) {
        SlowPc pc;
        pc.delay(Disk1, disk1);
        pc.delay(VolumeE, volumeE);
        pc.m.start();
        const std::string count = "当前电脑硬盘里共发现" + std::to_string(listed.size()) + "个系统！";
        EXPECT_EQ(pc.m.statusLine.label, skipped.empty() ? count : count + "\r\n" + skipped);
        EXPECT_EQ(pc.m.installationList.entries, listed);
        const std::string log = pc.m.files.contentOf(LogPathOfRepair);
        EXPECT_EQ(Holds(log, Disk1Skipped), disk1 > 10000) << log;
        EXPECT_EQ(Holds(log, "驱动器 E: 10 秒没有响应，已跳过：它上面的系统不会被修复"), volumeE == Never) << log;
        // What the late disk said (in the fake, at once) is not used.
        EXPECT_EQ(Holds(log, "  磁盘 1：GPT"), disk1 <= 10000) << log;
        EXPECT_EQ(pc.m.journal.count("cancel"), (disk1 > 10000 ? 1U : 0U) + (volumeE == Never ? 1U : 0U));
    }
}

// The second line of the status line ends before the repair button: past 40
// columns (a Chinese character two) the names give way to a count, shorter
// still beside a drive that BitLocker keeps locked.
TEST(UnansweredDevices, TheStatusLineNamesWhatFitsAndCountsTheRest) {
    const auto drive = [](const std::string& name, bool locked) {
        return ScannedDrive{.name = name, .type = locked ? 3U : 0U, .locked = locked, .answered = locked};
    };
    const struct {
        std::vector<ScannedDrive> drives;
        std::vector<std::uint32_t> disks;
        std::string secondLine;
    } cases[] = {
        {{drive("D:", false)}, {1}, "磁盘 1、驱动器 D: 没有响应，已跳过"},
        {{}, {1, 3, 15}, "磁盘 1、磁盘 3、磁盘 15 没有响应，已跳过"}, // 40 columns
        {{drive("D:", false)}, {1, 3}, "3 个磁盘或驱动器没有响应，已跳过"},
        {{drive("G:", true)}, {1}, "G: 已被 BitLocker 锁定；1 个没有响应"},
    };
    for (const auto& [drives, disks, secondLine] : cases) {
        MachineSurvey survey;
        survey.scan.drives = drives;
        for (const std::uint32_t number : disks) survey.unansweredDisks.push_back({number, "A MODEL THAT STAYS OUT"});
        EXPECT_EQ(SurveyStatusText(survey), "当前电脑硬盘里未发现操作系统！\r\n" + secondLine);
    }
}

// The rescan at the click doesn't ask a disk whose worker is still stuck; the
// question before the run names it; once it answers, it is asked again.
TEST(UnansweredDevices, AStuckDiskIsNotAskedAgainUntilItAnswersAndItsSystemsWait) {
    SlowPc pc;
    pc.delay(Disk1, Never);
    pc.m.start();
    pc.m.journal.clear();
    pc.m.controller.onRepairClicked();
    EXPECT_EQ(Opened(pc.m.journal, Disk1), 0U);
    EXPECT_EQ(pc.m.journal.only({"ask"}),
              Lines{"ask 警告！ 48 " + Disk1Skipped + "。\r\n选“否”则不做任何更改。是否继续修复？"});
    EXPECT_EQ(pc.m.journal.count("run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows"), 0U);
    EXPECT_EQ(pc.m.runs().size(), 5U); // E: and C:, then bootsect
    // The log says so after the start-up survey's lines and again at the click.
    EXPECT_TRUE(Holds(pc.m.files.contentOf(LogPathOfRepair), "\r\n" + Disk1Skipped + "\r\n" + Disk1Skipped + "\r\n"));

    pc.m.workers.release(Disk1);
    pc.m.journal.clear();
    pc.m.controller.onRepairClicked();
    EXPECT_EQ(Opened(pc.m.journal, Disk1), 1U);
    EXPECT_EQ(pc.m.journal.only({"ask"}), Lines{});
    EXPECT_EQ(pc.m.journal.count("run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows"), 2U);
}

TEST(UnansweredDevices, ABootPartitionOnWhatDidntAnswerIsRefusedAndNothingIsTouched) {
    const struct {
        std::string device, bootPartition, refusal;
    } cases[] = {
        {Disk0, "C:", "引导盘 C: 所在的磁盘 0（型号不明）10 秒没有响应：引导文件写不到一个不响应的磁盘上。"},
        {VolumeE, "E:", "引导盘 E: 10 秒没有响应：引导文件写不到一个不响应的磁盘上。"},
    };
    for (const auto& [device, bootPartition, refusal] : cases) {
        SlowPc pc;
        pc.delay(device, Never);
        pc.m.start();
        pc.m.bootPartitionBox.value = bootPartition;
        pc.m.controller.onRepairClicked();
        EXPECT_EQ(pc.run({"/repair", "/s", bootPartition}), RefusedExitCode);
        const Lines said = pc.m.journal.only({"message", "ask", "run", "move"});
        ASSERT_EQ(said.size(), 1U) << bootPartition;
        EXPECT_TRUE(said[0].starts_with("message 警告！ 16 " + refusal)) << said[0];
        EXPECT_TRUE(Holds(pc.output.text(), refusal + "\r\n")) << pc.output.text();
        EXPECT_TRUE(Holds(pc.output.text(), "修复未开始，没有做任何更改。"));
        // Refused before anything asks the boot partition, which would wait on it.
        EXPECT_EQ(pc.m.journal.count("file system " + bootPartition), 0U);
        EXPECT_EQ(pc.m.journal.count("free space " + bootPartition), 0U);
    }
}

TEST(UnansweredDevices, TheCommandLineNamesItInListAndRepairsTheRestAsNotFullyRepaired) {
    SlowPc pc;
    pc.delay(Disk1, Never);
    EXPECT_EQ(pc.run({"/list"}), RepairedExitCode);
    EXPECT_TRUE(Holds(pc.output.text(), "找到的系统：C:\\Windows，E:\\Windows\r\n" + Disk1Skipped + "\r\n")) << pc.output.text();
    EXPECT_EQ(pc.run({"/repair"}), NotFullyRepairedExitCode);
    EXPECT_TRUE(Holds(pc.output.text(), "警告！\r\n" + Disk1Skipped + "。\r\n命令行不询问，继续修复；")) << pc.output.text();
    EXPECT_EQ(pc.m.runs().size(), 5U);
}

// Surveying: the window is shown first, saying so, with the two buttons
// waiting; a close then ends it at once, whatever it was doing.
TEST(UnansweredDevices, TheWindowSaysItSurveysAndClosingEndsTheSurveyAtOnce) {
    SlowPc pc;
    pc.delay(Disk1, 5000);
    pc.m.controller.onInitialize();
    pc.m.controller.onLoad();
    EXPECT_EQ(pc.m.statusLine.label, "正在查找系统……");
    EXPECT_EQ(pc.m.journal.only({"enable", "drive strings"}), (Lines{"enable repairButton 0", "enable browseButton 0"}));
    // Clicks sent to the waiting buttons anyway do nothing.
    pc.m.events.post([&] {
        pc.m.controller.onRepairClicked();
        pc.m.controller.onBrowseClicked();
    });
    pc.m.events.post([&] { pc.m.userClose(); });
    pc.m.controller.onShown();
    EXPECT_EQ(pc.m.journal.count("drive strings"), 1U);
    EXPECT_EQ(pc.m.journal.only({"browse "}), Lines{});
    EXPECT_EQ(pc.m.statusLine.label, "正在查找系统……");
    EXPECT_EQ(pc.m.installationList.entries, Lines{});
    EXPECT_EQ(pc.m.journal.count("caption firmwareLine"), 0U);
    EXPECT_EQ(pc.m.journal.count("open " + DiskPath(9)), 0U); // not started
}

TEST(ClosingBeforeARun, ReleasesTheEspLetterAndRunsNothing) {
    for (const bool duringQuestion : {false, true}) {
        FakeMachine m;
        m.addUefiPc();
        if (duringQuestion) {
            m.devices.addDisk(1, {GptLayout({{1, false}})}); // named in the question
            m.workers.neverAnswers(DiskPath(1));
            m.messages.whileAsked = [&] { m.userClose(); };
        }
        m.start();
        ASSERT_EQ(m.journal.count("map Z:"), 1U);
        if (!duringQuestion) {
            m.workers.answersAfter(DiskPath(0), 3000);
            m.events.post([&] { m.userClose(); });
        }
        m.journal.clear();
        m.controller.onRepairClicked();
        EXPECT_EQ(m.journal.count("close accepted"), 1U);
        EXPECT_EQ(m.journal.only({"run", "move", "caption repairButton"}), Lines{}) << duringQuestion;
        EXPECT_EQ(m.journal.only({"unmap"}), Lines{"unmap Z: \\Device\\Harddisk0\\Partition2"}) << duringQuestion;
    }
}

} // namespace
} // namespace orvanta
