#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

TEST(OnLoad, RunsItsStepsInOrderAndSizesFromTheFrame) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.drives.add('D', DriveKind::Optical);
    m.addFixedDrive('E');
    m.window.height = 3000; // the layout's own height, before load
    m.start();
    // Every disk is asked for its partition table, on BIOS too; none answers here.
    Lines journal = m.journal.lines();
    const auto disks = std::remove_if(journal.begin(), journal.end(), [](const std::string& line) {
        return line.starts_with("open \\\\.\\PhysicalDrive");
    });
    EXPECT_EQ(journal.end() - disks, 32);
    journal.erase(disks, journal.end());
    EXPECT_EQ(journal,
              (Lines{"init common controls", "create F:\\Kit", "create F:\\Kit\\Logs", "version",
                     "create {56FDF344-FD6D-11d0-958A-006097C9A090} {EA1AFB91-9E28-4B86-90E9-9E9F8A5EEFAF}",
                     "call 0x5000 slot 3 ()", "height 2685", "resize",
                     // The window is shown now, and says that the survey runs.
                     "caption statusLine 正在查找系统……", "enable repairButton 0", "enable browseButton 0",
                     "drive strings 64", "registry key System\\CurrentControlSet\\Control\\MiniNT",
                     "firmware type", "firmware variable",
                     // Each fixed drive on a worker of its own: bus, place, Windows folder.
                     "open \\\\.\\C:", "control \\\\.\\C: 0x2D1400 in 12 out 40", "close \\\\.\\C:",
                     "open \\\\.\\C:", "control \\\\.\\C: 0x2D1080 in 0 out 12", "close \\\\.\\C:",
                     "query C:\\Windows mask 16", "open \\\\.\\E:", "control \\\\.\\E: 0x2D1400 in 12 out 40",
                     "close \\\\.\\E:", "open \\\\.\\E:", "control \\\\.\\E: 0x2D1080 in 0 out 12",
                     "close \\\\.\\E:", "query E:\\Windows mask 16", "caption statusLine 当前电脑硬盘里共发现2个系统！",
                     "enable repairButton 1", "enable browseButton 1", "clear installationList",
                     "add installationList C:\\Windows", "add installationList E:\\Windows",
                     "select installationList 0", "caption firmwareLine 固件：BIOS（传统）"}));
    const WindowSizes& sizes = m.controller.sizeToggle().sizes();
    EXPECT_EQ(sizes.compactWidth, 5910);
    EXPECT_EQ(sizes.compactHeight, 2685);
    EXPECT_EQ(sizes.expandedWidth, 5910);
    EXPECT_EQ(sizes.expandedHeight, 5055);
    EXPECT_EQ(m.controller.sizeToggle().lastState(), WindowState::Normal);
    EXPECT_EQ(m.controller.taskbarList(), 0x5000U);
    EXPECT_EQ(m.window.width, 6000); // the width waits for the first toggle
}

TEST(OnLoad, TheStatusLineReportsTheNumberFoundAndTheFirstIsSelected) {
    for (const int count : {0, 1, 12}) {
        FakeMachine m;
        m.addFixedDrive('C', false);
        for (int index = 0; index < count; ++index) m.addFixedDrive(static_cast<char>('D' + index));
        m.start();
        EXPECT_EQ(m.statusLine.label, count == 0 ? std::string("当前电脑硬盘里未发现操作系统！")
                                                 : "当前电脑硬盘里共发现" + std::to_string(count) + "个系统！");
        EXPECT_EQ(m.installationList.selected, count == 0 ? -1 : 0);
        EXPECT_EQ(m.journal.count("select"), count == 0 ? 0U : 1U);
        EXPECT_EQ(m.journal.count("message"), 0U);
    }
}

TEST(OnLoad, NoFixedDriveAtAllIsSaidOnceAfterTheListIsEmptied) {
    FakeMachine m;
    m.drives.add('A', DriveKind::Removable);
    m.drives.add('E', DriveKind::Optical);
    m.start();
    EXPECT_EQ(m.journal.only({"clear", "add", "message", "caption statusLine"}),
              (Lines{"caption statusLine 正在查找系统……", "caption statusLine 当前电脑硬盘里未发现操作系统！",
                     "clear installationList", "message Error! 64 未发现任何磁盘或光驱"}));
}

TEST(CloseGuard, RefusesOnlyWhileTheCaptionReadsRepairing) {
    const std::pair<const char*, bool> cases[] = {
        {"正在修复", false}, {"开始修复", true}, {"正在修复 ", true}, {"", true}};
    for (const auto& [caption, closes] : cases) {
        FakeMachine m;
        m.repairButton.label = caption;
        EXPECT_EQ(m.userClose(), closes) << caption;
        const Lines refused{"message 警告！ 16 正在修复系统引导，无法关闭！", "close refused"};
        EXPECT_EQ(m.journal.lines(), closes ? Lines{"close accepted"} : refused);
    }
}

} // namespace
} // namespace orvanta
