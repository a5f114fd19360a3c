#pragma once
// The platform's services as the survey, the repair run and the log take them,
// so that the window and the command line start the same work the same way.
#include "app/texts/BootEntryTexts.h"
#include "app/texts/LogLines.h"
#include "app/session/SessionLog.h"
#include "app/texts/UefiLogLines.h"
#include "app/texts/UserMessages.h"
#include "discovery/survey/MachineSurvey.h"
#include "platform/Platform.h"
#include "repair/run/BootEntryWrite.h"
#include "repair/run/RepairRun.h"
#include "repair/restore/StoreRestore.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

inline SurveyServices SurveyServicesOf(const Platform& platform) {
    return {platform.drives,   platform.devices,       platform.files,       platform.firmware,
            platform.registry, platform.runningSystem, platform.virtualDisks};
}

inline PlanServices PlanServicesOf(const Platform& platform) {
    return {platform.files, platform.fileIdentities, platform.crypto, platform.processes, platform.consoleCodePage};
}

inline RepairServices RepairServicesOf(const Platform& platform) {
    return {platform.files,         platform.processes,      platform.events,
            platform.consoleCodePage, platform.clock,        platform.runningSystem,
            platform.fileIdentities,  platform.registry,     platform.drives};
}

inline RestoreServices RestoreServicesOf(const Platform& platform) {
    return {platform.files, platform.registry, platform.drives, platform.clock};
}

// After a run that wrote the UEFI store on a PC not known to start from
// BIOS: the check of the repaired partition, written to the log.
inline std::optional<UefiStartCheck> CheckAndLogUefiStart(const Platform& platform, SessionLog& log,
                                                          const RepairReport& report, const MachineSurvey& survey,
                                                          const std::string& bootPartition, const std::string& espLetter) {
    std::optional<UefiStartCheck> check =
        CheckUefiStartAfter(report, survey, bootPartition, espLetter, {platform.files, platform.fileIdentities, platform.crypto},
                            platform.runningSystem.programArchitecture());
    if (check) log.write(UefiStartLines(*check));
    return check;
}

// Writes the firmware's boot entry as offered (`why`: who asked), with the
// log's lines before and after.
inline BootEntryWrite WriteAndLogBootEntry(const Platform& platform, SessionLog& log, const BootEntryOffer& offer,
                                           const std::string& why) {
    log.write(BootEntryIntentLines(offer, why));
    const BootEntryWrite write = WriteWindowsBootEntry(platform.firmware, offer.esp);
    log.write(BootEntryWriteLines(write));
    return write;
}

// What the log's first lines say about the program and the system it runs on.
inline ProgramFacts ProgramFactsOf(const Platform& platform) {
    return {ProgramVersion, platform.runningSystem.programArchitecture(), platform.runningSystem.windowsVersion(),
            platform.elevation.isElevated()};
}

} // namespace orvanta
