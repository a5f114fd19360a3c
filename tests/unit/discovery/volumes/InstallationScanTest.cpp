#include <gtest/gtest.h>

#include "discovery/volumes/InstallationScan.h"
#include "discovery/disks/StorageRecords.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// As in WinPE, which runs from X:\Windows.
ScanResult Scan(FakeMachine& m) {
    m.registry.keys["System\\CurrentControlSet\\Control\\MiniNT"] = true;
    return m.survey().scan;
}

TEST(InstallationScan, ListsFixedDrivesWithWindowsButNeverWinPEsOwnRamDrive) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.addFixedDrive('D', false);
    m.drives.add('E', DriveKind::Optical);
    m.files.addFolder("E:\\Windows");
    m.drives.add('N', DriveKind::Network);
    m.addFixedDrive('X');
    const ScanResult scan = Scan(m);
    EXPECT_EQ(scan.installations, Lines{"C:\\Windows"});
    EXPECT_TRUE(scan.anyFixedDrive);
    // Every letter is reported with its type; X: is still asked about; the
    // optical drive is neither queried nor opened.
    EXPECT_EQ(scan.drives, (std::vector<ScannedDrive>{{.name = "C:", .type = 3, .busType = 11, .holdsWindows = true},
                                                      {.name = "D:", .type = 3, .busType = 11, .holdsWindows = false},
                                                      {.name = "E:", .type = 5},
                                                      {.name = "N:", .type = 4},
                                                      {.name = "X:", .type = 3, .busType = 11, .holdsWindows = true}}));
    // Each fixed drive's volume is opened for its bus, then for its place.
    EXPECT_EQ(m.journal.only({"query", "open \\\\.\\C", "open \\\\.\\D", "open \\\\.\\E", "open \\\\.\\N", "open \\\\.\\X"}),
              (Lines{"open \\\\.\\C:", "open \\\\.\\C:", "query C:\\Windows mask 16", "open \\\\.\\D:",
                     "open \\\\.\\D:", "query D:\\Windows mask 16", "open \\\\.\\X:", "open \\\\.\\X:",
                     "query X:\\Windows mask 16"}));
}

TEST(InstallationScan, NoFixedDriveOrAFailedReadFindsNothing) {
    for (const bool failedRead : {false, true}) {
        FakeMachine m;
        m.drives.add('A', DriveKind::Removable);
        m.drives.add('E', DriveKind::Optical);
        if (failedRead) m.drives.failReads();
        const ScanResult scan = Scan(m);
        EXPECT_FALSE(scan.anyFixedDrive);
        EXPECT_TRUE(scan.installations.empty());
        EXPECT_EQ(scan.drives.size(), failedRead ? 0U : 2U);
        EXPECT_EQ(m.journal.count("query"), 0U);
    }
}

TEST(InstallationScan, HiddenOrSystemFoldersAreMissedPlainFilesAndOtherCasesCount) {
    FakeMachine m;
    m.addFixedDrive('C', false);
    m.files.addFolder("C:\\Windows", {.hidden = true});
    m.addFixedDrive('D', false);
    m.files.addFolder("D:\\Windows", {.system = true});
    m.addFixedDrive('E', false);
    m.files.addFile("E:\\Windows");
    m.addFixedDrive('G', false);
    m.files.addFolder("G:\\WINDOWS");
    m.addFixedDrive('H', false);
    m.files.addFolder("H:\\Windows.old");
    EXPECT_EQ(Scan(m).installations, (Lines{"E:\\Windows", "G:\\Windows"}));
}

TEST(InstallationScan, AnUnreadableDriveGetsNoEntryAndTheScanGoesOn) {
    FakeMachine m;
    for (char letter : {'C', 'D', 'E'}) m.addFixedDrive(letter);
    m.files.makeUnreadable("C:");
    EXPECT_EQ(Scan(m).installations, (Lines{"D:\\Windows", "E:\\Windows"}));
}

// 15 drive strings fill 61 of the 64 characters; more are read again into a
// buffer of the size the system asks for, so every drive is examined.
TEST(InstallationScan, EveryDriveIsExaminedBeyondFifteenLetters) {
    for (const int count : {15, 16, 24}) {
        FakeMachine m;
        Lines expected;
        for (int index = 0; index < count; ++index) {
            const char letter = static_cast<char>('C' + index);
            m.addFixedDrive(letter);
            if (letter != 'X') expected.push_back(std::string{letter} + ":\\Windows");
        }
        EXPECT_EQ(Scan(m).installations, expected) << count << " drives";
        EXPECT_EQ(m.journal.count("drive strings"), count == 15 ? 1U : 2U);
    }
}

// X: is left out only in WinPE, and there only as the running system's own
// Windows folder; the running system is asked about only for X:.
TEST(InstallationScan, XIsLeftOutOnlyAsWinPEsOwnWindowsFolder) {
    struct Case {
        RunningWindows running;
        bool xListed;
    };
    const Case cases[] = {
        {{true, "X:\\Windows"}, false},
        {{true, "x:\\WINDOWS"}, false},
        {{true, ""}, false}, // WinPE that doesn't tell its folder: its RAM drive is X:
        {{true, "C:\\Windows"}, true}, // WinPE started from a disk: X: is a drive like any other
        {{false, "C:\\Windows"}, true},
        {{false, "X:\\Windows"}, true}, // a full Windows installed on X:
    };
    const ScannedDrive onC{.name = "C:", .type = FixedDriveType, .holdsWindows = true};
    ScannedDrive x{.name = "X:", .type = FixedDriveType, .holdsWindows = true};
    for (const Case& c : cases) {
        int asked = 0;
        const ScanResult scan = ScanResultOf({onC, x}, [&] {
            ++asked;
            return c.running;
        });
        const Lines expected = c.xListed ? Lines{"C:\\Windows", "X:\\Windows"} : Lines{"C:\\Windows"};
        EXPECT_EQ(scan.installations, expected) << c.running.preinstallation << " " << c.running.windowsFolder;
        EXPECT_EQ(asked, 1);
    }
    x.holdsWindows = false;
    int asked = 0;
    ScanResultOf({onC, x}, [&] {
        ++asked;
        return RunningWindows{};
    });
    EXPECT_EQ(asked, 0);
}

TEST(InstallationScan, AFixedDriveOnUsbIsAskedAboutOnceAndStillListed) {
    FakeMachine m;
    m.addFixedDrive('C');
    m.addFixedDrive('U');
    m.devices.set("U:", {.busType = 7});
    const ScanResult scan = Scan(m);
    EXPECT_EQ(scan.installations, (Lines{"C:\\Windows", "U:\\Windows"}));
    EXPECT_EQ(scan.drives[1].busType, UsbBusType);
    EXPECT_EQ(m.journal.count("\\\\.\\U:"), 6U); // open, request, close: for its bus, then for its place
}

} // namespace
} // namespace orvanta
