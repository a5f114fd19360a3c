#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "fakes/FakeBcdStores.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "platform/text/DisplayWidth.h"

namespace orvanta {
namespace {

using Arguments = std::vector<std::string>;

TEST(ParseCommandLine, AcceptsTheCommandsAndTheirSwitchesInAnyCaseWithSlashOrDash) {
    EXPECT_EQ(ParseCommandLine({}).kind, CommandKind::Window);
    EXPECT_EQ(ParseCommandLine({"/?"}).kind, CommandKind::Usage);
    EXPECT_EQ(ParseCommandLine({"-LIST"}).kind, CommandKind::List);
    const CommandLineOptions repair =
        ParseCommandLine({"/s", "d:", "-Repair", "/DEFAULT", "E:\\Windows", "/log", "F:\\r.log"});
    EXPECT_EQ(repair.error, "");
    EXPECT_EQ(repair.kind, CommandKind::Repair);
    EXPECT_EQ(repair.bootPartition, "d:");
    EXPECT_EQ(repair.defaultInstallation, "E:\\Windows");
    EXPECT_EQ(repair.logPath, "F:\\r.log");
    EXPECT_TRUE(ParseCommandLine({"/repair", "-NoDefault"}).noDefault);
    EXPECT_TRUE(ParseCommandLine({"-FWEntry", "/repair"}).writeBootEntry);
    const CommandLineOptions plan = ParseCommandLine({"/repair", "-PLAN", "/s", "Z:", "/JSON", "F:\\plan.json"});
    EXPECT_TRUE(plan.error.empty() && plan.plan);
    EXPECT_EQ(plan.jsonPath, "F:\\plan.json");
    EXPECT_EQ(ParseCommandLine({"/json", "out.json", "/list"}).jsonPath, "out.json");
}

TEST(ParseCommandLine, RefusesWhatItCantUseWithAClearMessage) {
    const std::pair<Arguments, std::string> cases[] = {
        {{"/repair", "/x"}, "无法识别的参数：/x"},
        {{"C:"}, "无法识别的参数：C:"},
        {{"/repair", "/s"}, "参数 /s 后面缺少盘符（例如 C:）。"},
        {{"/repair", "/default", "/nodefault"}, "参数 /default 后面缺少系统（例如 D:\\Windows）。"},
        {{"/repair", "/log"}, "参数 /log 后面缺少文件名。"},
        {{"/list", "/repair"}, "只能给出 /?、/list、/repair 和 /restore 中的一个。"},
        {{"/list", "/s", "C:"}, "/s 和 /log 只能与 /repair 或 /restore 一起使用。"},
        {{"/repair", "/default", "C:\\Windows", "/nodefault"}, "/default 和 /nodefault 不能同时使用。"},
        {{"/nodefault"}, "/default、/nodefault 和 /fwentry 只能与 /repair 一起使用。"},
        {{"/list", "/fwentry"}, "/default、/nodefault 和 /fwentry 只能与 /repair 一起使用。"},
        {{"/restore", "/fwentry"}, "/default、/nodefault 和 /fwentry 只能与 /repair 一起使用。"},
        {{"/repair", "\\boot\\bcd.orvanta-0001-20261207-153000"}, "无法识别的参数：\\boot\\bcd.orvanta-0001-20261207-153000"},
        {{"/restore", "\\boot\\a", "\\boot\\b"}, "无法识别的参数：\\boot\\b"},
        {{"/list", "/plan"}, "/plan 只能与 /repair 一起使用。"},
        {{"/repair", "/plan", "/log", "F:\\r.log"}, "/plan 不能与 /log 或 /fwentry 一起使用。"},
        {{"/repair", "/fwentry", "/plan"}, "/plan 不能与 /log 或 /fwentry 一起使用。"},
        {{"/json", "out.json"}, "/json 只能与 /list、/repair 或 /restore 一起使用。"}, // with the window: a bad argument
        {{"/?", "/json", "out.json"}, "/json 只能与 /list、/repair 或 /restore 一起使用。"},
        {{"/repair", "/json"}, "参数 /json 后面缺少文件名。"},
    };
    for (const auto& [arguments, error] : cases) EXPECT_EQ(ParseCommandLine(arguments).error, error) << arguments[0];
}

struct CommandLineRepair : ::testing::Test {
    CommandLineRepair() { m.addThreeInstallations(); }
    int run(const Arguments& arguments) {
        const CommandLineOptions options = ParseCommandLine(arguments);
        return RunCommandLine(options, m.platform(), output);
    }
    FakeMachine m;
    CollectedOutput output;
};

TEST_F(CommandLineRepair, RunsTheButtonsRepairWithTheChosenDefaultAndLogsIt) {
    EXPECT_EQ(run({"/repair", "/default", "d:\\windows", "/s", "C:", "/log", "F:\\run.log"}), RepairedExitCode);
    EXPECT_EQ(m.runs().back(), "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr");
    EXPECT_EQ(m.runs()[4], "run F:\\Kit\\Bin\\bcdboot.exe D:\\Windows /s C: /f bios /l zh-cn"); // the default runs last
    for (const char* said : {"运行：F:\\Kit\\Bin\\bcdboot.exe E:\\Windows /s C: /f bios /l zh-cn\r\n", "提示：\r\nBIOS引导修复成功！\r\n",
                             "修复日志：F:\\run.log\r\n"}) {
        EXPECT_NE(output.text().find(said), std::string::npos) << said << output.text();
    }
    EXPECT_NE(m.files.contentOf("F:\\run.log").find("=== 修复结束"), std::string::npos);
    EXPECT_EQ(m.journal.count("message"), 0U); // no message box without the window
}

TEST_F(CommandLineRepair, ExitCodesTellAToolFailureARefusalAndASystemError) {
    // Both stores rebuilt and checked, but bootsect failed: not fully repaired.
    FakeMachine bootsectFails;
    bootsectFails.addThreeInstallations();
    bootsectFails.processes.behave("bootsect", {.exitCode = 5});
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair"}), bootsectFails.platform(), output), NotFullyRepairedExitCode);

    // Every tool ended well, but the UEFI store is no hive: not fully repaired.
    m.processes.behave("C:\\Windows /s C: /f uefi", {.writesGarbage = true});
    EXPECT_EQ(run({"/repair"}), NotFullyRepairedExitCode);
    EXPECT_NE(output.text().find("警告！\r\nUEFI 的 BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd 已写入，但检查发现它不能正常引导：\r\n"
                                 "　新 BCD 存储无法读取。"),
              std::string::npos) << output.text();
    EXPECT_EQ(m.files.contentOf("C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000").size(), 0U); // the old one, kept
    m.processes.behave("bootsect", {.exitCode = 5});
    EXPECT_EQ(run({"/repair"}), NotFullyRepairedExitCode);

    for (const Arguments& refused : {Arguments{"/repair", "/default", "G:\\Windows"}, Arguments{"/repair", "/s", "C:\\"},
                                     Arguments{"/repair", "/bogus"}}) {
        EXPECT_EQ(run(refused), RefusedExitCode) << refused[1];
    }
    m.elevation.elevated = false;
    output = {};
    EXPECT_EQ(run({"/repair"}), RefusedExitCode);
    EXPECT_NE(output.text().find("需要管理员权限"), std::string::npos);
    m.elevation.elevated = true;

    m.files.erase("F:\\Kit\\bin\\bootsect.exe");
    EXPECT_EQ(run({"/repair"}), RefusedExitCode); // a missing tool: nothing touched
    m.addTools();
    m.processes.behave("E:\\Windows", {.startFails = true}); // and E: carries no bcdboot of its own
    EXPECT_EQ(run({"/repair"}), SystemErrorExitCode);
}

TEST_F(CommandLineRepair, AUefiStoreOnAPartitionUefiFirmwareCantStartFromIsNotARepair) {
    m.firmware.type = 2; // UEFI, no ESP found: the stores go to C:, which is NTFS
    EXPECT_EQ(run({"/repair", "/s", "C:"}), NotFullyRepairedExitCode);
    EXPECT_NE(output.text().find("提示：\r\nBIOS引导修复成功！\r\n警告！\r\nUEFI 引导文件已写入 C:，但 C: 是 NTFS 分区，"),
              std::string::npos) << output.text();
}

// An 80-column console (WinPE's) draws a CJK character two columns wide.
TEST(Usage, EveryLineFitsEightyColumnsAndItEndsWithAnExample) {
    EXPECT_EQ(DisplayWidth("引导盘：C:"), 10U);
    EXPECT_EQ(DisplayWidth("“开始修复”（x64）"), 19U);
    EXPECT_EQ(DisplayWidth(std::string("\xE5\xBC", 2) + "a"), 3U); // a sequence cut short: a column per byte
    const std::string usage = UsageText();
    std::size_t lines = 0;
    for (std::size_t start = 0, end = 0; start < usage.size(); start = end + 2, ++lines) {
        end = usage.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CRLF";
        EXPECT_LE(DisplayWidth(std::string_view(usage).substr(start, end - start)), 80U) << usage.substr(start, end - start);
    }
    EXPECT_GT(lines, 20U);
    EXPECT_TRUE(usage.ends_with("  Orvanta.exe /repair /s Z: /default D:\\Windows\r\n"
                                "在命令提示符中直接输入时，请用 start /wait 运行，才会等修复结束并设置\r\n"
                                "%ERRORLEVEL%：\r\n"
                                "  start /wait Orvanta.exe /repair /s Z: /default D:\\Windows\r\n"))
        << usage;
}

TEST_F(CommandLineRepair, ListsWhatItFindsAndTouchesNothing) {
    m.files.addFile("C:\\Boot\\BCD", {}, FakeHiveBytes(FakeBcdTree(false, {{"C:\\Windows", {}}}, 0)));
    m.files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD", {}, "damaged");
    EXPECT_EQ(run({"/list"}), RepairedExitCode);
    EXPECT_NE(output.text().find("BCD 存储 C:\\boot\\bcd：启动项 2 个，设置对象 0 个\r\n  Windows 启动加载器（默认）\r\n"),
              std::string::npos) << output.text();
    EXPECT_NE(output.text().find("BCD 存储 C:\\EFI\\Microsoft\\Boot\\bcd：无法读取（不是注册表配置单元文件）\r\n"), std::string::npos);
    EXPECT_NE(output.text().find("找到的系统：C:\\Windows，D:\\Windows，E:\\Windows\r\n"), std::string::npos) << output.text();
    EXPECT_NE(output.text().find("  F: 可移动磁盘\r\n"), std::string::npos);
    EXPECT_EQ(m.journal.only({"move", "run", "map", "create"}), std::vector<std::string>{});
}

} // namespace
} // namespace orvanta
