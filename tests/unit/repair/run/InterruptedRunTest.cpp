#include <gtest/gtest.h>

#include <functional>

#include "app/commandline/CommandLineMode.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

const std::string BiosStore = "C:\\Boot\\BCD";
const std::string UefiStore = "C:\\EFI\\Microsoft\\Boot\\BCD";
const std::string BiosKept = "C:\\boot\\bcd.orvanta-0001-20261207-153000";

// A run that doesn't end as planned says what became of each store, as it
// is: put back, rebuilt, kept in place and changed (with where its content
// from before lies), or not put back (with where the old store lies). It
// never says every store went back unless every one did.
TEST(InterruptedRun, TheSummaryGivesEachStoresRealState) {
    struct StateCase {
        const char* name;
        std::function<void(FakeMachine&, CommandLineMode&)> setUp;
        int exitCode;
        std::vector<std::string> said;   // in the command line's output, in order
        std::vector<std::string> logged; // in the repair log
    };
    const StateCase cases[] = {
        {"the session ends: both put back",
         [](FakeMachine& m, CommandLineMode& mode) {
             m.processes.whileRunning("C:\\Windows /s C: /f bios", [&mode] { mode.onSessionEnding(); });
         },
         SystemErrorExitCode,
         {"Error!\r\n修复已中止：注销、关机或关闭了控制台窗口。\r\nBCD 存储都已恢复为修复前的样子。\r\n"},
         {"BIOS 的 BCD 存储 C:\\boot\\bcd：注销或关机：旧 BCD 存储已放回原处\r\n"}},
        {"the session ends: the system's store stays, changed, its content saved",
         [](FakeMachine& m, CommandLineMode& mode) {
             m.holdAsSystemStore(BiosStore);
             m.processes.whileRunning("C:\\Windows /s C: /f bios", [&mode] { mode.onSessionEnding(); });
         },
         SystemErrorExitCode,
         {"BIOS 的 BCD 存储 C:\\boot\\bcd：留在原处，可能已被工具改动，修复前的内容保存在 " + BiosKept + "。\r\n"
          "UEFI 的 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：已恢复为修复前的样子。\r\n"},
         {"BCD 存储 C:\\boot\\bcd：注销或关机：留在原处，可能已被工具改动；修复前的内容保存在 " + BiosKept + "\r\n",
          "BIOS 的 BCD 存储 C:\\boot\\bcd：注销或关机：留在原处，可能已被工具改动\r\n  旧 BCD 存储保留在：" + BiosKept + "\r\n"}},
        {"the session ends: a tool still holds the store, which can't go back",
         [](FakeMachine& m, CommandLineMode& mode) {
             m.processes.behave("C:\\Windows /s C: /f bios", {.waits = 3, .lingers = true});
             m.processes.whileRunning("C:\\Windows /s C: /f bios", [&m, &mode] {
                 m.files.addFile(BiosStore, {.locked = true}, "half written");
                 mode.onSessionEnding();
             });
         },
         SystemErrorExitCode,
         {"BIOS 的 BCD 存储 C:\\boot\\bcd：没能放回原处，旧 BCD 存储留在 C:\\boot\\bcd.orvanta-old。\r\n"
          "UEFI 的 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：已恢复为修复前的样子。\r\n"},
         {"BIOS 的 BCD 存储 C:\\boot\\bcd：注销或关机：旧 BCD 存储无法放回原处\r\n"}},
        {"putting one back fails: the other is still settled, and the program goes on",
         [](FakeMachine& m, CommandLineMode&) {
             m.processes.behave("C:\\Windows /s C: /f bios", {.exitCode = 5});
             m.processes.whileRunning("bootsect", [&m] { m.files.makeUnreadable("C:\\boot"); });
         },
         SystemErrorExitCode,
         {"Error!\r\n放回或保留旧 BCD 存储时出错（错误 21，设备未就绪）。\r\n"
          "BIOS 的 BCD 存储 C:\\boot\\bcd：没能放回原处，旧 BCD 存储留在 C:\\boot\\bcd.orvanta-old。\r\n"
          "UEFI 的 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：已重建。\r\n",
          "UEFI引导修复成功！"},
         {"BIOS 的 BCD 存储 C:\\boot\\bcd：旧 BCD 存储无法放回原处\r\n",
          "UEFI 的 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：已重建，检查通过\r\n",
          "放回或保留旧 BCD 存储时出错（错误 21，设备未就绪）\r\n"}},
    };
    for (const StateCase& test : cases) {
        FakeMachine m;
        m.addThreeInstallations();
        m.files.addFile(BiosStore, {}, "old");
        m.files.addFile(UefiStore, {}, "old");
        CollectedOutput output;
        CommandLineMode mode(m.platform(), output);
        test.setUp(m, mode);
        EXPECT_EQ(mode.run(ParseCommandLine({"/repair", "/log", "F:\\run.log"})), test.exitCode) << test.name;
        std::size_t from = 0;
        for (const std::string& part : test.said) {
            from = output.text().find(part, from);
            EXPECT_NE(from, std::string::npos) << test.name << "\n" << part << "\n" << output.text();
        }
        EXPECT_EQ(output.text().find("都已恢复") == std::string::npos, std::string(test.name).find("both put back") == std::string::npos)
            << test.name;
        const std::string log = m.files.contentOf("F:\\run.log");
        for (const std::string& line : test.logged) EXPECT_NE(log.find(line), std::string::npos) << test.name << "\n" << line << "\n" << log;
        EXPECT_EQ(log.find("：不存在"), std::string::npos) << test.name;
    }
}

// In the window, a failure while putting a store back is a box like any
// other: no handler ends the program, and the window is ready again.
TEST(InterruptedRun, AFailureWhilePuttingBackNeverEndsTheWindow) {
    FakeMachine m;
    m.addThreeInstallations();
    m.files.addFile(BiosStore, {}, "old");
    m.processes.behave("C:\\Windows /s C: /f bios", {.exitCode = 5});
    m.processes.whileRunning("bootsect", [&m] { m.files.makeUnreadable("C:\\boot"); });
    m.start();
    EXPECT_NO_THROW(m.controller.onRepairClicked());
    const std::vector<std::string> messages = m.journal.only({"message"});
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages.front().starts_with("message Error! 16 放回或保留旧 BCD 存储时出错")) << messages.front();
    EXPECT_EQ(m.repairButton.label, "开始修复");
}

} // namespace
} // namespace orvanta
