#include "discovery/MachineSurvey.h"

namespace orvanta {
namespace {

// Asked only when an installation on X: is found.
RunningWindows RunningWindowsOf(SurveyServices services) {
    return {IsPreinstallationEnvironment(services.registry), services.runningSystem.windowsFolder()};
}

MachineSurvey SurveyDrivesAndFirmware(SurveyServices services, std::optional<FirmwareMode> knownFirmware) {
    MachineSurvey survey;
    survey.scan = FindInstallations({services.drives, services.devices, services.files},
                                    [services] { return RunningWindowsOf(services); });
    survey.firmware = knownFirmware ? *knownFirmware : DetectFirmwareMode(services.firmware, services.registry);
    if (survey.firmware != FirmwareMode::Bios) survey.uefi = ReadUefiBootState(services.firmware);
    survey.disks = ScanDisks(services.devices);
    // Where no disk gives its partition table, no drive can be told apart by it.
    if (survey.disks.empty()) return survey;
    LocateFixedDrives(services.devices, survey.scan);
    ReadBootSectors(services.devices, survey.disks, survey.scan.drives);
    // A PC that starts from BIOS doesn't read the ESP.
    if (survey.firmware == FirmwareMode::Bios) return survey;
    survey.systemPartitions = FindSystemPartitions(survey.disks);
    if (survey.systemPartitions.empty()) return survey;
    NameSystemPartitions(survey.systemPartitions, survey.scan.drives);
    const std::optional<std::uint32_t> defaultDisk =
        survey.scan.installations.empty() ? std::nullopt : DiskOf(survey.scan, survey.scan.installations.front());
    survey.systemPartition = ChooseSystemPartition(survey.systemPartitions, defaultDisk);
    survey.systemPartitionReason = ReasonForChoice(survey.systemPartition, defaultDisk);
    return survey;
}

MachineSurvey Survey(SurveyServices services, std::optional<FirmwareMode> knownFirmware) {
    MachineSurvey survey = SurveyDrivesAndFirmware(services, knownFirmware);
    survey.virtualDisks = FindVirtualDiskFiles(services.virtualDisks, services.devices, survey.scan, survey.disks);
    return survey;
}

} // namespace

MachineSurvey SurveyMachine(SurveyServices services) {
    return Survey(services, std::nullopt);
}

MachineSurvey RescanMachine(SurveyServices services, FirmwareMode firmware) {
    return Survey(services, firmware);
}

std::optional<PartitionIdentity> InstallationIdentity(const MachineSurvey& survey, const std::string& windowsFolder) {
    for (const ScannedDrive& drive : survey.scan.drives) {
        if (!drive.location || WindowsFolderOf(drive.name) != windowsFolder) continue;
        return IdentityOf(survey.disks, drive.location->disk, drive.location->partition);
    }
    return std::nullopt;
}

bool NeedsSystemPartitionLetter(const MachineSurvey& survey) {
    return survey.systemPartition.has_value() && survey.firmware != FirmwareMode::Bios;
}

std::map<std::string, PartitionIdentity> InstallationPartitions(const MachineSurvey& survey) {
    std::map<std::string, PartitionIdentity> partitions;
    for (const std::string& installation : survey.scan.installations) {
        if (const auto identity = InstallationIdentity(survey, installation)) partitions.emplace(installation, *identity);
    }
    return partitions;
}

} // namespace orvanta
