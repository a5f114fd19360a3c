#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "repair/run/RepairLock.h"

namespace orvanta {
namespace {

const std::string Refused = "另一个 Orvanta 正在修复系统引导，请等它完成后再修复。\r\n修复未开始，没有做任何更改。";

// Another instance may hold the repair's mutex, or have died holding it. A
// repair goes on only when this one holds it; looking is always allowed.
TEST(OneRepairAtATime, ARepairGoesOnOnlyWithTheMutexAndLookingNeedsNone) {
    struct MutexCase {
        MutexState found;
        bool repairs;
        MutexState after; // what this instance took, it gives back; another's stays another's
        const char* logged; // what the log notes of the mutex, "" for nothing
    };
    const MutexCase cases[] = {
        {MutexState::Free, true, MutexState::Free, ""},
        {MutexState::Held, false, MutexState::Held, ""},
        {MutexState::AccessDenied, false, MutexState::AccessDenied, ""}, // made by another elevated instance
        {MutexState::Abandoned, true, MutexState::Free,
         "上一个修复系统引导的 Orvanta 没有正常结束：它留下的旧 BCD 存储按中断的修复处理"},
        {MutexState::Failing, true, MutexState::Failing, "无法确认是否有另一个 Orvanta 正在修复（错误 1450），照常修复"},
    };
    for (const MutexCase& test : cases) {
        const int row = static_cast<int>(test.found);
        FakeMachine window;
        window.addThreeInstallations();
        window.mutexes.states[RepairMutexName] = test.found;
        window.start();
        window.journal.clear();
        window.controller.onRepairClicked();
        EXPECT_EQ(window.runs().size(), test.repairs ? 7U : 0U) << row;
        EXPECT_EQ(window.journal.only({"move", "registry save", "create"}).empty(), !test.repairs) << row;
        if (!test.repairs) {
            EXPECT_EQ(window.journal.only({"message"}), std::vector<std::string>{"message 警告！ 16 " + Refused}) << row;
        }
        const std::string log = window.files.contentOf(LogPathOfRepair);
        const bool notedMutex = log.find("没有正常结束") != std::string::npos || log.find("无法确认") != std::string::npos;
        EXPECT_EQ(notedMutex, *test.logged != '\0') << row;
        EXPECT_NE(log.find(test.logged), std::string::npos) << row;
        EXPECT_EQ(window.mutexes.states[RepairMutexName], test.after) << row;

        FakeMachine script;
        script.addThreeInstallations();
        script.mutexes.states[RepairMutexName] = test.found;
        CollectedOutput output;
        EXPECT_EQ(RunCommandLine(ParseCommandLine({"/list"}), script.platform(), output), RepairedExitCode) << row;
        EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), script.platform(), output),
                  test.repairs ? RepairedExitCode : RefusedExitCode) << row;
        EXPECT_EQ(script.runs().size(), test.repairs ? 7U : 0U) << row;
        EXPECT_EQ(output.text().find(Refused) != std::string::npos, !test.repairs) << row;
    }
}

// The mutex is asked for only once the repair may run as administrator: an
// instance without the rights is offered the restart, and holds nothing.
TEST(OneRepairAtATime, WithoutAdministratorRightsTheMutexIsNotTaken) {
    FakeMachine m;
    m.addThreeInstallations();
    m.elevation.elevated = false;
    m.messages.answer = false;
    m.start();
    m.controller.onRepairClicked();
    EXPECT_EQ(m.mutexes.attempts, 0);
    CollectedOutput output;
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), m.platform(), output), RefusedExitCode);
    EXPECT_EQ(m.mutexes.attempts, 0);
}

} // namespace
} // namespace orvanta
