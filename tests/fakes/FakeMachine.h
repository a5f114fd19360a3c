#pragma once
// A whole fake PC with the program's window on it: every platform service and
// control, all writing to one journal, and the main controller wired to them.
#include "app/window/MainController.h"
#include "crypto/OpensslCrypto.h"
#include "repair/stores/SystemStore.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeDrives.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProcesses.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWorkers.h"
#include "fakes/Journal.h"

namespace orvanta {

// The log of a start at the fake clock's time, and the note the last message
// of a repair ends with: where it is.
inline const std::string LogPathOfRepair = "F:\\Kit\\Logs\\Orvanta-20261207-153000.log";
inline const std::string LogNoteOfRepair = "\r\n\r\n修复日志：F:\\Kit\\Logs\\Orvanta-20261207-153000.log";
// The line after where old stores are kept: how to put one back.
inline const std::string GoBackLine = "要换回旧 BCD 存储，请在管理员命令提示符中运行 Orvanta.exe /restore，它会列出可以换回的副本。";
// The note before it when both old stores on C: were kept, dated by the run's start.
inline const std::string KeptOnCOfRepair = "\r\n\r\n旧 BCD 存储保留在：C:\\boot\\bcd.orvanta-0001-20261207-153000\r\n"
                                           "旧 BCD 存储保留在：C:\\EFI\\Microsoft\\Boot\\bcd.orvanta-0001-20261207-153000\r\n" +
                                           GoBackLine;

// Whether a file holds a hive (what the fake bcdboot writes), not an old store's text.
inline bool IsHive(const std::string& content) {
    return content.starts_with("regf");
}

class FakeMachine {
public:
    FakeMachine();
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;

    // A fixed drive, with a "Windows" folder in its root when asked.
    void addFixedDrive(char letter, bool withWindows = true);
    // bcdboot.exe and bootsect.exe in the application folder's Bin folder.
    void addTools();
    // C:, D: and E: with Windows, the kit on the removable F:, both old
    // stores on C:, and the tools.
    void addThreeInstallations();
    // C:, D: and E: on one MBR disk (0) whose first sector holds `bootCode`:
    // C: (BitLocker) is partition 1, D: partition 2 and active, E: partition 3.
    void addMbrDiskOfThree(const std::vector<std::uint8_t>& bootCode);
    // A UEFI PC: Windows on C: (disk 0 partition 3), its FAT32 ESP (GPT
    // partition 2) without a letter, which gets Z:, and the tools.
    void addUefiPc();
    // The running system holds the store at `path` (on a drive "C:" .. "Z:")
    // open, loaded from \Device\HarddiskVolume<n> as the registry says.
    void holdAsSystemStore(const std::string& path, const std::string& content = "old");
    // Creates and loads the window, shows it and surveys, as the program's start does.
    void start();
    // A survey of its own, as the window's or the command line's.
    MachineSurvey survey();
    // A close request; true when the window closes.
    bool userClose();
    // Every service of the fake machine, as the program takes them.
    Platform platform();
    // The command lines started so far.
    std::vector<std::string> runs() const { return journal.only({"run "}); }

    Journal journal;
    FakeDrives drives{journal};
    FakeDevices devices{journal};
    FakeFileSystem files{journal};
    FakeEventPump events;
    FakeProcesses processes{journal, files, events};
    FakeMessageBoxes messages{journal};
    FakeFolderDialog folderDialog{journal};
    FakeVersionQuery version{journal};
    FakeComObjects com{journal};
    FakeCommonControls commonControls{journal};
    FakeFirmware firmware{journal};
    FakeRegistry registry{journal, files};
    FakeElevation elevation{journal};
    FakeShutdownBlock shutdownBlock{journal};
    FakeConsoleCodePage consoleCodePage;
    FakeClock clock;
    FakeRunningSystem runningSystem;
    FakeFileIdentities fileIdentities;
    FakeVirtualDisks virtualDisks;
    OpensslCrypto crypto;
    FakeMutexes mutexes;
    FakeWorkers workers{journal, events};

    FakeWindowFrame window{journal};
    FakeDropDownList installationList{journal, "installationList"};
    FakeTextBox bootPartitionBox{journal, "bootPartitionBox", "C:"};
    FakeCheckBox makeDefaultCheckBox;
    FakeButton browseButton{journal, "browseButton", "选择..."};
    FakeButton repairButton{journal, "repairButton", "开始修复"};
    FakeLabel statusLine{journal, "statusLine"};
    FakeLabel firmwareLine{journal, "firmwareLine"};

    MainController controller;
};

} // namespace orvanta
