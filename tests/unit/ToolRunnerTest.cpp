#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"
#include "platform/PlatformError.h"
#include "repair/ToolRunner.h"

namespace orvanta {
namespace {

const std::string Tool = "F:\\Kit\\Bin\\tool.exe /x";

struct ToolRunnerTest : ::testing::Test {
    ToolRunnerTest() { m.files.addFile("F:\\Kit\\Bin\\tool.exe"); }
    std::uint32_t wait() { return ToolRunner(m.processes, m.events).run(Tool).exitCode; }
    const ProcessRecord& process() const { return *m.processes.started().back(); }
    FakeMachine m;
};

TEST_F(ToolRunnerTest, ReturnsTheExitCodeExactlyWhenTheProcessEnds) {
    const std::pair<int, std::uint32_t> cases[] = {{1, 0}, {2, 5}, {5, 0}, {3, StillActiveExitCode}};
    for (const auto& [waits, exitCode] : cases) {
        FakeMachine pc;
        pc.files.addFile("F:\\Kit\\Bin\\tool.exe");
        pc.processes.behave("tool", {.waits = waits, .exitCode = exitCode});
        EXPECT_EQ(ToolRunner(pc.processes, pc.events).run(Tool), (ToolRun{Tool, exitCode}));
        const ProcessRecord& record = *pc.processes.started().back();
        EXPECT_EQ(record.waits, waits);
        EXPECT_EQ(pc.events.dispatches(), waits); // one dispatch after every wake-up
        EXPECT_TRUE(record.ended);
        EXPECT_TRUE(record.released);
        EXPECT_FALSE(record.releasedWhileRunning);
    }
}

TEST_F(ToolRunnerTest, UserActionsRunWhileTheToolIsStillRunning) {
    m.processes.behave("tool", {.waits = 2});
    bool ranWhileRunning = false;
    m.processes.whileRunning("tool", [&] { ranWhileRunning = !process().ended; });
    EXPECT_EQ(wait(), 0U);
    EXPECT_TRUE(ranWhileRunning);
    EXPECT_EQ(process().waits, 3); // the action's wake-up did not count as the end
}

TEST_F(ToolRunnerTest, AStartFailureReachesTheCallerWithoutAWait) {
    m.files.erase("F:\\Kit\\Bin\\tool.exe");
    try {
        wait();
        ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), 2U);
    }
    EXPECT_TRUE(m.processes.started().empty());
    EXPECT_EQ(m.events.dispatches(), 0);
}

} // namespace
} // namespace orvanta
