#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"
#include "platform/errors/PlatformError.h"
#include "repair/tools/ToolRunner.h"

namespace orvanta {
namespace {

const std::string Tool = "F:\\Kit\\Bin\\tool.exe /x";

struct ToolRunnerTest : ::testing::Test {
    ToolRunnerTest() { m.files.addFile("F:\\Kit\\Bin\\tool.exe"); }
    ToolRun run(FakeMachine& pc) { return ToolRunner(pc.processes, pc.events, pc.consoleCodePage, pc.clock).run(Tool); }
    const ProcessRecord& process() const { return *m.processes.started().back(); }
    FakeMachine m;
};

TEST_F(ToolRunnerTest, ReturnsTheExitCodeExactlyWhenTheProcessEnds) {
    const std::pair<int, std::uint32_t> cases[] = {{1, 0}, {2, 5}, {5, 0}, {3, StillActiveExitCode}};
    for (const auto& [waits, exitCode] : cases) {
        FakeMachine pc;
        pc.files.addFile("F:\\Kit\\Bin\\tool.exe");
        pc.processes.behave("tool", {.waits = waits, .exitCode = exitCode});
        const ToolRun done = run(pc);
        EXPECT_EQ(done.exitCode, exitCode);
        EXPECT_EQ(done.succeeded(), exitCode == 0);
        const ProcessRecord& record = *pc.processes.started().back();
        EXPECT_EQ(record.waits, waits);
        EXPECT_EQ(pc.events.dispatches(), waits); // one dispatch after every wake-up
        EXPECT_TRUE(record.ended);
        EXPECT_TRUE(record.released);
        EXPECT_FALSE(record.releasedWhileRunning);
        EXPECT_EQ(record.workingFolder, "F:\\Kit\\Bin"); // the tool's own folder, not wherever Orvanta started
    }
}

TEST_F(ToolRunnerTest, UserActionsRunWhileTheToolIsStillRunning) {
    m.processes.behave("tool", {.waits = 2});
    bool ranWhileRunning = false;
    m.processes.whileRunning("tool", [&] { ranWhileRunning = !process().ended; });
    EXPECT_EQ(run(m).exitCode, 0U);
    EXPECT_TRUE(ranWhileRunning);
    EXPECT_EQ(process().waits, 3); // the action's wake-up did not count as the end
}

TEST_F(ToolRunnerTest, AStartFailureIsReturnedWithoutAWaitAndNamesTheProgram) {
    m.processes.behave("tool", {.startFails = true});
    const ToolRun done = run(m);
    ASSERT_TRUE(done.startError.has_value());
    EXPECT_EQ(done.startError->number(), 193U);
    EXPECT_EQ(done.startError->description(), "F:\\Kit\\Bin\\tool.exe 不是有效的 Win32 应用程序。");
    EXPECT_FALSE(done.succeeded());
    EXPECT_TRUE(m.processes.started().empty());
    EXPECT_EQ(m.events.dispatches(), 0);
}

TEST_F(ToolRunnerTest, WhatTheToolWroteIsKeptDecodedWithItsTimes) {
    const std::string gbk = "\xCE\xDE\xB7\xA8\xB8\xB4\xD6\xC6\xD2\xFD\xB5\xBC\xCE\xC4\xBC\xFE\xA1\xA3"; // 无法复制引导文件。
    m.consoleCodePage.known[gbk + "\r\n"] = "无法复制引导文件。\r\n";
    m.processes.behave("tool", {.exitCode = 1, .standardOutput = "Failure.\r\n", .standardError = gbk + "\r\n"});
    const ToolRun done = run(m);
    EXPECT_EQ(done.standardOutput, "Failure.\r\n");
    EXPECT_EQ(done.standardError, "无法复制引导文件。\r\n");
    EXPECT_EQ(done.output(), "Failure.\r\n无法复制引导文件。\r\n");
    EXPECT_EQ(done.startedAt.hour, 15);
    EXPECT_EQ(done.milliseconds, 1000U);
}

TEST(FillInserts, FillsTheFirstInsertAndDropsTheOthers) {
    EXPECT_EQ(FillInserts("%1 不是有效的 Win32 应用程序。", "F:\\bootsect.exe"), "F:\\bootsect.exe 不是有效的 Win32 应用程序。");
    EXPECT_EQ(FillInserts("Bad EXE format for %1.", "a.exe"), "Bad EXE format for a.exe.");
    EXPECT_EQ(FillInserts("%2 and %1 at 100%", "x"), " and x at 100%");
}

} // namespace
} // namespace orvanta
