#pragma once
// The repair run: moves the old BCD stores aside, runs the boot tools in the
// plan's order, and reports which store exists afterwards. It touches only the
// files and processes; the window is the caller's.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ConsoleCodePage.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/Processes.h"
#include "platform/RunningSystem.h"
#include "repair/CommandLines.h"
#include "repair/RepairObserver.h"
#include "repair/RepairPlan.h"
#include "repair/StoreBackup.h"
#include "repair/ToolRunner.h"

namespace orvanta {

struct RepairServices {
    FileSystem& files;
    Processes& processes;
    EventPump& events;
    ConsoleCodePage& consoleCodePage;
    Clock& clock;
    RunningSystem& runningSystem;
    FileIdentities& fileIdentities;
};

// What became of one BCD store.
enum class StoreOutcome {
    Recreated, // a store exists after the tools
    PutBack,   // the tools left none: the old store is back in its place
    Missing,   // there was none before and there is none after
    Restored,  // the run was abandoned: the old store is back, over what the tools wrote
};

// A tool that failed. When Bin\bcdboot.exe fails, the installation's own
// bcdboot.exe runs with the same arguments; only when that fails too (or
// isn't there) does the installation count as failed.
struct FailedTool {
    ToolRun run;
    std::optional<ToolRun> fallback;
};

struct RepairReport {
    StoreOutcome biosStore = StoreOutcome::Missing;
    StoreOutcome uefiStore = StoreOutcome::Missing;
    std::vector<FailedTool> failedTools; // in order
    std::vector<StoreEvent> storeSteps;  // what was done with the stores, in order
    std::optional<PlatformError> error;  // a tool that could not start, or an unreadable store
    bool abandoned = false;              // the session ended during the run
};

class RepairRun {
public:
    // For a plan that was not refused; the observer hears every step.
    RepairRun(const RepairPlan& plan, RepairServices services, RepairObserver& observer);

    RepairReport carryOut();

    // The session ends while a tool runs (called from an event handler during
    // the wait): the tool is stopped and the old stores go back now, since the
    // process may be ended as soon as the handler returns. No later tool runs.
    void abandon();

private:
    ToolRun run(const ToolCall& call);
    // Runs bcdboot for one installation, with its own bcdboot when ours fails.
    void runBcdboot(const ToolCall& call);
    void noted(const StoreEvent& event);
    bool storeExists(const std::string& suffix);
    StoreOutcome settle(StoreBackup& store, const std::string& testSuffix);
    void stopEarly();

    const RepairPlan& plan_;
    RepairServices services_;
    RepairObserver& observer_;
    ToolRunner runner_;
    RepairReport report_;
    std::map<std::string, FileIdentity> identities_; // each program is looked at once per run
    StoreBackup biosStore_;
    StoreBackup uefiStore_;
};

} // namespace orvanta
