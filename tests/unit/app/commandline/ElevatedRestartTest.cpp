#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// The restart's marker opens the window as always; it is no command, it
// counts as an unknown argument beside anything else, and the usage keeps it
// to itself.
TEST(ElevatedRestart, TheMarkerOpensTheWindowAndIsNoCommand) {
    const CommandLineOptions restarted = ParseCommandLine({ElevatedRestartMarker});
    EXPECT_EQ(restarted.kind, CommandKind::Window);
    EXPECT_EQ(restarted.error, "");
    EXPECT_TRUE(restarted.restartedElevated);
    EXPECT_FALSE(ParseCommandLine({}).restartedElevated);
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"/repair", ElevatedRestartMarker},
                                                      std::vector<std::string>{ElevatedRestartMarker, "/list"}}) {
        EXPECT_EQ(ParseCommandLine(arguments).error, std::string("无法识别的参数：") + ElevatedRestartMarker);
    }
    EXPECT_EQ(UsageText().find("restarted"), std::string::npos);
}

// Started by the restart and still without the rights (user account control
// off, a standard user): no second offer, which would start the same
// unelevated program again and again, but how to get the rights.
TEST(ElevatedRestart, AnInstanceTheRestartLeftUnelevatedSaysHowToGetTheRightsInsteadOfAskingAgain) {
    FakeMachine m;
    m.addThreeInstallations();
    m.elevation.elevated = false;
    m.controller.markStartedByElevatedRestart();
    m.start();
    m.journal.clear();
    m.controller.onRepairClicked();
    const Lines messages = m.journal.only({"message", "ask", "restart"});
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_TRUE(messages[0].starts_with("message 警告！ 16 本程序已经以管理员身份重新运行，但仍然没有管理员权限"))
        << messages[0];
    EXPECT_NE(messages[0].find("以管理员身份运行"), std::string::npos);
    EXPECT_TRUE(messages[0].ends_with("修复未开始，没有做任何更改。"));
    EXPECT_EQ(m.journal.only({"move", "run", "block"}), Lines{});
    EXPECT_EQ(m.repairButton.label, "开始修复");
}

} // namespace
} // namespace orvanta
