#include "repair/RepairRun.h"

#include <string>

#include "repair/CommandLines.h"
#include "repair/StoreBackup.h"

namespace orvanta {
namespace {

// The store paths as each step writes them; Windows ignores the case.
inline constexpr const char* BiosStorePath = "\\boot\\bcd";
inline constexpr const char* UefiStorePathToMove = "\\EFI\\Microsoft\\Boot\\bcd";
inline constexpr const char* UefiStorePathToTest = "\\EFI\\Microsoft\\boot\\bcd";
inline constexpr const char* UefiBootFolder = "\\EFI\\Microsoft\\Boot";

// Removes the backup when a new store exists, puts the old one back otherwise.
StoreOutcome Settle(StoreBackup& store, FileSystem& files, const std::string& testPath) {
    if (!files.firstMatch(testPath, MatchMask::FilesOnly).empty()) {
        store.discardBackup();
        return StoreOutcome::Recreated;
    }
    const bool hadStore = store.moved();
    store.putBack();
    return hadStore ? StoreOutcome::PutBack : StoreOutcome::Missing;
}

// A store still moved aside gets its old content back; a settled one stays as it is.
void Restore(StoreBackup& store, StoreOutcome& outcome) {
    if (!store.moved()) return;
    store.restoreOriginal();
    outcome = StoreOutcome::Restored;
}

} // namespace

RepairReport CarryOut(const RepairPlan& plan, RepairServices services) {
    RepairReport report;
    const std::string& boot = plan.bootPartition;
    StoreBackup biosStore(services.files, boot + BiosStorePath);
    StoreBackup uefiStore(services.files, boot + UefiStorePathToMove);
    try {
        biosStore.moveAside();
        uefiStore.moveAside();
        // The UEFI tool can't write its files where this folder is missing.
        services.files.createDirectories(boot + UefiBootFolder);
        for (const std::string& line : RepairCommandLines(plan.toolFolder, plan.runOrder, boot)) {
            ToolRun run = RunTool(services.processes, services.events, line);
            if (run.exitCode != 0) report.failedTools.push_back(std::move(run));
        }
        report.biosStore = Settle(biosStore, services.files, boot + BiosStorePath);
        report.uefiStore = Settle(uefiStore, services.files, boot + UefiStorePathToTest);
    } catch (const PlatformError& error) {
        // A tool that can't be started, or a store that can't be read: no
        // later tool runs, and the machine gets its old stores back.
        Restore(biosStore, report.biosStore);
        Restore(uefiStore, report.uefiStore);
        report.error = error;
    }
    return report;
}

} // namespace orvanta
