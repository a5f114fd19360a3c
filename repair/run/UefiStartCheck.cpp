#include "repair/run/UefiStartCheck.h"

#include "discovery/volumes/DrivePlace.h"
#include "platform/text/CaseBlind.h"
#include "platform/errors/SystemErrors.h"

namespace orvanta {
namespace {

// The disk and partition a drive name stands for, as the survey located it.
std::optional<VolumeLocation> LocationOf(const MachineSurvey& survey, const std::string& driveName,
                                         const std::string& espLetter) {
    if (survey.systemPartition && !espLetter.empty() && SameIgnoringCase(driveName, espLetter)) {
        return VolumeLocation{survey.systemPartition->disk, survey.systemPartition->partition};
    }
    const ScannedDrive* drive = FindDrive(survey.scan.drives, driveName);
    return drive ? drive->location : std::nullopt;
}

// A variable the firmware lacks reads as empty.
bool Readable(std::uint32_t error) {
    return error == 0 || error == VariableNotFoundError;
}

} // namespace

SecureBootState SecureBootStateOf(const UefiBootState& state) {
    if (state.secureBoot.error == VariableNotFoundError) return SecureBootState::NotSupported;
    if (state.secureBoot.error != 0 || !state.secureBoot.value) return SecureBootState::Unknown;
    return *state.secureBoot.value ? SecureBootState::On : SecureBootState::Off;
}

std::optional<EspIdentity> EspIdentityOf(const MachineSurvey& survey, const std::string& bootPartition,
                                         const std::string& espLetter) {
    const std::optional<VolumeLocation> location = LocationOf(survey, bootPartition, espLetter);
    const Disk* disk = location ? FindDisk(survey.disks, location->disk) : nullptr;
    const PartitionRecord* partition = disk ? PartitionOf(*disk, location->partition) : nullptr;
    if (partition == nullptr) return std::nullopt;
    EspIdentity esp;
    esp.partitionNumber = partition->number;
    if (disk->sectorSize != 0) {
        esp.startLba = partition->offset / disk->sectorSize;
        esp.sizeLba = partition->length / disk->sectorSize;
    }
    if (partition->style == PartitionStyle::Gpt) {
        esp.gptPartition = partition->gptId;
        return esp;
    }
    // An MBR entry names the partition by its first block, which needs the block size.
    if (disk->sectorSize == 0) return std::nullopt;
    esp.mbrDiskSignature = disk->layout.mbrSignature;
    return esp;
}

BootArchitecture BootArchitectureOfBuild(const std::string& build) {
    if (build == "x86") return BootArchitecture::X86;
    if (build == "arm64") return BootArchitecture::Arm64;
    return BootArchitecture::X64;
}

UefiStartCheck CheckUefiStart(UefiStartServices services, const std::string& bootPartition,
                              const std::optional<EspIdentity>& esp, const UefiBootState& state, BootArchitecture build) {
    UefiStartCheck check;
    check.bootPartition = bootPartition;
    check.secureBoot = SecureBootStateOf(state);
    if (check.secureBoot == SecureBootState::Unknown) check.secureBootError = state.secureBoot.error;
    check.partitionKnown = esp.has_value();
    if (!Readable(state.bootOrder.error)) check.bootOrderError = state.bootOrder.error;
    if (esp && check.bootOrderError == 0) check.entry = FindWindowsBootEntry(state.entries, state.bootOrder.value, *esp);

    check.bootManager = ReadBootManagerFile(services, bootPartition + std::string(WindowsBootManagerPath), true);
    const std::optional<BootArchitecture> machine =
        check.bootManager.isImage ? BootArchitectureOfMachine(check.bootManager.machine) : std::nullopt;
    check.fallback = ReadBootManagerFile(services, bootPartition + FallbackBootPath(machine.value_or(build)), true);

    if (check.secureBoot != SecureBootState::On) return check;
    if (!DatabasesReadable(state)) {
        check.databaseError = state.db.error != 0 ? state.db.error : state.dbx.error;
        return check;
    }
    JudgeBootManagerFile(check.bootManager, state, services.crypto);
    JudgeBootManagerFile(check.fallback, state, services.crypto);
    return check;
}

std::optional<UefiStartCheck> CheckUefiStartAfter(const RepairReport& report, const MachineSurvey& survey,
                                                  const std::string& bootPartition, const std::string& espLetter,
                                                  UefiStartServices services, const std::string& build) {
    const bool written = report.uefi.outcome == StoreOutcome::Repaired || report.uefi.outcome == StoreOutcome::FailedCheck;
    if (!written || !survey.uefi) return std::nullopt;
    return CheckUefiStart(services, bootPartition, EspIdentityOf(survey, bootPartition, espLetter), *survey.uefi,
                          BootArchitectureOfBuild(build));
}

} // namespace orvanta
