#include "repair/RepairRun.h"

#include <string>
#include <vector>

#include "app/UnhandledError.h"
#include "discovery/ModFindWindows.h"
#include "platform/ModWin7Task.h"
#include "repair/BootPartition.h"
#include "repair/CommandLines.h"
#include "repair/ModShellWait.h"
#include "repair/RepairMessages.h"
#include "repair/StoreBackup.h"

namespace orvanta {
namespace {

inline constexpr const char* RunningCaption = "正在修复";
inline constexpr const char* IdleCaption = "开始修复";

// The store paths as each step writes them; Windows ignores the case.
inline constexpr const char* BiosStore = "\\boot\\bcd";
inline constexpr const char* UefiStoreToMove = "\\EFI\\Microsoft\\Boot\\bcd";
inline constexpr const char* UefiStoreToTest = "\\EFI\\Microsoft\\boot\\bcd";
inline constexpr const char* UefiBootFolder = "\\EFI\\Microsoft\\Boot";

class Repair {
public:
    Repair(FormControls& controls, Platform& platform, ComPointer taskbarList)
        : c_(controls), p_(platform), taskbarList_(taskbarList) {}

    void run();

private:
    void settleDefault(const std::string& savedSelection);
    bool toolsPresent(const std::string& folder);
    void setRunning(bool running);
    void repairWithTools(const std::string& folder, const std::string& installation,
                         const std::string& bootPartition);
    void runTool(const std::string& commandLine);
    void report(StoreBackup& store, const std::string& testPath, const char* message);

    FormControls& c_;
    Platform& p_;
    ComPointer taskbarList_;
    std::vector<FailedTool> failures_;
};

void Repair::run() {
    const std::string savedSelection = selectedText(c_.RDriver);
    ScanSystems({p_.drives, p_.devices, p_.files, p_.messages}, c_.RDriver);
    if (c_.RDriver.count() == 0) {
        p_.messages.show(NoSystemToRepairMessage, NoteTitle, StyleInformation);
        return;
    }
    settleDefault(savedSelection);
    const std::string installation = selectedText(c_.RDriver);

    // Nothing is touched before the tools and the boot partition are known to be good.
    const std::string folder = p_.files.applicationFolder();
    if (!toolsPresent(folder)) return;
    // Read once: the folder dialog has no owner and may still write Text1 during the run.
    const std::string bootPartition = c_.Text1.text();
    if (!IsDriveLetterAndColon(bootPartition)) {
        p_.messages.show(BadBootPartitionMessage(bootPartition), WarningTitle, StyleError);
        return;
    }

    setRunning(true);
    repairWithTools(folder, installation, bootPartition);
    setRunning(false);
}

void Repair::settleDefault(const std::string& savedSelection) {
    // A selection that names no entry after the rescan falls back to entry 0.
    if (!savedSelection.empty() && c_.Check1.checked() && selectText(c_.RDriver, savedSelection)) {
        return;
    }
    c_.RDriver.select(0);
}

bool Repair::toolsPresent(const std::string& folder) {
    std::vector<std::string> missing;
    for (const std::string& path : {BcdbootPath(folder), BootsectPath(folder)}) {
        if (!p_.files.fileExists(path)) missing.push_back(path);
    }
    if (missing.empty()) return true;
    p_.messages.show(MissingToolsMessage(missing), WarningTitle, StyleError);
    return false;
}

void Repair::setRunning(bool running) {
    if (running) {
        c_.Command4.setCaption(RunningCaption);
        c_.Command4.setEnabled(false);
        c_.Command1.setEnabled(false);
        c_.Text1.setEnabled(false);
        c_.RDriver.setEnabled(false);
        ShowRepairProgress(p_.version, p_.com, taskbarList_, c_.window.handle(), true);
        return;
    }
    ShowRepairProgress(p_.version, p_.com, taskbarList_, c_.window.handle(), false);
    c_.Command4.setCaption(IdleCaption);
    c_.Command4.setEnabled(true);
    c_.Command1.setEnabled(true);
    c_.Text1.setEnabled(true);
    c_.RDriver.setEnabled(true);
}

void Repair::repairWithTools(const std::string& folder, const std::string& installation,
                             const std::string& bootPartition) {
    StoreBackup biosStore(p_.files, bootPartition + BiosStore);
    StoreBackup uefiStore(p_.files, bootPartition + UefiStoreToMove);
    try {
        biosStore.moveAside();
        uefiStore.moveAside();
        // The UEFI tool can't write its files where this folder is missing.
        p_.files.createDirectories(bootPartition + UefiBootFolder);

        const int count = c_.RDriver.count();
        for (int index = count - 1; index >= 0; --index) {
            const std::string entry = c_.RDriver.entry(index);
            if (entry == installation) continue; // the default runs last
            runTool(BiosCommandLine(folder, entry, bootPartition));
            runTool(UefiCommandLine(folder, entry, bootPartition));
        }
        runTool(BiosCommandLine(folder, installation, bootPartition));
        runTool(UefiCommandLine(folder, installation, bootPartition));
        runTool(BootsectCommandLine(folder, bootPartition));

        report(biosStore, bootPartition + BiosStore, BiosSuccessMessage);
        report(uefiStore, bootPartition + UefiStoreToTest, UefiSuccessMessage);
        if (!failures_.empty()) {
            p_.messages.show(FailedToolsMessage(failures_), WarningTitle, StyleError);
        }
    } catch (const PlatformError& error) {
        // A tool that can't be started, or a store that can't be read: no
        // later tool runs. The old stores go back before the message shows, so
        // that they are in place even if the program is ended meanwhile.
        biosStore.restoreOriginal();
        uefiStore.restoreOriginal();
        ShowUnhandledError(p_.messages, error);
    }
}

void Repair::runTool(const std::string& commandLine) {
    const std::uint32_t exitCode = ShellWait(p_.processes, p_.events, commandLine);
    if (exitCode != 0) failures_.push_back({commandLine, exitCode});
}

void Repair::report(StoreBackup& store, const std::string& testPath, const char* message) {
    if (p_.files.firstMatch(testPath, NoDirectories).empty()) {
        store.putBack();
        return;
    }
    store.discardBackup();
    p_.messages.show(message, NoteTitle, StyleInformation);
}

} // namespace

void RunRepair(FormControls& controls, Platform& platform, ComPointer taskbarList) {
    Repair(controls, platform, taskbarList).run();
}

} // namespace orvanta
