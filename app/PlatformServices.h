#pragma once
// The platform's services as the survey, the repair run and the log take them,
// so that the window and the command line start the same work the same way.
#include "app/LogLines.h"
#include "app/SessionLog.h"
#include "app/UefiLogLines.h"
#include "app/UserMessages.h"
#include "discovery/MachineSurvey.h"
#include "platform/Platform.h"
#include "repair/RepairRun.h"
#include "repair/UefiStartCheck.h"

namespace orvanta {

inline SurveyServices SurveyServicesOf(const Platform& platform) {
    return {platform.drives, platform.devices, platform.files, platform.firmware, platform.registry};
}

inline RepairServices RepairServicesOf(const Platform& platform) {
    return {platform.files,         platform.processes,      platform.events,
            platform.consoleCodePage, platform.clock,        platform.runningSystem,
            platform.fileIdentities,  platform.registry,     platform.drives};
}

// After a run that wrote the UEFI store on a PC not known to start from
// BIOS: the check of the repaired partition, written to the log.
inline std::optional<UefiStartCheck> CheckAndLogUefiStart(const Platform& platform, SessionLog& log,
                                                          const RepairReport& report, const MachineSurvey& survey,
                                                          const std::string& bootPartition, const std::string& espLetter) {
    std::optional<UefiStartCheck> check =
        CheckUefiStartAfter(report, survey, bootPartition, espLetter, {platform.files, platform.fileIdentities},
                            platform.runningSystem.programArchitecture());
    if (check) log.write(UefiStartLines(*check));
    return check;
}

// What the log's first lines say about the program and the system it runs on.
inline ProgramFacts ProgramFactsOf(const Platform& platform) {
    return {ProgramVersion, platform.runningSystem.programArchitecture(), platform.runningSystem.windowsVersion(),
            platform.elevation.isElevated()};
}

} // namespace orvanta
