#include "repair/run/RepairRun.h"

#include <utility>

#include "repair/run/BootexChoice.h"
#include "repair/backup/StorePlan.h"

namespace orvanta {
namespace {

inline constexpr const char* UefiBootFolder = "\\EFI\\Microsoft\\Boot";

// Whether a bcdboot that can't choose the firmware writes this store: the
// one of the firmware the PC runs on.
bool WritesWithoutChoice(StoreFirmware store, FirmwareMode firmware) {
    return (store == StoreFirmware::Bios && firmware == FirmwareMode::Bios) ||
           (store == StoreFirmware::Uefi && firmware == FirmwareMode::Uefi);
}

} // namespace

bool RepairReport::fullyRepaired() const {
    return failedTools.empty() && !error && !abandoned && !refusal && !settleError &&
           bios.outcome == StoreOutcome::Repaired && uefi.outcome == StoreOutcome::Repaired;
}

RepairRun::RepairRun(const RepairPlan& plan, RepairServices services, RepairObserver& observer)
    : plan_(plan),
      services_(services),
      observer_(observer),
      runner_(services.processes, services.events, services.consoleCodePage, services.clock),
      bios_{StoreBackup(services.files, services.registry, StorePathOn(plan.bootPartition, StoreFirmware::Bios),
                        expectationFor(StoreFirmware::Bios), [this](const StoreEvent& event) { noted(event); }),
            report_.bios},
      uefi_{StoreBackup(services.files, services.registry, StorePathOn(plan.bootPartition, StoreFirmware::Uefi),
                        expectationFor(StoreFirmware::Uefi), [this](const StoreEvent& event) { noted(event); }),
            report_.uefi} {
    report_.bios.path = StorePathOn(plan.bootPartition, StoreFirmware::Bios);
    report_.uefi.firmware = StoreFirmware::Uefi;
    report_.uefi.path = StorePathOn(plan.bootPartition, StoreFirmware::Uefi);
}

RepairReport RepairRun::carryOut() {
    try {
        const LocalTime time = services_.clock.now();
        if (!secureHeldStores(time)) return report_;
        prepare(bios_, time);
        prepare(uefi_, time);
        // The UEFI tool can't write its files where this folder is missing.
        services_.files.createDirectories(plan_.bootPartition + UefiBootFolder);
        const std::vector<std::string> bootex = plan_.uefiBootFiles ? plan_.uefiBootFiles->bootexInstallations() : std::vector<std::string>{};
        for (const ToolCall& call : RepairToolCalls(plan_.toolFolder, plan_.runOrder, plan_.bootPartition, bootex)) {
            if (report_.abandoned) break;
            if (!call.installation.empty()) {
                runBcdboot(call);
                continue;
            }
            ToolRun bootsect = run(call);
            if (bootsect.startError) stopAt(call, *bootsect.startError);
            if (!bootsect.succeeded() && !report_.abandoned) report_.failedTools.push_back({std::move(bootsect), {}});
        }
    } catch (const PlatformError& error) {
        // A tool that can't be started, or a store that can't be read: no
        // later tool runs, and each store is judged by what ran.
        report_.error = error;
    }
    if (report_.abandoned) return report_;
    settle(bios_);
    settle(uefi_);
    return report_;
}

// A store held open can't be moved aside. The running system's own is saved
// through the registry first, so that nothing else has moved when that fails;
// one that another program holds is never touched.
bool RepairRun::secureHeldStores(const LocalTime& time) {
    const bool biosHeld = bios_.backup.heldOpen();
    const bool uefiHeld = uefi_.backup.heldOpen();
    if (!biosHeld && !uefiHeld) return true;
    const std::optional<std::string> systemStoreFile = SystemStoreFile(services_.registry);
    std::vector<Store*> systemStores;
    for (Store* store : {&bios_, &uefi_}) {
        if (!(store == &bios_ ? biosHeld : uefiHeld)) continue;
        if (IsSystemStore(store->report.path, systemStoreFile, services_.drives)) {
            systemStores.push_back(store);
            continue;
        }
        report_.refusal = StoreRefusal{StoreRefusalReason::HeldByProgram, store->report.path, store->backup.refuseHeld()};
        return false;
    }
    for (Store* store : systemStores) {
        const SavedCopy saved = store->backup.saveSystemStore(time);
        if (saved.path.empty()) {
            report_.refusal = StoreRefusal{StoreRefusalReason::NotSaved, store->report.path, {}, saved.error};
            return false;
        }
    }
    return true;
}

void RepairRun::prepare(Store& store, const LocalTime& time) {
    std::optional<BcdStoreReading> before = store.backup.prepare(time);
    store.report.inPlace = store.backup.inPlace();
    if (!before) return;
    store.report.before = ListingOf(std::move(*before), plan_.disks);
    observer_.oldStoreRead(store.report.path, *store.report.before);
}

// Repaired only when the default installation's run for the store ended
// well, a store is there, and it holds what it should. Otherwise the old
// store goes back.
void RepairRun::settle(Store& store) {
    StoreReport& report = store.report;
    bool exists = false;
    try {
        exists = services_.files.fileAttributes(report.path).has_value();
    } catch (const PlatformError&) {
        // The volume can't be read: the old store is put back if it can be.
    }
    const bool hadStore = store.backup.moved();
    if (exists && (store.defaultRunSucceeded || report.inPlace)) {
        report.after = ListingOf(store.backup.readNow(), plan_.disks);
        report.check = CheckStore(report.after->reading, expectationFor(report.firmware));
        const bool passed = report.check.passed();
        store.backup.settle(store.defaultRunSucceeded, passed);
        report.outcome = !store.defaultRunSucceeded ? StoreOutcome::NotRepaired
                         : passed                   ? StoreOutcome::Repaired
                                                    : StoreOutcome::FailedCheck;
        if (store.defaultRunSucceeded && report.before && report.before->reading.store && report.after->reading.store) {
            report.dropped = DroppedEntries(*report.before->reading.store, *report.after->reading.store);
        }
    } else {
        store.backup.settle(false, false);
        const bool back = store.backup.keptAt().empty();
        report.outcome = hadStore && back ? StoreOutcome::PutBack
                         : hadStore       ? StoreOutcome::LeftBeside
                         : exists         ? StoreOutcome::NotRepaired
                                          : StoreOutcome::Missing;
    }
    noteFailure(store);
}

void RepairRun::noteFailure(const Store& store) {
    store.report.oldStoreKept = store.backup.keptAt();
    if (store.backup.failure() && !report_.settleError) report_.settleError = store.backup.failure();
}

StoreExpectation RepairRun::expectationFor(StoreFirmware firmware) const {
    return {firmware, CheckedInstallationsOf(plan_.runOrder, plan_.partitions, plan_.virtualDisks)};
}

void RepairRun::abandon() {
    report_.abandoned = true;
    // Stopping only starts the end: the tool may hold the store a moment longer.
    runner_.stopCurrent(StoppedToolWaitMilliseconds);
    for (Store* store : {&bios_, &uefi_}) {
        const bool moved = store->backup.moved();
        if (!moved && !store->backup.inPlace()) continue;
        const bool restored = store->backup.abandon();
        store->report.outcome = !moved ? StoreOutcome::LeftInPlace : restored ? StoreOutcome::Restored : StoreOutcome::LeftBeside;
        noteFailure(*store);
    }
}

const FileIdentity& RepairRun::identityOf(const std::string& program) {
    auto identity = identities_.find(program);
    if (identity == identities_.end()) {
        identity = identities_.emplace(program, services_.fileIdentities.identify(program)).first;
    }
    return identity->second;
}

ToolRun RepairRun::run(const ToolCall& call) {
    observer_.toolStarting(call.commandLine(), call.program, identityOf(call.program));
    ToolRun done = runner_.run(call.commandLine(), [this] { observer_.toolStarted(); });
    observer_.toolFinished(done);
    return done;
}

// The installation's own bcdboot often fits it better than ours (one from a
// newer release can fail on an older installation). The stores are not moved
// again between the two. One older than Windows 8's knows no /f: it runs
// only for the store of the firmware the PC runs on.
void RepairRun::runBcdboot(const ToolCall& call) {
    const bool isDefault = call.installation == plan_.runOrder.back();
    ToolRun ours = run(call);
    if (isDefault) storeFor(call.firmware).defaultRunSucceeded = ours.succeeded();
    if (ours.succeeded() || report_.abandoned) return;
    const std::string own = InstallationBcdbootPath(call.installation, services_.runningSystem.windowsFolder(),
                                                    services_.runningSystem.isRedirected32Bit());
    if (!services_.files.fileAttributes(own)) {
        if (ours.startError) stopAt(call, *ours.startError);
        report_.failedTools.push_back({std::move(ours), {}});
        return;
    }
    const std::string version = identityOf(own).version;
    const bool knowsChoice = KnowsFirmwareChoice(version);
    if (!knowsChoice && !WritesWithoutChoice(call.firmware, plan_.firmware)) {
        observer_.toolSkipped(call.with(own).commandLine(), version);
        if (ours.startError) stopAt(call, *ours.startError);
        report_.failedTools.push_back({std::move(ours), {}, version});
        return;
    }
    observer_.ownBcdbootStarting(call.installation);
    ToolCall theirCall = knowsChoice ? call.with(own) : call.with(own).withoutFirmwareChoice();
    // Their bcdboot gets /bootex only when its own usage text names it.
    if (theirCall.asksBootex() && BcdbootKnowsBootex(services_.processes, services_.consoleCodePage, own) != true) {
        theirCall = theirCall.withoutBootex();
    }
    ToolRun theirs = run(theirCall);
    if (isDefault) storeFor(call.firmware).defaultRunSucceeded = theirs.succeeded();
    if (theirs.succeeded() || report_.abandoned) return;
    if (ours.startError && theirs.startError) stopAt(call, *ours.startError);
    report_.failedTools.push_back({std::move(ours), std::move(theirs)});
}

void RepairRun::stopAt(const ToolCall& call, const PlatformError& error) {
    report_.stoppedTool = call.program;
    throw error;
}

void RepairRun::noted(const StoreEvent& event) {
    report_.storeSteps.push_back(event);
    observer_.storeChanged(event);
}

} // namespace orvanta
