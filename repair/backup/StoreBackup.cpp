#include "repair/backup/StoreBackup.h"

#include <utility>

namespace orvanta {

BcdStoreReading StoreReadingOf(const FileRead& read) {
    return read.status == FileReadStatus::Read ? ReadBcdStore(read.bytes)
                                               : BcdStoreReading{std::nullopt, StoreFault::Damaged};
}

std::optional<BcdStoreReading> ReadStoreAt(FileSystem& files, Registry& registry, const std::string& path,
                                           bool isSystemStore) {
    const FileRead read = files.readFile(path, LargestStore);
    if (read.status == FileReadStatus::Missing) return std::nullopt;
    if (read.status != FileReadStatus::HeldOpen || !isSystemStore) return StoreReadingOf(read);
    const std::optional<RegistryKey> loaded = registry.readTree(SystemStoreKey);
    return loaded ? BcdStoreOf(*loaded) : BcdStoreReading{std::nullopt, StoreFault::Damaged};
}

StoreBackup::StoreBackup(FileSystem& files, Registry& registry, std::string storePath, StoreExpectation expectation,
                         StoreEventSink events)
    : files_(files),
      registry_(registry),
      storePath_(std::move(storePath)),
      expectation_(std::move(expectation)),
      events_(std::move(events)),
      copies_(files, storePath_, events_) {}

StoreBackup::~StoreBackup() {
    try {
        if (moved_) moveWithLogs(BackupPathOf(storePath_), storePath_, false);
    } catch (...) {
        // A destructor must not throw; the backup stays beside the store.
    }
}

void StoreBackup::record(StoreStep step, std::optional<FileAttributes> attributes, std::string detail) {
    events_({step, storePath_, attributes, std::move(detail)});
}

bool StoreBackup::passes(const BcdStoreReading& reading) const {
    return CheckStore(reading, expectation_).passed();
}

bool StoreBackup::heldOpen() {
    firstRead_ = files_.readFile(storePath_, LargestStore);
    return firstRead_->status == FileReadStatus::HeldOpen;
}

SavedCopy StoreBackup::saveSystemStore(const LocalTime& time) {
    inPlace_ = true;
    const std::optional<FileAttributes> attributes = files_.fileAttributes(storePath_);
    systemReading_ = ReadStoreAt(files_, registry_, storePath_, true).value_or(BcdStoreReading{std::nullopt, StoreFault::Damaged});
    beforePassed_ = passes(*systemReading_);
    const SavedCopy saved = copies_.saveFromRegistry(registry_, SystemStoreKey, time, beforePassed_);
    record(saved.path.empty() ? StoreStep::CouldNotSave : StoreStep::SavedFromRegistry, attributes, saved.path);
    keptAt_ = saved.path;
    madeCopy_ = !saved.path.empty();
    return saved;
}

std::vector<std::string> StoreBackup::refuseHeld() {
    record(StoreStep::HeldByProgram, files_.fileAttributes(storePath_));
    return files_.holdersOf(storePath_);
}

std::optional<BcdStoreReading> StoreBackup::prepare(const LocalTime& time) {
    time_ = time;
    const std::string backup = BackupPathOf(storePath_);
    std::optional<FileAttributes> store = files_.fileAttributes(storePath_);
    const std::optional<FileAttributes> left = files_.fileAttributes(backup);
    if (left && !store && moveWithLogs(backup, storePath_, false)) {
        record(StoreStep::BackupPutBack, left);
        store = left;
        firstRead_.reset();
    } else if (left && store) {
        keepLeftover(*left);
    }
    if (systemReading_) return systemReading_;
    if (!store) return std::nullopt;
    const FileRead read = firstRead_ ? *firstRead_ : files_.readFile(storePath_, LargestStore);
    BcdStoreReading before = StoreReadingOf(read);
    beforePassed_ = passes(before);
    moved_ = moveWithLogs(storePath_, backup, false);
    if (moved_) {
        record(StoreStep::MovedAside, store, backup);
        return before;
    }
    // A store that can't be renamed is copied byte for byte, as it was read.
    inPlace_ = true;
    if (read.status == FileReadStatus::Read) keptAt_ = copies_.write(read.bytes, time_, beforePassed_);
    madeCopy_ = !keptAt_.empty();
    record(StoreStep::CouldNotMove, store, keptAt_);
    return before;
}

// A backup an interrupted run left beside the store: the store from before that run.
void StoreBackup::keepLeftover(const FileAttributes& attributes) {
    const std::string backup = BackupPathOf(storePath_);
    const std::optional<std::string> path = copies_.newPath(time_, passes(StoreReadingOf(files_.readFile(backup, LargestStore))));
    if (!path || !moveWithLogs(backup, *path, false)) return;
    madeCopy_ = true;
    record(StoreStep::LeftoverKept, attributes, *path);
}

BcdStoreReading StoreBackup::readNow() {
    return ReadStoreAt(files_, registry_, storePath_, systemReading_.has_value())
        .value_or(BcdStoreReading{std::nullopt, StoreFault::Damaged});
}

template <typename Step>
bool StoreBackup::guarded(Step step) {
    try {
        return step();
    } catch (const PlatformError& error) {
        if (!failure_) failure_ = error;
        if (moved_) {
            moved_ = false;
            keptAt_ = BackupPathOf(storePath_);
            record(StoreStep::BackupLeftBeside, std::nullopt, keptAt_);
        }
        return false;
    }
}

void StoreBackup::settle(bool keepNew, bool newPassed) {
    bool inPlaceFailed = !newPassed;
    guarded([&] {
        if (moved_ && keepNew) {
            keepOld();
        } else if (moved_) {
            // The old store in place again: judged as it was read.
            inPlaceFailed = !(putBack(StoreStep::PutBack) && beforePassed_);
        }
        if (madeCopy_) copies_.removeBeyondKept(inPlaceFailed);
        return true;
    });
}

void StoreBackup::keepOld() {
    const std::optional<std::string> path = copies_.newPath(time_, beforePassed_);
    moved_ = false;
    if (path && moveWithLogs(BackupPathOf(storePath_), *path, false)) {
        keptAt_ = *path;
        madeCopy_ = true;
        record(StoreStep::KeptAs, std::nullopt, *path);
    } else {
        keptAt_ = BackupPathOf(storePath_);
        record(StoreStep::BackupLeftBeside, std::nullopt, keptAt_);
    }
}

bool StoreBackup::abandon() {
    if (moved_) return guarded([this] { return putBack(StoreStep::Restored); });
    if (inPlace_) record(StoreStep::LeftInPlace, std::nullopt, keptAt_);
    return true;
}

bool StoreBackup::putBack(StoreStep done) {
    const std::string backup = BackupPathOf(storePath_);
    // Over what the tools wrote, when they wrote anything.
    const bool back = moveWithLogs(backup, storePath_, files_.fileAttributes(storePath_).has_value());
    moved_ = false;
    keptAt_ = back ? "" : backup;
    record(back ? done : StoreStep::BackupLeftBeside, std::nullopt, keptAt_);
    return back;
}

bool StoreBackup::moveWithLogs(const std::string& from, const std::string& to, bool replace) {
    if (!(replace ? files_.replaceFile(from, to) : files_.moveFile(from, to))) return false;
    for (const char* suffix : StoreLogSuffixes) {
        // One that stayed when the store moved aside is its own, not the tools'.
        const bool ownStayed = replace && logsLeftInPlace_.count(suffix) != 0;
        if (!moveLog(from + suffix, to + suffix, replace && !ownStayed) && from == storePath_) {
            logsLeftInPlace_.insert(suffix);
        }
    }
    return true;
}

// The store has moved already: a log that can't follow is recorded, not thrown.
bool StoreBackup::moveLog(const std::string& from, const std::string& to, bool replace) {
    try {
        // The logs of the store replaced belong to it, never to the one put in its place.
        if (replace && files_.fileAttributes(to) && !files_.removeFile(to)) record(StoreStep::LogNotRemoved, std::nullopt, to);
        if (!files_.fileAttributes(from) || files_.moveFile(from, to)) return true;
    } catch (const PlatformError&) {
        // Recorded below, as one that did not move.
    }
    record(StoreStep::LogNotMoved, std::nullopt, from);
    return false;
}

} // namespace orvanta
