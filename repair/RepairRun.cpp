#include "repair/RepairRun.h"

#include <tuple>
#include <utility>

#include "repair/CommandLines.h"

namespace orvanta {
namespace {

// The store paths as each step writes them; Windows ignores the case.
inline constexpr const char* BiosStorePath = "\\boot\\bcd";
inline constexpr const char* UefiStorePathToMove = "\\EFI\\Microsoft\\Boot\\bcd";
inline constexpr const char* UefiStorePathToTest = "\\EFI\\Microsoft\\boot\\bcd";
inline constexpr const char* UefiBootFolder = "\\EFI\\Microsoft\\Boot";

} // namespace

RepairRun::RepairRun(const RepairPlan& plan, RepairServices services, RepairObserver& observer)
    : plan_(plan),
      services_(services),
      observer_(observer),
      runner_(services.processes, services.events, services.consoleCodePage, services.clock),
      biosStore_(services.files, plan.bootPartition + BiosStorePath, [this](const StoreEvent& event) { noted(event); }),
      uefiStore_(services.files, plan.bootPartition + UefiStorePathToMove,
                 [this](const StoreEvent& event) { noted(event); }) {}

RepairReport RepairRun::carryOut() {
    try {
        biosStore_.prepare();
        uefiStore_.prepare();
        // The UEFI tool can't write its files where this folder is missing.
        services_.files.createDirectories(plan_.bootPartition + UefiBootFolder);
        for (const ToolCall& call : RepairToolCalls(plan_.toolFolder, plan_.runOrder, plan_.bootPartition)) {
            if (report_.abandoned) break;
            if (!call.installation.empty()) {
                runBcdboot(call);
                continue;
            }
            ToolRun bootsect = run(call);
            if (bootsect.startError) throw *bootsect.startError;
            if (!bootsect.succeeded() && !report_.abandoned) report_.failedTools.push_back({std::move(bootsect), {}});
        }
        if (report_.abandoned) return report_;
        report_.biosStore = settle(biosStore_, BiosStorePath);
        report_.uefiStore = settle(uefiStore_, UefiStorePathToTest);
    } catch (const PlatformError& error) {
        // A tool that can't be started, or a store that can't be read: no
        // later tool runs.
        report_.error = error;
        stopEarly();
    }
    return report_;
}

void RepairRun::abandon() {
    report_.abandoned = true;
    runner_.stopCurrent();
    for (auto [store, outcome] : {std::pair{&biosStore_, &report_.biosStore}, std::pair{&uefiStore_, &report_.uefiStore}}) {
        if (!store->moved()) continue;
        store->restoreOriginal();
        *outcome = StoreOutcome::Restored;
    }
}

ToolRun RepairRun::run(const ToolCall& call) {
    auto identity = identities_.find(call.program);
    if (identity == identities_.end()) {
        identity = identities_.emplace(call.program, services_.fileIdentities.identify(call.program)).first;
    }
    observer_.toolStarting(call.commandLine(), call.program, identity->second);
    ToolRun done = runner_.run(call.commandLine(), [this] { observer_.toolStarted(); });
    observer_.toolFinished(done);
    return done;
}

// The installation's own bcdboot often fits it better than ours (one from a
// newer release can fail on an older installation). The stores are not moved
// again between the two.
void RepairRun::runBcdboot(const ToolCall& call) {
    ToolRun ours = run(call);
    if (ours.succeeded() || report_.abandoned) return;
    const std::string own = InstallationBcdbootPath(call.installation, services_.runningSystem.windowsFolder(),
                                                    services_.runningSystem.isRedirected32Bit());
    if (!services_.files.fileAttributes(own)) {
        if (ours.startError) throw *ours.startError;
        report_.failedTools.push_back({std::move(ours), {}});
        return;
    }
    ToolRun theirs = run(call.with(own));
    if (theirs.succeeded() || report_.abandoned) return;
    if (ours.startError && theirs.startError) throw *ours.startError;
    report_.failedTools.push_back({std::move(ours), std::move(theirs)});
}

void RepairRun::noted(const StoreEvent& event) {
    report_.storeSteps.push_back(event);
    observer_.storeChanged(event);
}

bool RepairRun::storeExists(const std::string& suffix) {
    return services_.files.fileAttributes(plan_.bootPartition + suffix).has_value();
}

StoreOutcome RepairRun::settle(StoreBackup& store, const std::string& testSuffix) {
    const bool hadStore = store.moved();
    const bool exists = storeExists(testSuffix);
    store.settle(exists);
    if (exists) return StoreOutcome::Recreated;
    return hadStore ? StoreOutcome::PutBack : StoreOutcome::Missing;
}

// A store the tools already re-created stays, with its old one beside it.
void RepairRun::stopEarly() {
    for (auto [store, suffix, outcome] : {std::tuple{&biosStore_, BiosStorePath, &report_.biosStore},
                                          std::tuple{&uefiStore_, UefiStorePathToTest, &report_.uefiStore}}) {
        bool exists = false;
        try {
            exists = storeExists(suffix);
        } catch (const PlatformError&) {
            // The volume can't be read: the old store is put back if it can be.
        }
        const bool hadStore = store->moved();
        store->stopEarly(exists);
        *outcome = exists ? StoreOutcome::Recreated : hadStore ? StoreOutcome::PutBack : StoreOutcome::Missing;
    }
}

} // namespace orvanta
