#pragma once
// The repair run: moves the old BCD stores aside, runs the boot tools in the
// plan's order, and reports which store exists afterwards. It touches only the
// files and processes; the window is the caller's.
#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/Processes.h"
#include "repair/RepairPlan.h"
#include "repair/ToolRunner.h"

namespace orvanta {

struct RepairServices {
    FileSystem& files;
    Processes& processes;
    EventPump& events;
};

// What became of one BCD store.
enum class StoreOutcome {
    Recreated, // a store exists after the tools; the old one, if it was moved aside, is gone
    PutBack,   // the tools left none: the old store is back in its place
    Missing,   // there was none before and there is none after
    Restored,  // the run stopped: the old store is back, replacing what the tools wrote
};

struct RepairReport {
    StoreOutcome biosStore = StoreOutcome::Missing;
    StoreOutcome uefiStore = StoreOutcome::Missing;
    std::vector<ToolRun> failedTools;   // every tool that ended with a non-zero code, in order
    std::optional<PlatformError> error; // a tool that could not start, or an unreadable store
};

// Carries out a plan that was not refused.
RepairReport CarryOut(const RepairPlan& plan, RepairServices services);

} // namespace orvanta
