#include "repair/restore/StoreRestore.h"

#include <utility>

#include "platform/errors/SystemErrors.h"
#include "repair/tools/CommandLines.h"
#include "repair/restore/KeptStoreCheck.h"
#include "repair/backup/StoreBackup.h"
#include "repair/stores/SystemStore.h"

namespace orvanta {

bool RestoreReport::restoredClean() const {
    for (const StoreEvent& step : steps) {
        if (step.step == StoreStep::LogNotMoved) return false;
    }
    return restored && stop == RestoreStop::None && !failure && check.passed();
}

StoreRestore::StoreRestore(RestoreServices services, RestoreRequest request, RestoreReport& report, StoreEventSink events)
    : services_(services),
      request_(std::move(request)),
      report_(report),
      events_(std::move(events)),
      copies_(services.files, request_.storePath, [this](const StoreEvent& event) {
          report_.steps.push_back(event);
          if (events_) events_(event);
      }) {
    report_.storePath = request_.storePath;
    report_.copyPath = request_.copyPath;
    report_.firmware = request_.firmware;
}

void StoreRestore::carryOut() {
    try {
        time_ = services_.clock.now();
        if (!admit()) return;
        if (report_.throughRegistry) {
            putBackThroughRegistry();
        } else {
            putBackFile();
        }
        if (!report_.restored) return;
        checkInPlace();
        // The copy put back through the registry stays in the folder: never removed now.
        copies_.removeBeyondKept(!report_.check.passed(), report_.throughRegistry ? FileNameOf(request_.copyPath) : "");
    } catch (const PlatformError& error) {
        // A disk that stopped answering: each store lies where the steps say.
        report_.stop = RestoreStop::Error;
        report_.failure = error;
    }
}

bool StoreRestore::admit() {
    FileSystem& files = services_.files;
    if (!files.fileAttributes(request_.copyPath)) return refuse(RestoreRefusal::NoSuchCopy);
    if (!StoreReadingOf(files.readFile(request_.copyPath, LargestStore)).store) {
        return refuse(RestoreRefusal::CopyUnreadable);
    }
    placeAttributes_ = files.fileAttributes(request_.storePath);
    if (files.readFile(request_.storePath, LargestStore).status == FileReadStatus::HeldOpen) {
        report_.throughRegistry =
            IsSystemStore(request_.storePath, SystemStoreFile(services_.registry), services_.drives);
        if (!report_.throughRegistry) {
            report_.holders = files.holdersOf(request_.storePath);
            return refuse(RestoreRefusal::HeldByProgram);
        }
    }
    if (std::optional<BcdStoreReading> replaced =
            ReadStoreAt(files, services_.registry, request_.storePath, report_.throughRegistry)) {
        report_.replacedPassed = CheckKeptStore(*replaced, request_.firmware, request_.installations).passed();
        report_.replaced = ListingOf(std::move(*replaced), request_.disks);
    }
    return true;
}

// Each step is one rename and the store in place is never removed, so that
// whatever stops the program (a power cut included) both stores can be found:
// each lies in the place or under a kept name, at worst both under kept
// names. A store's logs leave a place before it and arrive after it, so that
// no log ever lies beside a store that isn't its own: a stop between the two
// leaves the logs alone beside nothing, never beside the other store.
void StoreRestore::putBackFile() {
    if (placeAttributes_ ? !moveReplacedAside() : !removeStrayLogs()) return;
    if (!services_.files.moveFile(request_.copyPath, request_.storePath)) {
        report_.stop = RestoreStop::CopyNotMoved;
        putReplacedBack();
        return;
    }
    report_.restored = true;
    record(StoreStep::CopyPutInPlace, request_.copyPath);
    moveLogs(request_.copyPath, request_.storePath);
    if (placeAttributes_ && services_.files.fileAttributes(request_.storePath) != placeAttributes_ &&
        !services_.files.setFileAttributes(request_.storePath, *placeAttributes_)) {
        record(StoreStep::AttributesNotSet, "");
    }
}

bool StoreRestore::moveReplacedAside() {
    const std::optional<std::string> kept = copies_.newPath(time_, report_.replacedPassed);
    if (!kept) return refuse(RestoreRefusal::FolderNotListed);
    if (!moveLogs(request_.storePath, *kept) || !services_.files.moveFile(request_.storePath, *kept)) {
        moveLogs(*kept, request_.storePath); // those that moved go back: nothing has changed
        return refuse(RestoreRefusal::StoreNotMoved);
    }
    report_.replacedKeptAt = *kept;
    record(StoreStep::KeptBeforeRestore, *kept);
    return true;
}

// Logs where no store is belong to none: left there, they would be replayed into the copy.
bool StoreRestore::removeStrayLogs() {
    for (const char* suffix : StoreLogSuffixes) {
        const std::string log = request_.storePath + suffix;
        if (!services_.files.fileAttributes(log)) continue;
        if (!services_.files.removeFile(log)) return refuse(RestoreRefusal::StrayLog);
        record(StoreStep::StrayLogRemoved, log);
    }
    return true;
}

void StoreRestore::putReplacedBack() {
    const std::string kept = report_.replacedKeptAt;
    if (kept.empty()) return;
    if (!services_.files.moveFile(kept, request_.storePath)) {
        record(StoreStep::BackupLeftBeside, kept);
        return;
    }
    report_.replacedKeptAt.clear();
    record(StoreStep::ReplacedPutBack, kept);
    moveLogs(kept, request_.storePath);
}

bool StoreRestore::moveLogs(const std::string& from, const std::string& to) {
    bool all = true;
    for (const char* suffix : StoreLogSuffixes) {
        if (!services_.files.fileAttributes(from + suffix) || services_.files.moveFile(from + suffix, to + suffix)) continue;
        record(StoreStep::LogNotMoved, from + suffix);
        all = false;
    }
    return all;
}

// The running system's store: saved before it is replaced. When the registry
// can't restore, what was saved stays, unless nothing was even tried.
void StoreRestore::putBackThroughRegistry() {
    const SavedCopy saved = copies_.saveFromRegistry(services_.registry, SystemStoreKey, time_, report_.replacedPassed);
    if (saved.path.empty()) {
        report_.error = saved.error;
        refuse(RestoreRefusal::SystemStoreNotSaved);
        return;
    }
    report_.error = services_.registry.restoreKey(SystemStoreKey, request_.copyPath);
    if (report_.error == PrivilegeNotHeldError && services_.files.removeFile(saved.path)) {
        refuse(RestoreRefusal::SystemStoreNotRestored);
        return;
    }
    report_.replacedKeptAt = saved.path;
    record(StoreStep::KeptBeforeRestore, saved.path);
    if (report_.error != 0) {
        report_.stop = RestoreStop::RegistryNotRestored;
        return;
    }
    report_.restored = true;
    record(StoreStep::RestoredThroughRegistry, request_.copyPath);
}

void StoreRestore::checkInPlace() {
    const BcdStoreReading reading =
        ReadStoreAt(services_.files, services_.registry, request_.storePath, report_.throughRegistry)
            .value_or(BcdStoreReading{std::nullopt, StoreFault::Damaged});
    report_.check = CheckKeptStore(reading, request_.firmware, request_.installations);
    if (reading.store) report_.withoutLoader = InstallationsWithoutLoader(*reading.store, request_.installations);
    report_.after = ListingOf(reading, request_.disks);
}

bool StoreRestore::refuse(RestoreRefusal refusal) {
    report_.refusal = refusal;
    return false;
}

void StoreRestore::record(StoreStep step, const std::string& detail) {
    const StoreEvent event{step, request_.storePath, std::nullopt, detail};
    report_.steps.push_back(event);
    if (events_) events_(event);
}

} // namespace orvanta
