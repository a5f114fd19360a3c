#include "discovery/survey/MachineSurvey.h"

#include <algorithm>

#include "discovery/volumes/DrivePlace.h"
#include "discovery/volumes/DriveStrings.h"

namespace orvanta {
namespace {

// Asked only when an installation on X: is found.
RunningWindows RunningWindowsOf(SurveyServices services) {
    return {IsPreinstallationEnvironment(services.registry), services.runningSystem.windowsFolder()};
}

bool IsUnansweredDisk(const MachineSurvey& survey, std::uint32_t number) {
    return std::any_of(survey.unansweredDisks.begin(), survey.unansweredDisks.end(),
                       [&](const UnansweredDisk& disk) { return disk.number == number; });
}

// The systems on a disk that didn't answer can't be repaired: its tools would
// wait on it as the survey did.
void LeaveOutUnansweredDisks(MachineSurvey& survey) {
    std::erase_if(survey.scan.installations, [&](const std::string& installation) {
        const std::optional<std::uint32_t> disk = DiskOf(survey.scan, installation);
        return disk && IsUnansweredDisk(survey, *disk);
    });
}

void ForgetPlaces(ScanResult& scan) {
    for (ScannedDrive& drive : scan.drives) drive.location.reset();
}

MachineSurvey SurveyDrivesAndFirmware(SurveyServices services, DeviceSurveyor& surveyor,
                                      std::optional<FirmwareMode> knownFirmware) {
    MachineSurvey survey;
    const std::vector<std::string> driveNames = SplitDriveNames(ReadDriveStrings(services.drives));
    survey.firmware = knownFirmware ? *knownFirmware : DetectFirmwareMode(services.firmware, services.registry);
    if (survey.firmware != FirmwareMode::Bios) survey.uefi = ReadUefiBootState(services.firmware);
    DeviceAnswers answers = surveyor.ask({services.drives, services.devices, services.files}, driveNames);
    survey.scan = ScanResultOf(std::move(answers.drives), [services] { return RunningWindowsOf(services); });
    survey.unansweredDisks = std::move(answers.unansweredDisks);
    for (const DiskAnswer& answer : answers.disks) survey.disks.push_back(*answer.disk);
    LeaveOutUnansweredDisks(survey);
    // Where no disk gives its partition table, no drive can be told apart by
    // it; where none even went quiet, no place of a drive means anything.
    if (survey.disks.empty()) {
        if (survey.unansweredDisks.empty()) ForgetPlaces(survey.scan);
        return survey;
    }
    AssignBootSectors(answers.disks, survey.scan.drives);
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

MachineSurvey Survey(SurveyServices services, DeviceSurveyor& surveyor, std::optional<FirmwareMode> knownFirmware) {
    MachineSurvey survey = SurveyDrivesAndFirmware(services, surveyor, knownFirmware);
    survey.virtualDisks = FindVirtualDiskFiles(services.virtualDisks, services.devices, survey.scan, survey.disks);
    return survey;
}

} // namespace

MachineSurvey SurveyMachine(SurveyServices services, DeviceSurveyor& surveyor) {
    return Survey(services, surveyor, std::nullopt);
}

MachineSurvey RescanMachine(SurveyServices services, DeviceSurveyor& surveyor, FirmwareMode firmware) {
    return Survey(services, surveyor, firmware);
}

std::vector<std::string> UnansweredDriveNames(const ScanResult& scan) {
    std::vector<std::string> names;
    for (const ScannedDrive& drive : scan.drives) {
        if (!drive.answered) names.push_back(drive.name);
    }
    return names;
}

bool IsUnanswered(const MachineSurvey& survey, const std::string& driveName) {
    const ScannedDrive* drive = FindDrive(survey.scan.drives, driveName);
    return drive != nullptr &&
           (!drive->answered || (drive->location && IsUnansweredDisk(survey, drive->location->disk)));
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
