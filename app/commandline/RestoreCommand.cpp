#include "app/commandline/RestoreCommand.h"

#include "app/commandline/CommandLineMode.h"
#include "app/commandline/CommandLineOutput.h"
#include "app/restore/KeptCopyLines.h"
#include "app/session/PlatformServices.h"
#include "app/restore/RestoreTexts.h"
#include "app/texts/RunRefusals.h"
#include "app/texts/UserMessages.h"
#include "discovery/volumes/DrivePlace.h"
#include "platform/text/CaseBlind.h"
#include "repair/partition/BootPartition.h"
#include "repair/restore/KeptCopyListing.h"
#include "repair/run/RepairLock.h"
#include "repair/restore/StoreRestore.h"

namespace orvanta {
namespace {

// While set, the console's Ctrl+C is ignored and its closing waits (the
// system gives it a few seconds) for the renames to end.
class ChangingStores {
public:
    explicit ChangingStores(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
    ~ChangingStores() { flag_ = false; }
    ChangingStores(const ChangingStores&) = delete;
    ChangingStores& operator=(const ChangingStores&) = delete;

private:
    std::atomic<bool>& flag_;
};

std::vector<CheckedInstallation> InstallationsOf(const MachineSurvey& found) {
    return CheckedInstallationsOf(found.scan.installations, InstallationPartitions(found), found.virtualDisks);
}

} // namespace

RestoreCommand::RestoreCommand(Platform platform, TextOutput& output, SessionLog& log,
                               std::optional<SystemPartitionLetter>& espLetter, std::atomic<bool>& changing)
    : platform_(platform), output_(output), log_(log), espLetter_(espLetter), changing_(changing) {}

int RestoreCommand::run(const CommandLineOptions& options, const std::function<MachineSurvey()>& survey) {
    report_.asked = options.restoreCopy.value_or("");
    if (options.restoreCopy) {
        log_.open(options.logPath.value_or(""));
        log_.write(StartLines(platform_.clock.now(), ProgramFactsOf(platform_)));
    }
    if (!platform_.elevation.isElevated()) return refuse(RestoreRefusal::NotElevated);
    const MachineSurvey found = survey();
    if (NeedsSystemPartitionLetter(found)) espLetter_.emplace(platform_.drives, *found.systemPartition, found.scan.drives);
    const std::string letter = espLetter_ ? espLetter_->driveName() : "";
    if (options.restoreCopy) log_.write(SurveyLines(found, letter, espLetter_ && espLetter_->mapped()));

    std::optional<CopyPath> copy;
    if (options.restoreCopy) {
        CopyPathReading reading = ReadCopyPath(*options.restoreCopy);
        if (reading.fault == CopyPathFault::OutsideStoreFolders) return refuse(RestoreRefusal::OutsideStoreFolders);
        if (reading.fault == CopyPathFault::NotAKeptCopy) return refuse(RestoreRefusal::NotAKeptCopy);
        copy = std::move(reading.path);
    }
    if (const auto refusal = settleBootPartition(options, copy, found, letter)) return refuse(*refusal);
    const std::vector<CheckedInstallation> installations = InstallationsOf(found);
    if (!copy) return list(installations, RestoreCommandFor(report_.bootPartition, found.firmware, letter));
    return putBack(*copy, found, installations);
}

std::optional<RestoreRefusal> RestoreCommand::settleBootPartition(const CommandLineOptions& options,
                                                                 const std::optional<CopyPath>& copy,
                                                                 const MachineSurvey& found, const std::string& espLetter) {
    const std::string pathDrive = copy ? copy->drive : "";
    report_.bootPartition = options.bootPartition.value_or(
        pathDrive.empty() ? DefaultBootPartition(found.firmware, espLetter) : pathDrive);
    if (!IsDriveLetterAndColon(report_.bootPartition)) return RestoreRefusal::BadBootPartition;
    if (!pathDrive.empty() && !SameIgnoringCase(pathDrive, report_.bootPartition)) return RestoreRefusal::OtherDrive;
    // The ESP's letter given for this session is no drive the survey saw.
    if (FindDrive(found.scan.drives, report_.bootPartition) == nullptr &&
        !SameIgnoringCase(report_.bootPartition, espLetter)) {
        return RestoreRefusal::NoSuchDrive;
    }
    return std::nullopt;
}

int RestoreCommand::list(const std::vector<CheckedInstallation>& installations, const std::string& restoreCommand) {
    report_.listing = ListKeptCopies(platform_.files, report_.bootPartition, installations);
    WriteLines(output_, KeptCopyLines(report_.bootPartition, report_.listing, restoreCommand));
    return RepairedExitCode;
}

int RestoreCommand::putBack(const CopyPath& copy, const MachineSurvey& found,
                            const std::vector<CheckedInstallation>& installations) {
    // One change of stores at a time: a repair's or a restore's.
    const RepairLock lock(platform_.mutexes);
    if (!lock.mayRepair()) return refuse(RestoreRefusal::AnotherRepair);
    if (lock.state() != LockState::Taken) log_.write(RepairLockLines(lock));

    const std::string storePath = report_.bootPartition + copy.storePath;
    const StoreFirmware firmware = copy.storePath == BiosStorePath ? StoreFirmware::Bios : StoreFirmware::Uefi;
    StoreRestore restore(RestoreServicesOf(platform_),
                         {storePath, report_.bootPartition + PathOnPartition(copy), firmware, installations, found.disks},
                         report_, [this](const StoreEvent& event) { log_.storeChanged(event); });
    log_.write(RestoreStartLines(platform_.clock.now(), report_));
    {
        const ChangingStores changing(changing_);
        restore.carryOut();
    }
    log_.write(RestoreEndLines(platform_.clock.now(), report_));
    say(report_.refusal != RestoreRefusal::None ? RestoreRefusalMessage(report_) : RestoreOutcomeMessage(report_));
    WriteLines(output_, {LogNote(log_.path(), log_.failed())});
    if (report_.refusal != RestoreRefusal::None) return RefusedExitCode;
    if (!report_.restored) return SystemErrorExitCode;
    return report_.restoredClean() ? RepairedExitCode : NotFullyRepairedExitCode;
}

int RestoreCommand::refuse(RestoreRefusal refusal) {
    report_.refusal = refusal;
    say(RestoreRefusalMessage(report_));
    return RefusedExitCode;
}

void RestoreCommand::say(const Message& message) {
    log_.write(MessageLines(platform_.clock.now(), message));
    WriteMessage(output_, message);
}

} // namespace orvanta
