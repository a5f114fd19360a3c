#include <gtest/gtest.h>

#include "discovery/ModFindWindows.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

void Scan(FakeMachine& m) {
    ScanSystems({m.drives, m.devices, m.files, m.messages}, m.RDriver);
}

using Lines = std::vector<std::string>;

TEST(ScanSystems, ListsFixedDrivesWithWindowsButNeverTheRamDrive) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.addFixedDrive('D', false);
    m.drives.add('E', Optical);
    m.files.addFolder("E:\\Windows");
    m.drives.add('N', Network);
    m.addFixedDrive('X');
    Scan(m);
    EXPECT_EQ(m.RDriver.entries, Lines{"C:\\Windows"});
    EXPECT_EQ(m.RDriver.selected, -1);
    // X: is still asked about; the optical drive is neither queried nor opened.
    EXPECT_EQ(m.journal.only({"query", "open"}),
              (Lines{"open \\\\.\\C:", "open \\\\.\\D:", "open \\\\.\\X:", "query C:\\Windows mask 16",
                     "query D:\\Windows mask 16", "query X:\\Windows mask 16"}));
    EXPECT_EQ(m.journal.count("message"), 0U);
}

TEST(ScanSystems, NoFixedDriveOrAFailedReadShowsTheMessageOnce) {
    for (const bool failedRead : {false, true}) {
        FakeMachine m;
        m.drives.add('A', Removable);
        m.drives.add('E', Optical);
        m.drives.add('N', Network);
        if (failedRead) m.drives.failReads();
        m.RDriver.entries = {"C:\\Windows"};
        Scan(m);
        EXPECT_TRUE(m.RDriver.entries.empty());
        EXPECT_EQ(m.journal.only({"message", "query"}), Lines{"message Error! 64 未发现任何磁盘或光驱"});
    }
}

TEST(ScanSystems, FixedDrivesWithoutWindowsGiveAnEmptyListAndNoMessage) {
    FakeMachine m;
    m.addFixedDrive('C', false);
    m.files.addFolder("C:\\Windows.old");
    Scan(m);
    EXPECT_TRUE(m.RDriver.entries.empty());
    EXPECT_EQ(m.journal.count("message"), 0U);
}

TEST(ScanSystems, HiddenOrSystemFoldersAreMissedPlainFilesAndOtherCasesCount) {
    FakeMachine m;
    m.addFixedDrive('C', false);
    m.files.addFolder("C:\\Windows", {.hidden = true});
    m.addFixedDrive('D', false);
    m.files.addFolder("D:\\Windows", {.system = true});
    m.addFixedDrive('E', false);
    m.files.addFile("E:\\Windows");
    m.addFixedDrive('G', false);
    m.files.addFolder("G:\\WINDOWS");
    Scan(m);
    EXPECT_EQ(m.RDriver.entries, (Lines{"E:\\Windows", "G:\\Windows"}));
}

TEST(ScanSystems, AnUnreadableDriveGetsNoEntryAndTheScanGoesOn) {
    FakeMachine m;
    for (char letter : {'C', 'D', 'E'}) m.addFixedDrive(letter);
    m.files.makeUnreadable("C:");
    Scan(m);
    EXPECT_EQ(m.RDriver.entries, (Lines{"D:\\Windows", "E:\\Windows"}));
    EXPECT_EQ(m.journal.count("message"), 0U);
}

TEST(ScanSystems, ARescanRebuildsTheSameList) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.addFixedDrive('D');
    Scan(m);
    Scan(m);
    EXPECT_EQ(m.RDriver.entries, (Lines{"C:\\Windows", "D:\\Windows"}));
}

// 15 drive strings fill 61 of the 64 characters; more are read again into a
// buffer of the size the system asks for, so every drive is examined.
TEST(ScanSystems, EveryDriveIsExaminedBeyondFifteenLetters) {
    for (const int count : {15, 16, 24}) {
        FakeMachine m;
        Lines expected;
        for (int index = 0; index < count; ++index) {
            const char letter = static_cast<char>('C' + index);
            m.addFixedDrive(letter);
            if (letter != 'X') expected.push_back(std::string{letter} + ":\\Windows");
        }
        Scan(m);
        EXPECT_EQ(m.RDriver.entries, expected) << count << " drives";
        EXPECT_EQ(m.journal.count("drive strings"), count == 15 ? 1U : 2U);
    }
}

TEST(ScanSystems, AFixedDriveOnUsbIsAskedAboutOnceAndStillListed) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.addFixedDrive('U');
    m.devices.set("U:", {.busType = 7});
    Scan(m);
    EXPECT_EQ(m.RDriver.entries, (Lines{"C:\\Windows", "U:\\Windows"}));
    EXPECT_EQ(m.journal.count("\\\\.\\U:"), 3U); // open, request, close
}

} // namespace
} // namespace orvanta
