#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "app/texts/UserMessages.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const std::string BlockShutdown = std::string("block shutdown ") + ShutdownBlockReason;
const std::string UnmapEsp = "unmap Z: \\Device\\Harddisk0\\Partition2";

// A UEFI PC: Windows on C: (disk 0), its ESP without a letter, which gets Z:.
void MakeUefiPc(FakeMachine& m) {
    m.addUefiPc();
}

// Logging off or shutting down is refused while the tools run and the old
// stores lie aside, and only then: not while the result boxes wait.
TEST(SessionEnd, IsRefusedWhileTheToolsRunNotWhileTheResultBoxesAreOpen) {
    FakeMachine m;
    m.addThreeInstallations();
    m.start();
    std::vector<bool> refused;
    m.processes.whileRunning("bootsect", [&] { refused.push_back(m.controller.onSessionEndRequested()); });
    m.messages.whileShown = [&] { refused.push_back(m.controller.onSessionEndRequested()); };
    m.journal.clear();
    m.controller.onRepairClicked();
    EXPECT_EQ(refused, (std::vector<bool>{true, false, false}));
    const Lines steps = m.journal.only({"block", "allow", "run", "message"});
    ASSERT_EQ(steps.size(), 11U);
    EXPECT_EQ(steps.front(), BlockShutdown);
    EXPECT_EQ(steps[8], "allow shutdown");
    EXPECT_TRUE(steps[9].starts_with("message 提示："));
    EXPECT_FALSE(m.controller.onSessionEndRequested());
}

// The Restart Manager asks only this program to close: the repair goes on
// (the close request after it is refused) and the ESP keeps its letter; the
// letter goes when the session really ends.
TEST(SessionEnd, ARequestToCloseOnlyThisProgramLeavesTheRunAndTheEspLetterAlone) {
    FakeMachine m;
    MakeUefiPc(m);
    m.start();
    bool closed = true;
    m.processes.whileRunning("C:\\Windows /s Z: /f bios", [&] {
        m.controller.onSessionEnding(SessionEnd::CloseRequested);
        closed = m.userClose();
    });
    m.controller.onRepairClicked();
    EXPECT_FALSE(closed);
    EXPECT_EQ(m.runs().size(), 3U);
    EXPECT_EQ(m.journal.count("unmap"), 0U);
    EXPECT_EQ(m.journal.count("message 提示： 64 UEFI引导修复成功！"), 1U);
    m.controller.onSessionEnding(SessionEnd::SessionEnds);
    EXPECT_EQ(m.journal.only({"unmap"}), Lines{UnmapEsp});
}

// Stopped because the session ends, bootsect is no failed tool.
TEST(SessionEnd, BootsectStoppedByTheSessionsEndIsNotAFailedTool) {
    FakeMachine m;
    m.addThreeInstallations();
    m.start();
    m.processes.whileRunning("bootsect", [&] { m.controller.onSessionEnding(); });
    m.controller.onRepairClicked();
    EXPECT_TRUE(m.processes.started().back()->terminated);
    const std::string log = m.files.contentOf("F:\\Kit\\Logs\\Orvanta-20261207-153000.log");
    EXPECT_NE(log.find("中止原因：注销或关机\r\n失败的命令：0 条\r\n"), std::string::npos) << log;
}

// On the command line, while the repair runs: Ctrl+C and Ctrl+Break are
// ignored (said once), the session's end is refused with the window's reason,
// a request to close only this program changes nothing, and the session's end
// or the console's closing puts the old stores back and takes the ESP's
// letter away. Before and after the repair, Ctrl+C ends the program.
TEST(SessionEnd, OnTheCommandLineTheRepairIsNotInterruptedAndItsEndPutsTheOldStoresBack) {
    FakeMachine m;
    MakeUefiPc(m);
    m.addFixedDrive('D');
    m.files.addFile("C:\\Boot\\BCD", {}, "old");
    m.files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD", {}, "old");
    CollectedOutput output;
    CommandLineMode mode(m.platform(), output);
    mode.setSessionWindow(0x4321);
    EXPECT_FALSE(mode.onInterruptRequested());
    EXPECT_FALSE(mode.onSessionEndRequested());
    std::vector<bool> answers;
    m.processes.whileRunning("D:\\Windows /s C: /f bios", [&] {
        answers = {mode.onInterruptRequested(), mode.onInterruptRequested(), mode.onSessionEndRequested()};
        mode.onSessionEnding(SessionEnd::CloseRequested);
    });
    m.processes.whileRunning("C:\\Windows /s C: /f bios", [&] { mode.onSessionEnding(SessionEnd::SessionEnds); });

    EXPECT_EQ(mode.run(ParseCommandLine({"/repair", "/s", "C:"})), SystemErrorExitCode);
    EXPECT_EQ(answers, (std::vector<bool>{true, true, true}));
    const std::string said = output.text();
    const std::size_t refusal = said.find(RepairNotInterruptibleText);
    EXPECT_NE(refusal, std::string::npos) << said;
    EXPECT_EQ(said.find(RepairNotInterruptibleText, refusal + 1), std::string::npos) << said;
    EXPECT_EQ(m.runs().size(), 3U); // D:'s two runs went on; C:'s first was stopped
    EXPECT_TRUE(m.processes.started().back()->terminated);
    EXPECT_EQ(m.files.contentOf("C:\\Boot\\BCD"), "old");
    EXPECT_EQ(m.files.contentOf("C:\\EFI\\Microsoft\\Boot\\BCD"), "old");
    EXPECT_FALSE(m.files.isFile("C:\\Boot\\BCD.orvanta-old") || m.files.isFile("C:\\EFI\\Microsoft\\Boot\\BCD.orvanta-old"));
    EXPECT_EQ(m.journal.only({"block", "allow", "unmap"}), (Lines{BlockShutdown, UnmapEsp, "allow shutdown"}));
    EXPECT_FALSE(mode.onInterruptRequested());
}

} // namespace
} // namespace orvanta
