#pragma once
// The words of /repair /plan: what the repair would do, told before the
// confirmation and changing nothing (the boot partition and its room, the
// boot managers judged, where each store and its copy would go, the command
// lines in their order), the warnings a run would go on with, and the
// verdict with its exit code.
#include <string>
#include <vector>

#include "app/texts/LogLines.h"
#include "app/texts/UserMessages.h"
#include "repair/tools/CommandLines.h"
#include "repair/run/RepairPlan.h"
#include "repair/backup/StorePlan.h"

namespace orvanta {

// A warning a run goes on with, counting it not fully repaired: its fixed
// English code for scripts and its words.
struct WarningBeforeRun {
    std::string code; // "encryptedDefault"
    std::string text;
};

// The fixed English code of a refused plan, for scripts: "toolsMissing"...
std::string RefusalCode(Refusal refusal);

// What /repair goes on with and counts as not fully repaired: the disks and
// drives that didn't answer (their systems left alone), the plan's warnings,
// and a UEFI store that would go where UEFI firmware can't start from.
// Without a plan (refused before one, or /list), only the first.
std::vector<WarningBeforeRun> WarningsBeforeRun(const RepairPlan* plan, const UefiContext& uefi, const MachineSurvey& survey);

// The plan of a repair that would run: the boot partition, the order, the
// boot managers, the stores and the command lines.
LogLines RepairPlanLines(const RepairPlan& plan, const std::vector<PlannedStore>& stores,
                         const std::vector<ToolCall>& calls);

// The warnings, each on a line, under their heading; nothing without any.
LogLines PlanWarningLines(const std::vector<WarningBeforeRun>& warnings);

// The last line: what /repair would answer, and that nothing was changed.
std::string PlanVerdictLine(int exitCode, std::size_t warnings);

// How a kept copy of the store at `storePath` will be named: its number and
// time are only known when it is made.
std::string KeptCopyNameForm(const std::string& storePath);

} // namespace orvanta
