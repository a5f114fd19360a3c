#include "discovery/MachineSurvey.h"

namespace orvanta {

MachineSurvey SurveyMachine(SurveyServices services) {
    MachineSurvey survey;
    survey.scan = FindInstallations({services.drives, services.devices, services.files});
    survey.firmware = DetectFirmwareMode(services.firmware, services.registry);
    const std::optional<std::uint32_t> defaultDisk =
        survey.scan.installations.empty() ? std::nullopt : DiskOf(survey.scan, survey.scan.installations.front());
    survey.systemPartition =
        ChooseSystemPartition(FindSystemPartitions(services.devices, survey.scan.drives), defaultDisk);
    return survey;
}

bool NeedsSystemPartitionLetter(const MachineSurvey& survey) {
    return survey.systemPartition.has_value() && survey.firmware != FirmwareMode::Bios;
}

} // namespace orvanta
