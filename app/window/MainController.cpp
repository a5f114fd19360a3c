#include "app/window/MainController.h"

#include <string>

#include "app/session/PlatformServices.h"
#include "app/texts/PreflightTexts.h"
#include "app/texts/RunRefusals.h"
#include "app/texts/UnansweredTexts.h"
#include "app/texts/UserMessages.h"
#include "discovery/volumes/VolumeEncryption.h"
#include "platform/shell/TaskbarProgress.h"
#include "repair/run/BootEntryOffer.h"
#include "repair/tools/CommandLines.h"
#include "repair/partition/FolderChooser.h"
#include "repair/run/RepairPlan.h"

namespace orvanta {

MainController::MainController(MainControls controls, Platform platform)
    : controls_(controls), platform_(platform), log_(platform.files, platform.clock), messages_(platform.messages, log_),
      survey_(controls, platform) {}

void MainController::onInitialize() {
    platform_.commonControls.initialize();
}

void MainController::onLoad() {
    log_.open();
    log_.write(StartLines(platform_.clock.now(), ProgramFactsOf(platform_)));
    taskbarList_ = OpenTaskbarProgress(platform_.version, platform_.com);
    sizeToggle_.measure(controls_.window);
    survey_.showSurveying();
}

void MainController::onShown() {
    const std::optional<MachineSurvey> survey = survey_.run(std::nullopt);
    if (!survey) return;
    listFound(survey->scan);
    if (!survey->scan.installations.empty()) controls_.installationList.select(0);
    showSurvey(*survey);
}

void MainController::showSurvey(const MachineSurvey& survey) {
    firmware_ = survey.firmware;
    if (NeedsSystemPartitionLetter(survey)) {
        systemPartitionLetter_.emplace(platform_.drives, *survey.systemPartition, survey.scan.drives);
    }
    const std::string letter = systemPartitionLetter_ ? systemPartitionLetter_->driveName() : "";
    log_.write(SurveyLines(survey, letter, systemPartitionLetter_ && systemPartitionLetter_->mapped()));
    controls_.firmwareLine.setCaption(FirmwareCaption(firmware_, letter));
    // On a UEFI PC the ESP is the partition to repair.
    if (firmware_ == FirmwareMode::Uefi && !letter.empty()) controls_.bootPartitionBox.setText(letter);
}

void MainController::onResized() {
    sizeToggle_.onResized(controls_.window);
}

bool MainController::isRepairing() {
    // The caption is the one record that a repair runs.
    return controls_.repairButton.caption() == RunningCaption;
}

bool MainController::onCloseRequested() {
    if (isRepairing()) {
        messages_.show(CloseRefusedMessage());
        return true;
    }
    // Nothing has changed yet: a survey or a question before a run in progress
    // is given up, and the window closes at once.
    closing_ = true;
    survey_.stop();
    return false;
}

bool MainController::onSessionEndRequested() {
    return activeRepair_.running();
}

void MainController::onSessionEnding(SessionEnd end) {
    if (activeRepair_.endSession(end)) releaseBeforeExit();
}

void MainController::releaseBeforeExit() {
    if (systemPartitionLetter_) systemPartitionLetter_->release();
}

void MainController::onBrowseClicked() {
    // The button waits while the survey runs; a click sent to it anyway too.
    if (survey_.running()) return;
    const auto path = ChooseFolder(platform_.folderDialog, ChooseFolderTitle);
    if (path) controls_.bootPartitionBox.setText(BootPartitionOf(*path));
}

void MainController::onRepairClicked() {
    // The button waits while the survey runs; a click sent to it anyway too.
    if (survey_.running()) return;
    const std::string selectedBefore = SelectedText(controls_.installationList);
    const std::optional<MachineSurvey> rescanned = rescanAndList();
    if (!rescanned) return releaseBeforeExit(); // the window closed: the program ends now
    const MachineSurvey& survey = *rescanned;
    const ScanResult& scan = survey.scan;
    if (scan.installations.empty()) {
        messages_.show(NothingToRepairMessage(LockedDriveNames(scan)));
        return;
    }
    const std::string defaultInstallation = DefaultInstallationOf(
        scan.installations, selectedBefore,
        !selectedBefore.empty() && controls_.makeDefaultCheckBox.checked());
    SelectText(controls_.installationList, defaultInstallation);

    // Read once: the folder dialog has no owner and may still write the box during the run.
    const std::string bootPartition = controls_.bootPartitionBox.text();
    // Before the plan, which would ask the boot partition and wait on it.
    if (const auto refusal = UnansweredBootPartitionMessage(survey, bootPartition)) return messages_.show(*refusal);
    const RepairPlan plan = PlanRepair({scan.installations, defaultInstallation, bootPartition,
                                        platform_.elevation.isElevated(), firmware_, InstallationPartitions(survey),
                                        survey.disks, scan.drives, survey.virtualDisks, survey.uefi},
                                       PlanServicesOf(platform_));
    if (plan.refusal == Refusal::NotElevated && startedByElevatedRestart_) {
        return messages_.show(NotElevatedAfterRestartMessage());
    }
    if (plan.refusal == Refusal::NotElevated) return offerElevatedRestart(RefusalMessage(plan, bootPartition));
    // One repair at a time, from here to the end of this one.
    const RepairLock lock(platform_.mutexes);
    if (!lock.mayRepair()) return messages_.show(AnotherRepairMessage());
    if (lock.state() != LockState::Taken) log_.write(RepairLockLines(lock));
    if (plan.refusal != Refusal::None) return messages_.show(RefusalMessage(plan, bootPartition));
    // Every warning in one box; No, or closing the window meanwhile, changes nothing.
    const std::optional<Message> question = QuestionBeforeRun(plan, uefiContext(), survey);
    if (question && !messages_.ask(*question)) return;
    if (closing_) return releaseBeforeExit(); // the program ends now

    setRunning(true);
    log_.write(PlanLines(platform_.clock.now(), plan));
    RepairRun run(plan, RepairServicesOf(platform_), log_);
    const RepairReport report = [&] {
        const ActiveRepair::Scope active(activeRepair_, run, platform_.shutdownBlock, controls_.window.handle());
        return run.carryOut();
    }();
    log_.write(ReportLines(platform_.clock.now(), report));
    const std::string letter = systemPartitionLetter_ ? systemPartitionLetter_->driveName() : "";
    const std::optional<UefiStartCheck> uefiStart =
        CheckAndLogUefiStart(platform_, log_, report, survey, plan.bootPartition, letter);
    const BootEntryOffer offer = OfferBootEntry(report, plan, survey, uefiStart, letter);
    showOutcome(report, plan, uefiStart, offer.offered());
    if (offer.offered()) offerBootEntry(*uefiStart, offer);
    setRunning(false);
}

// After the result: whether to write the missing boot entry, and what that did.
void MainController::offerBootEntry(const UefiStartCheck& check, const BootEntryOffer& offer) {
    if (!messages_.ask(BootEntryQuestion(check, offer))) return;
    messages_.show(BootEntryWriteMessage(WriteAndLogBootEntry(platform_, log_, offer, "用户同意"), check.bootPartition));
}

// The last message says where the old stores are kept, what the rebuild
// dropped and where the log is; without one, the status line says where the log is.
void MainController::showOutcome(const RepairReport& report, const RepairPlan& plan, std::optional<UefiStartCheck> uefiStart,
                                 bool bootEntryOffered) {
    if (report.abandoned) return;
    UefiContext uefi = uefiContext();
    uefi.start = std::move(uefiStart);
    uefi.bootEntryOffered = bootEntryOffered;
    std::vector<Message> messages = OutcomeMessages(report, plan, uefi);
    const std::string kept =
        KeptStoresNote(report, RestoreCommandFor(plan.bootPartition, uefi.firmware, uefi.systemPartition));
    if (!kept.empty()) AddToLastMessage(messages, kept);
    if (!AddToLastMessage(messages, LogNote(log_.path(), log_.failed()))) {
        controls_.statusLine.setCaption(LogNote(FileNameOf(log_.path()), log_.failed()));
    }
    for (const Message& message : messages) messages_.show(message);
}

void MainController::offerElevatedRestart(const Message& question) {
    if (!messages_.ask(question) || !platform_.elevation.restartElevated()) return;
    releaseBeforeExit();
    controls_.window.requestClose();
}

std::optional<MachineSurvey> MainController::rescanAndList() {
    survey_.showSurveying();
    std::optional<MachineSurvey> survey = survey_.run(firmware_);
    if (!survey) return std::nullopt;
    if (const LogLines unanswered = UnansweredLines(*survey); !unanswered.empty()) log_.write(unanswered);
    listFound(survey->scan);
    return survey;
}

UefiContext MainController::uefiContext() const {
    return {firmware_, systemPartitionLetter_ ? systemPartitionLetter_->driveName() : ""};
}

void MainController::listFound(const ScanResult& scan) {
    ShowEntries(controls_.installationList, scan.installations);
    if (!scan.anyFixedDrive) messages_.show(NoDiskMessage());
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
