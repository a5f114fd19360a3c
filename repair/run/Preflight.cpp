#include "repair/run/Preflight.h"

#include "discovery/volumes/VolumeEncryption.h"
#include "repair/tools/CommandLines.h"

namespace orvanta {
namespace {

bool IsEncrypted(const ScannedDrive* drive) {
    return drive != nullptr && EncryptionOf(*drive) != VolumeEncryption::None;
}

bool HoldsEncryptingLoader(const std::optional<DrivePlace>& place) {
    return place && place->style == PartitionStyle::Mbr &&
           (place->bootCode == MasterBootCodeKind::VeraCrypt || place->bootCode == MasterBootCodeKind::TrueCrypt);
}

// bootsect replaces an MBR's code: Windows' own (new or old) and none at all
// lose nothing; GRUB's or code nobody knows may start another system.
bool HoldsForeignCode(const std::optional<DrivePlace>& place) {
    return place && place->style == PartitionStyle::Mbr &&
           (place->bootCode == MasterBootCodeKind::Grub || place->bootCode == MasterBootCodeKind::Unknown);
}

std::vector<RunWarning> WarningsOf(const RepairRequest& request, const RepairPlan& plan) {
    std::vector<RunWarning> warnings;
    if (IsEncrypted(FindDrive(request.drives, request.defaultInstallation.substr(0, 2)))) {
        warnings.push_back(RunWarning::EncryptedDefault);
    }
    if (plan.bootPlace) {
        if (const auto firmware = FirmwareWarning(plan.firmware, *plan.bootPlace, plan.bootFileSystem)) {
            warnings.push_back(*firmware);
        }
    }
    if (HoldsForeignCode(plan.bootPlace)) warnings.push_back(RunWarning::ForeignBootCode);
    if (plan.uefiBootFiles) {
        if (!plan.uefiBootFiles->damagedFiles().empty()) warnings.push_back(RunWarning::BootFileDamaged);
        const auto& installations = plan.uefiBootFiles->installations;
        if (!installations.empty() && installations.back().everyCandidateRefused()) {
            warnings.push_back(RunWarning::EveryBootManagerRefused);
        }
    }
    return warnings;
}

} // namespace

std::optional<RunWarning> FirmwareWarning(FirmwareMode firmware, const DrivePlace& place, const std::string& fileSystem) {
    if (firmware == FirmwareMode::Bios) {
        if (place.style == PartitionStyle::Gpt) return RunWarning::BiosGptDisk;
        if (place.style == PartitionStyle::Mbr && !place.isActive()) return RunWarning::BiosNotActive;
    }
    if (firmware == FirmwareMode::Uefi && UefiCanStartFrom(fileSystem) && !place.systemPartition) {
        return RunWarning::UefiNotSystemPartition;
    }
    return std::nullopt;
}

void CheckBeforeRun(const RepairRequest& request, PlanServices services, RepairPlan& plan) {
    FileSystem& files = services.files;
    const ScannedDrive* boot = FindDrive(request.drives, plan.bootPartition);
    if (boot != nullptr) plan.bootPlace = PlaceOfDrive(request.disks, *boot);
    if (IsEncrypted(boot)) {
        plan.refusal = Refusal::EncryptedBootPartition;
        return;
    }
    if (HoldsEncryptingLoader(plan.bootPlace)) {
        plan.refusal = Refusal::EncryptingBootLoader;
        return;
    }
    plan.room = MeasureBootFilesRoom(files, plan.bootPartition, plan.runOrder);
    if (plan.room && !plan.room->enough()) {
        plan.refusal = Refusal::NotEnoughRoom;
        return;
    }
    if (request.uefi) {
        const auto knowsBootex = [&] { return BcdbootKnowsBootex(services.processes, services.codePage, BcdbootPath(plan.toolFolder)); };
        plan.uefiBootFiles = ChooseUefiBootFiles(plan.runOrder, *request.uefi,
                                                 {services.files, services.fileIdentities, services.crypto}, knowsBootex);
    }
    plan.warnings = WarningsOf(request, plan);
}

} // namespace orvanta
