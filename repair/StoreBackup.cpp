#include "repair/StoreBackup.h"

#include <utility>

namespace orvanta {

std::string BackupPathOf(const std::string& storePath) {
    return storePath + ".orvanta-old";
}

StoreBackup::StoreBackup(FileSystem& files, std::string storePath, StoreEventSink events)
    : files_(files), storePath_(std::move(storePath)), events_(std::move(events)) {}

StoreBackup::~StoreBackup() {
    try {
        if (moved_) files_.moveFile(BackupPathOf(storePath_), storePath_);
    } catch (...) {
        // A destructor must not throw; the backup stays beside the store.
    }
}

void StoreBackup::record(StoreStep step, std::optional<FileAttributes> attributes) {
    events_({step, storePath_, attributes});
}

void StoreBackup::prepare() {
    const std::string backup = BackupPathOf(storePath_);
    std::optional<FileAttributes> store = files_.fileAttributes(storePath_);
    if (!store) {
        const std::optional<FileAttributes> left = files_.fileAttributes(backup);
        if (!left || !files_.moveFile(backup, storePath_)) return;
        record(StoreStep::BackupPutBack, left);
        store = left;
    } else if (files_.fileAttributes(backup)) {
        record(StoreStep::KeptOlderBackup, store);
        return;
    }
    moved_ = files_.moveFile(storePath_, backup);
    record(moved_ ? StoreStep::MovedAside : StoreStep::CouldNotMove, store);
}

void StoreBackup::settle(bool newStoreExists) {
    if (!moved_) return;
    if (!newStoreExists) return putBack();
    moved_ = false;
    const bool removed = files_.removeFile(BackupPathOf(storePath_));
    record(removed ? StoreStep::BackupRemoved : StoreStep::BackupLeftBeside);
}

void StoreBackup::stopEarly(bool newStoreExists) {
    if (!moved_) return;
    if (!newStoreExists) return putBack();
    moved_ = false;
    record(StoreStep::KeptWithBackup);
}

void StoreBackup::restoreOriginal() {
    if (!moved_) return;
    moved_ = false;
    files_.replaceFile(BackupPathOf(storePath_), storePath_);
    record(StoreStep::Restored);
}

void StoreBackup::putBack() {
    moved_ = false;
    const bool back = files_.moveFile(BackupPathOf(storePath_), storePath_);
    record(back ? StoreStep::PutBack : StoreStep::BackupLeftBeside);
}

} // namespace orvanta
