#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"
#include "platform/system/WindowsVersion.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// Loads the window and runs one repair; the journal keeps both.
void LoadAndRepair(FakeMachine& m) {
    m.addThreeInstallations();
    m.start();
    m.controller.onRepairClicked();
}

TEST(TaskbarProgress, UpToVersionFiveNothingIsCreatedAndNoProgressIsShown) {
    for (const std::uint32_t major : {0U, 5U}) {
        FakeMachine m;
        m.version.major = major;
        LoadAndRepair(m);
        EXPECT_EQ(m.controller.taskbarList(), 0U);
        EXPECT_EQ(m.journal.only({"create {", "call"}), Lines{});
        EXPECT_EQ(m.journal.count("version"), 3U); // asked anew every time
        EXPECT_EQ(m.runs().size(), 7U);
    }
}

TEST(TaskbarProgress, VersionSixCreatesAndInitialisesTheListAndShowsProgressDuringTheRun) {
    FakeMachine m;
    m.version.major = 6;
    LoadAndRepair(m);
    EXPECT_EQ(m.journal.only({"version", "create {", "call", "caption repairButton", "run F:\\Kit\\bin", "message"}),
              (Lines{"version",
                     "create {56FDF344-FD6D-11d0-958A-006097C9A090} {EA1AFB91-9E28-4B86-90E9-9E9F8A5EEFAF}",
                     "call 0x5000 slot 3 ()", "caption repairButton 正在修复", "version", "call 0x5000 slot 10 (4660, 1)",
                     "run F:\\Kit\\bin\\bootsect.exe /nt60 C: /mbr", "message 提示： 64 BIOS引导修复成功！",
                     "message 提示： 64 UEFI引导修复成功！" + KeptOnCOfRepair + LogNoteOfRepair, "version", "call 0x5000 slot 10 (4660, 0)",
                     "caption repairButton 开始修复"}));
}

TEST(TaskbarProgress, AFailedCreationOrInitialisationMeansNoProgressCalls) {
    for (const bool created : {false, true}) {
        FakeMachine m;
        if (created) m.com.hrInitResult = static_cast<std::int32_t>(0x80004005U);
        else m.com.instance = 0;
        LoadAndRepair(m);
        EXPECT_EQ(m.controller.taskbarList(), 0U);
        // A list whose initialisation failed is released again, never used.
        EXPECT_EQ(m.journal.only({"call"}), created ? (Lines{"call 0x5000 slot 3 ()", "call 0x5000 slot 2 ()"}) : Lines{});
        EXPECT_EQ(m.journal.count("message 提示："), 2U);
    }
}

TEST(WindowsMajorVersion, NarrowsTheMajorVersionToSixteenBits) {
    FakeMachine m;
    for (const std::uint32_t major : {6U, 10U, 0x10005U}) {
        m.version.major = major;
        EXPECT_EQ(WindowsMajorVersion(m.version), static_cast<std::int16_t>(major & 0xFFFF));
        EXPECT_EQ(HasTaskbarProgress(m.version), (major & 0xFFFF) > 5);
    }
}

} // namespace
} // namespace orvanta
