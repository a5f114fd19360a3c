#include "repair/StoreBackup.h"

#include <utility>

namespace orvanta {

std::string BackupPathOf(const std::string& storePath) {
    return storePath + ".orvanta-old";
}

StoreBackup::StoreBackup(FileSystem& files, std::string storePath)
    : files_(files), storePath_(std::move(storePath)) {}

StoreBackup::~StoreBackup() {
    try {
        restoreOriginal();
    } catch (...) {
        // A destructor must not throw; the backup stays beside the store.
    }
}

void StoreBackup::moveAside() {
    if (files_.firstMatch(storePath_, MatchMask::FilesOnly).empty()) return;
    moved_ = files_.moveFile(storePath_, BackupPathOf(storePath_), true);
}

void StoreBackup::discardBackup() {
    if (!moved_) return;
    moved_ = false;
    files_.removeFile(BackupPathOf(storePath_));
}

void StoreBackup::putBack() {
    moveBack(false);
}

void StoreBackup::restoreOriginal() {
    moveBack(true);
}

void StoreBackup::moveBack(bool replaceExisting) {
    if (!moved_) return;
    moved_ = false;
    files_.moveFile(BackupPathOf(storePath_), storePath_, replaceExisting);
}

} // namespace orvanta
