#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/commandline/CommandLineMode.h"
#include "app/json/JsonSummary.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeBcdStores.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;
const std::string SummaryPath = "F:\\Out\\summary.json";

// A PC with Windows on C:, D: and E:, the kit on F:, where /json writes.
struct Summary : ::testing::Test {
    Summary() {
        m.addThreeInstallations();
        m.files.addFolder("F:\\Out");
    }
    int run(Lines arguments) {
        arguments.insert(arguments.end(), {"/json", SummaryPath});
        output = {};
        return mode.run(ParseCommandLine(arguments));
    }
    // What a script's JSON reader makes of the file, read by a library of its own.
    nlohmann::json document() const { return nlohmann::json::parse(m.files.contentOf(SummaryPath)); }

    FakeMachine m;
    CollectedOutput output;
    CommandLineMode mode{m.platform(), output};
};

TEST_F(Summary, ARepairWithEveryToolRunAndStoreAsItWent) {
    m.processes.behave("bootsect", {.exitCode = 5, .standardOutput = "\x1b[31mfailed\x1b[0m\r\n"});
    EXPECT_EQ(run({"/repair", "/default", "D:\\Windows"}), NotFullyRepairedExitCode);
    const nlohmann::json json = document();
    EXPECT_EQ(json["schemaVersion"], 1);
    EXPECT_EQ(json["program"]["version"], ProgramVersion);
    EXPECT_EQ(json["command"], "repair");
    EXPECT_EQ(json["completed"], true);
    EXPECT_EQ(json["exitCode"], 1);
    EXPECT_TRUE(json["refusal"].is_null() && json["stopReason"].is_null());
    EXPECT_EQ(json["firmware"]["mode"], "bios");
    EXPECT_EQ(json["installations"][1]["folder"], "D:\\Windows");
    EXPECT_EQ(json["installations"][1]["default"], true);
    EXPECT_EQ(json["installations"][0]["default"], false);
    EXPECT_EQ(json["log"], LogPathOfRepair);

    // Every run in its order, each as the plan had it, with its exit code and output.
    const nlohmann::json& runs = json["toolRuns"];
    ASSERT_EQ(runs.size(), 7U);
    EXPECT_EQ(runs[0]["commandLine"], "F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f bios /l zh-cn");
    EXPECT_EQ(runs[0]["exitCode"], 0);
    EXPECT_EQ(runs[6]["program"], "F:\\Kit\\bin\\bootsect.exe");
    EXPECT_EQ(runs[6]["exitCode"], 5);
    EXPECT_EQ(runs[6]["succeeded"], false);
    EXPECT_EQ(runs[6]["output"], "\x1b[31mfailed\x1b[0m\r\n");
    for (std::size_t index = 0; index < runs.size(); ++index) EXPECT_EQ(json["plan"]["commandLines"][index], runs[index]["commandLine"]);

    // Both stores rebuilt and checked, the old ones kept: where, and how.
    for (const auto& [index, path] : {std::pair{std::size_t{0}, "C:\\boot\\bcd"}, std::pair{std::size_t{1}, "C:\\EFI\\Microsoft\\Boot\\bcd"}}) {
        const nlohmann::json& store = json["stores"][index];
        EXPECT_EQ(store["path"], path);
        EXPECT_EQ(store["outcome"], "repaired");
        EXPECT_EQ(store["check"]["passed"], true);
        EXPECT_EQ(store["before"]["fault"], "notAHive"); // the old stores are empty files
        const nlohmann::json& entries = store["after"]["entries"];
        EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](const nlohmann::json& entry) { return entry["typeName"] == "windowsLoader"; }), 3);
        EXPECT_EQ(json["keptCopies"][index]["path"], std::string(path) + ".orvanta-0001-20261207-153000");
        EXPECT_EQ(json["keptCopies"][index]["how"], "keptAs");
    }
    EXPECT_EQ(json["warnings"], nlohmann::json::array());
    EXPECT_EQ(json["messages"].back()["title"], "警告！"); // the failed command, as the box would say it
}

// Whatever ends the command, the document says what was known by then.
TEST_F(Summary, ARefusalAPlanAndTheSessionsEndEachLeaveTheirDocument) {
    // A /default that names nothing found, with a control character and bytes
    // that are no UTF-8: said back escaped and made valid.
    m.devices.addDisk(1, {.layout = GptLayout({{1, false}}), .model = "ST1000DM003"});
    m.workers.neverAnswers("\\\\.\\PhysicalDrive1");
    EXPECT_EQ(run({"/repair", "/default", "G:\\Win\x01dows\xFF"}), RefusedExitCode);
    nlohmann::json json = document();
    EXPECT_EQ(json["skipped"][0]["kind"], "disk");
    EXPECT_EQ(json["skipped"][0]["model"], "ST1000DM003");
    EXPECT_EQ(json["warnings"][0]["code"], "diskNotAnswering"); // a run would go on without it
    EXPECT_EQ(json["exitCode"], 2);
    EXPECT_EQ(json["refusal"]["code"], "unknownDefault");
    EXPECT_NE(json["refusal"]["message"].get<std::string>().find("G:\\Win\x01dows\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(json["installations"].size(), 3U);
    EXPECT_TRUE(json["plan"].is_null() && json["toolRuns"].empty());

    m.files.addFile("C:\\Boot\\BCD", {.locked = true}, "old");
    m.files.setHolders("C:\\Boot\\BCD", {"记事本"});
    EXPECT_EQ(run({"/repair", "/plan"}), RefusedExitCode);
    json = document();
    EXPECT_EQ(json["command"], "plan");
    EXPECT_EQ(json["refusal"]["code"], "storeHeldByProgram");
    EXPECT_EQ(json["plan"]["stores"][0]["step"], "refusedHeld");
    EXPECT_EQ(json["plan"]["stores"][0]["holders"][0], "记事本");
    EXPECT_EQ(json["plan"]["stores"][1]["step"], "moveAside");
    EXPECT_EQ(json["plan"]["stores"][1]["copyFolder"], "C:\\EFI\\Microsoft\\Boot");
    EXPECT_TRUE(json["plan"]["commandLines"].empty());
    m.files.addFile("C:\\Boot\\BCD", {}, "old");

    // The session ends during C:'s first run: the document is written before
    // the process may be ended, with the runs so far and the stores put back.
    nlohmann::json atTheEnd;
    m.processes.whileRunning("C:\\Windows /s C: /f bios", [&] {
        mode.onSessionEnding(SessionEnd::SessionEnds);
        atTheEnd = document();
    });
    EXPECT_EQ(run({"/repair"}), SystemErrorExitCode);
    for (const nlohmann::json& said : {atTheEnd, document()}) {
        EXPECT_EQ(said["exitCode"], 3);
        EXPECT_EQ(said["stopReason"], "sessionEnded");
        EXPECT_EQ(said["stores"][0]["outcome"], "restored");
    }
    EXPECT_EQ(atTheEnd["toolRuns"].size(), 4U); // E:'s and D:'s; C:'s first was still running
    EXPECT_EQ(document()["toolRuns"].size(), 5U); // ...and then ended, stopped
}

// /restore after a repair: the copies it lists, then the one put back with
// the store it replaced and each step, and a name that is no kept copy refused.
TEST_F(Summary, RestoreListsTheKeptCopiesAndSaysWhatItPutBack) {
    m.files.addFile("C:\\Boot\\BCD", {}, FakeHiveBytes(FakeBcdTree(false, {{"C:\\Windows", *m.devices.identityOf("C:")}}, 0)));
    ASSERT_EQ(run({"/repair"}), RepairedExitCode) << output.text();
    ASSERT_EQ(run({"/restore"}), RepairedExitCode) << output.text();
    nlohmann::json json = document();
    EXPECT_EQ(json["command"], "restore");
    const nlohmann::json& bios = json["restore"]["copies"][0];
    EXPECT_EQ(bios["store"], "\\boot\\bcd");
    ASSERT_EQ(bios["copies"].size(), 1U) << bios;
    EXPECT_EQ(bios["copies"][0]["number"], 1);
    EXPECT_TRUE(json["restore"]["asked"].is_null());
    const std::string copy = bios["copies"][0]["path"];

    EXPECT_EQ(run({"/restore", "\\boot\\bcd.LOG1"}), RefusedExitCode);
    EXPECT_EQ(document()["refusal"]["code"], "notAKeptCopy");

    ASSERT_EQ(run({"/restore", copy}), RepairedExitCode) << output.text();
    json = document();
    const nlohmann::json& restore = json["restore"];
    EXPECT_EQ(restore["copy"], "C:" + copy);
    EXPECT_EQ(restore["restored"], true);
    EXPECT_EQ(restore["check"]["passed"], true);
    EXPECT_TRUE(restore["refusal"].is_null() && json["refusal"].is_null() && json["stopReason"].is_null());
    EXPECT_EQ(restore["replacedKeptAt"].get<std::string>().rfind("C:\\boot\\bcd.orvanta-0002-", 0), 0U) << restore;
    std::vector<std::string> steps;
    for (const nlohmann::json& step : restore["steps"]) steps.push_back(step["step"]);
    EXPECT_EQ(steps, (Lines{"keptBeforeRestore", "copyPutInPlace"}));
}

TEST_F(Summary, IsWrittenBeforeAnythingIsDoneOrTheCommandIsRefused) {
    // An earlier start's document is replaced at once: while the tools run
    // it says the command hasn't answered yet.
    m.files.addFile(SummaryPath, {}, R"({"exitCode": 0})");
    nlohmann::json whileRunning;
    m.processes.whileRunning("bootsect", [&] { whileRunning = document(); });
    EXPECT_EQ(run({"/repair"}), RepairedExitCode);
    EXPECT_EQ(whileRunning["completed"], false);
    EXPECT_TRUE(whileRunning["exitCode"].is_null());
    EXPECT_EQ(whileRunning["toolRuns"].size(), 6U);
    EXPECT_EQ(document()["exitCode"], 0);

    // A path that can't be written: refused, nothing looked at or changed.
    m.journal.clear();
    output = {};
    EXPECT_EQ(mode.run(ParseCommandLine({"/repair", "/json", "G:\\Missing\\summary.json"})), RefusedExitCode);
    EXPECT_NE(output.text().find("/json 指定的文件“G:\\Missing\\summary.json”无法写入"), std::string::npos) << output.text();
    EXPECT_EQ(m.journal.only({"run ", "move ", "map ", "drive strings"}), Lines{});

    // /list: the stores as they are.
    EXPECT_EQ(run({"/list"}), RepairedExitCode);
    const nlohmann::json listed = document();
    EXPECT_EQ(listed["command"], "list");
    EXPECT_EQ(listed["stores"][0]["path"], "C:\\boot\\bcd");
    EXPECT_EQ(listed["stores"][0]["current"]["readable"], true);
    EXPECT_TRUE(listed["plan"].is_null());
}

} // namespace
} // namespace orvanta
