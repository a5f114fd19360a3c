#pragma once
// What a command has learnt and done so far, kept in one place. Every way the
// command line ends (its end, a refusal, an error, a stop, the session's end)
// writes it out for scripts (/json), and so does each step on the way, so
// that a process ended from outside leaves what was known by then.
#include <optional>
#include <string>
#include <vector>

#include "app/texts/LogLines.h"
#include "discovery/survey/MachineSurvey.h"
#include "platform/shell/MessageBoxes.h"
#include "platform/errors/PlatformError.h"
#include "repair/tools/CommandLines.h"
#include "repair/run/RepairPlan.h"
#include "repair/run/RepairRun.h"
#include "repair/restore/RestoreReport.h"
#include "repair/backup/StorePlan.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

// Why nothing was done: a fixed English code for scripts, and what was said.
struct SummaryRefusal {
    std::string code; // "noInstallation"
    Message message;
};

// A tool run as it ended, with the program it started.
struct SummaryToolRun {
    std::string program;
    ToolRun run;
};

// An installation's own bcdboot that was not run: too old for that store.
struct SummarySkippedTool {
    std::string commandLine;
    std::string version;
};

// A store as /list read it; no listing when there is none.
struct SummaryListedStore {
    StoreFirmware firmware = StoreFirmware::Bios;
    std::string path;
    std::optional<StoreListing> listing;
};

struct RunSummary {
    std::string command; // "list", "repair", "plan", "restore"
    ProgramFacts program;
    std::optional<MachineSurvey> survey;
    std::string systemPartitionLetter; // "" when the ESP has none
    bool letterGiven = false;          // given for this start, taken away at its end
    std::optional<RepairPlan> plan;
    std::vector<PlannedStore> plannedStores; // /plan
    std::vector<ToolCall> plannedCalls;      // the plan's command lines, when it was not refused
    std::vector<SummaryListedStore> listedStores;
    std::vector<SummaryToolRun> toolRuns;
    std::vector<SummarySkippedTool> skippedTools;
    std::optional<RepairReport> report; // the run's, or what it had done when the session ended
    std::optional<UefiStartCheck> uefiStart;
    std::optional<RestoreReport> restore; // what /restore listed or did
    std::optional<SummaryRefusal> refusal;
    std::vector<Message> messages;      // what the command said, as a box would have
    std::optional<PlatformError> error; // an error that ended the command outside a run
    bool sessionEnded = false;          // the session ended (or the console closed) meanwhile
    std::string logPath;
    std::optional<int> exitCode; // nothing until the command has given its answer
};

} // namespace orvanta
