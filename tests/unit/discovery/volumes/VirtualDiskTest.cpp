#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "app/session/PlatformServices.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"

namespace orvanta {
namespace {

using Answer = VirtualDiskLookup::Answer;

// C: on disk 0 (GPT partition 2) holds D:'s virtual disk file; E: is a
// virtual disk the system can't ask about; G: one it can't ask about on SATA.
struct InVirtualDisks : ::testing::Test {
    InVirtualDisks() {
        m.addThreeInstallations();
        m.addFixedDrive('G');
        m.devices.addDisk(0, {GptLayout({{1, true}, {2, false}})});
        m.devices.set("Volume{c0c0c0c0-0000-0000-0000-000000000001}", {.location = VolumeLocation{0, 2}});
        m.virtualDisks.known["D:"] = {Answer::Found, "\\\\?\\Volume{c0c0c0c0-0000-0000-0000-000000000001}\\",
                                      "VMs\\Win10.vhdx"};
        m.virtualDisks.known["E:"] = {Answer::CantTell};
        m.devices.set("E:", {.busType = FileBackedVirtualBusType});
        m.virtualDisks.known["G:"] = {Answer::CantTell};
    }
    // The log of the one repair run from the command line.
    std::string repairLog() {
        const std::vector<std::string> logs = m.files.filesIn("F:\\Kit\\Logs");
        return logs.size() == 1 ? m.files.contentOf("F:\\Kit\\Logs\\" + logs[0]) : std::string();
    }

    FakeMachine m;
};

TEST_F(InVirtualDisks, TheSurveyFindsEachInstallationsFileOnItsHostPartition) {
    const MachineSurvey survey = m.survey();
    const PartitionIdentity host{PartitionStyle::Gpt, FakeGptPartitionId(2), 0, 0};
    EXPECT_EQ(survey.virtualDisks, (std::map<std::string, VirtualDiskFile>{
                                       {"D:\\Windows", {host, "\\VMs\\Win10.vhdx"}},
                                       {"E:\\Windows", {}}, // its file unknown: matched by folder, and said
                                   }));
    EXPECT_EQ(m.virtualDisks.asked, (std::vector<std::string>{"C:", "D:", "E:", "G:"}));
}

// The fake bcdboot names each installation's own partition: right for C:,
// never for the file D: lives in. E:'s file is unknown, so its loader is
// matched by folder and the log says so.
TEST_F(InVirtualDisks, ARepairChecksTheLoaderOfEachVirtualDiskByItsFile) {
    CollectedOutput output;
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/repair", "/s", "C:"}), m.platform(), output), NotFullyRepairedExitCode);
    const std::string log = repairLog();
    EXPECT_NE(log.find("  检查：没有 D:\\Windows 的启动项。\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  检查：E:\\Windows 在虚拟磁盘里，但找不到虚拟磁盘文件，无法核对启动项是否指向它，只按 Windows 文件夹核对\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("没有 E:\\Windows 的启动项"), std::string::npos);
    EXPECT_EQ(log.find("没有 C:\\Windows 的启动项"), std::string::npos);
}

} // namespace
} // namespace orvanta
