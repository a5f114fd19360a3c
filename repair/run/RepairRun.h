#pragma once
// The repair run: reads and moves aside the old BCD stores, runs the boot
// tools in the plan's order, then judges each store by the tools and by a
// check of what it holds, and keeps the old one beside it or puts it back.
// It touches only the files, the registry and the processes; the window is
// the caller's.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/threads/Clock.h"
#include "platform/text/ConsoleCodePage.h"
#include "platform/disks/Drives.h"
#include "platform/files/FileSystem.h"
#include "platform/errors/PlatformError.h"
#include "platform/threads/Processes.h"
#include "platform/system/Registry.h"
#include "platform/system/RunningSystem.h"
#include "repair/tools/CommandLines.h"
#include "repair/run/RepairObserver.h"
#include "repair/run/RepairPlan.h"
#include "repair/backup/StoreBackup.h"
#include "repair/stores/StoreCheck.h"
#include "repair/stores/StoreComparison.h"
#include "repair/tools/ToolRunner.h"

namespace orvanta {

struct RepairServices {
    FileSystem& files;
    Processes& processes;
    EventPump& events;
    ConsoleCodePage& consoleCodePage;
    Clock& clock;
    RunningSystem& runningSystem;
    FileIdentities& fileIdentities;
    Registry& registry;
    Drives& drives;
};

// What became of one BCD store.
enum class StoreOutcome {
    Repaired,    // the default's run for it ended well and the check passed
    FailedCheck, // the default's run for it ended well, but the check found what is missing
    PutBack,     // the tools failed for it: the old store is back in its place
    NotRepaired, // the tools failed for it, and no old store could take its place
    Missing,     // there was none before and there is none after
    Restored,    // the session ended: the old store is back, over what the tools wrote
    LeftBeside,  // the old store could not go back; it lies beside its place (`oldStoreKept`)
    LeftInPlace, // the session ended while the tools updated it in place; its content before is at `oldStoreKept`
};

struct StoreReport {
    StoreFirmware firmware = StoreFirmware::Bios;
    std::string path;                   // as the run names it
    StoreOutcome outcome = StoreOutcome::Missing;
    bool inPlace = false;               // held open by the running system: updated in place
    std::optional<StoreListing> before; // the old store as found; nothing when there was none
    std::optional<StoreListing> after;  // the new store, when it was judged
    StoreCheck check;
    std::vector<DroppedEntry> dropped;  // what the old store held and the new one lacks
    std::string oldStoreKept;           // where the old store lies now, "" when in place or none
};

// Why a run was refused before anything moved or ran.
enum class StoreRefusalReason {
    HeldByProgram, // a program other than the running system holds the store open
    NotSaved,      // the running system's store could not be saved to a kept copy
};

struct StoreRefusal {
    StoreRefusalReason reason = StoreRefusalReason::HeldByProgram;
    std::string path;                  // the store's
    std::vector<std::string> holders;  // the programs holding it, as far as the system tells
    std::uint32_t error = 0;           // why it was not saved; 0: its folder could not be listed
};

// A tool that failed. When Bin\bcdboot.exe fails, the installation's own
// bcdboot.exe runs with the same arguments; only when that fails too (or
// isn't there, or is too old for this store) does the installation count as
// failed.
struct FailedTool {
    ToolRun run;
    std::optional<ToolRun> fallback;
    std::string tooOldFallback = {}; // the own bcdboot's version when it was not run for this store
};

struct RepairReport {
    StoreReport bios;
    StoreReport uefi;
    std::vector<FailedTool> failedTools; // in order
    std::vector<StoreEvent> storeSteps;  // what was done with the stores, in order
    std::optional<PlatformError> error;  // a tool that could not start, or an unreadable store
    std::string stoppedTool;             // the program that could not start, "" for another error
    bool abandoned = false;              // the session ended during the run
    std::optional<StoreRefusal> refusal; // the run was refused before anything moved: nothing else holds
    std::optional<PlatformError> settleError; // an error that kept an old store from going back or being kept

    // Every store judged repaired and no tool failed (nor was it refused).
    bool fullyRepaired() const;
};

// How long the session's end waits for a stopped tool to let go of the
// stores (the system gives a few seconds in all).
inline constexpr std::uint32_t StoppedToolWaitMilliseconds = 2000;

class RepairRun {
public:
    // For a plan that was not refused; the observer hears every step.
    RepairRun(const RepairPlan& plan, RepairServices services, RepairObserver& observer);

    RepairReport carryOut();
    // What the run has found and done so far.
    const RepairReport& report() const { return report_; }

    // The session ends while a tool runs (called from an event handler during
    // the wait): the tool is stopped and waited for a short while, and the
    // old stores go back now, since the process may be ended as soon as the
    // handler returns. No later tool runs.
    void abandon();

private:
    struct Store {
        StoreBackup backup;
        StoreReport& report;
        bool defaultRunSucceeded = false;
    };

    ToolRun run(const ToolCall& call);
    // Ends the run: `call`'s program could not start.
    [[noreturn]] void stopAt(const ToolCall& call, const PlatformError& error);
    const FileIdentity& identityOf(const std::string& program);
    // Runs bcdboot for one installation, with its own bcdboot when ours fails.
    void runBcdboot(const ToolCall& call);
    void noted(const StoreEvent& event);
    // Before anything moves: false when a held store refuses the run.
    bool secureHeldStores(const LocalTime& time);
    void prepare(Store& store, const LocalTime& time);
    void settle(Store& store);
    void noteFailure(const Store& store);
    StoreExpectation expectationFor(StoreFirmware firmware) const;
    Store& storeFor(StoreFirmware firmware) { return firmware == StoreFirmware::Bios ? bios_ : uefi_; }

    const RepairPlan& plan_;
    RepairServices services_;
    RepairObserver& observer_;
    ToolRunner runner_;
    RepairReport report_;
    std::map<std::string, FileIdentity> identities_; // each program is looked at once per run
    Store bios_;
    Store uefi_;
};

} // namespace orvanta
