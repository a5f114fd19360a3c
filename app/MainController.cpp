#include "app/MainController.h"

#include <string>

#include "app/UserMessages.h"
#include "platform/TaskbarProgress.h"
#include "repair/FolderChooser.h"
#include "repair/RepairPlan.h"
#include "repair/RepairRun.h"

namespace orvanta {

MainController::MainController(MainControls controls, Platform platform)
    : controls_(controls), platform_(platform) {}

void MainController::onInitialize() {
    platform_.commonControls.initialize();
}

void MainController::onLoad() {
    taskbarList_ = OpenTaskbarProgress(platform_.version, platform_.com);
    sizeToggle_.measure(controls_.window);
    const ScanResult scan = scanAndList();
    if (!scan.installations.empty()) controls_.installationList.select(0);
    controls_.statusLine.setCaption(InstallationCountText(scan.installations.size()));
}

void MainController::onResized() {
    sizeToggle_.onResized(controls_.window);
}

bool MainController::onCloseRequested() {
    // The caption is the one record that a repair runs.
    if (controls_.repairButton.caption() != RunningCaption) return false;
    platform_.messages.show(CloseRefusedMessage());
    return true;
}

void MainController::onBrowseClicked() {
    const auto path = ChooseFolder(platform_.folderDialog, ChooseFolderTitle);
    if (path) controls_.bootPartitionBox.setText(BootPartitionOf(*path));
}

void MainController::onRepairClicked() {
    const std::string selectedBefore = SelectedText(controls_.installationList);
    const ScanResult scan = scanAndList();
    if (scan.installations.empty()) {
        platform_.messages.show(NothingToRepairMessage());
        return;
    }
    const std::string defaultInstallation = DefaultInstallationOf(
        scan.installations, selectedBefore,
        !selectedBefore.empty() && controls_.makeDefaultCheckBox.checked());
    SelectText(controls_.installationList, defaultInstallation);

    // Read once: the folder dialog has no owner and may still write the box during the run.
    const std::string bootPartition = controls_.bootPartitionBox.text();
    const RepairPlan plan =
        PlanRepair({scan.installations, defaultInstallation, bootPartition}, platform_.files);
    if (plan.refusal != Refusal::None) {
        platform_.messages.show(RefusalMessage(plan, bootPartition));
        return;
    }
    setRunning(true);
    const RepairReport report =
        CarryOut(plan, {platform_.files, platform_.processes, platform_.events});
    for (const Message& message : OutcomeMessages(report)) platform_.messages.show(message);
    setRunning(false);
}

ScanResult MainController::scanAndList() {
    ScanResult scan = FindInstallations({platform_.drives, platform_.volumes, platform_.files});
    ShowEntries(controls_.installationList, scan.installations);
    if (!scan.anyFixedDrive) platform_.messages.show(NoDiskMessage());
    return scan;
}

void MainController::setRunning(bool running) {
    const std::uintptr_t window = controls_.window.handle();
    if (!running) ShowTaskbarBusy(platform_.version, platform_.com, taskbarList_, window, false);
    controls_.repairButton.setCaption(running ? RunningCaption : IdleCaption);
    for (auto* control : {&controls_.repairButton, &controls_.browseButton}) control->setEnabled(!running);
    controls_.bootPartitionBox.setEnabled(!running);
    controls_.installationList.setEnabled(!running);
    if (running) ShowTaskbarBusy(platform_.version, platform_.com, taskbarList_, window, true);
}

} // namespace orvanta
