#include "discovery/MachineSurvey.h"

namespace orvanta {

MachineSurvey SurveyMachine(SurveyServices services) {
    MachineSurvey survey;
    survey.scan = FindInstallations({services.drives, services.devices, services.files});
    survey.firmware = DetectFirmwareMode(services.firmware, services.registry);
    // A PC that starts from BIOS doesn't read the ESP: its disks are not asked.
    if (survey.firmware == FirmwareMode::Bios) return survey;
    std::vector<SystemPartition> partitions = FindSystemPartitions(services.devices);
    if (partitions.empty()) return survey;
    // Only now is it worth asking each drive where it lies.
    LocateFixedDrives(services.devices, survey.scan);
    NameSystemPartitions(partitions, survey.scan.drives);
    const std::optional<std::uint32_t> defaultDisk =
        survey.scan.installations.empty() ? std::nullopt : DiskOf(survey.scan, survey.scan.installations.front());
    survey.systemPartition = ChooseSystemPartition(partitions, defaultDisk);
    return survey;
}

bool NeedsSystemPartitionLetter(const MachineSurvey& survey) {
    return survey.systemPartition.has_value() && survey.firmware != FirmwareMode::Bios;
}

} // namespace orvanta
