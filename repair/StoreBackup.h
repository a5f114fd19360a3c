#pragma once
// Old BCD stores are moved aside before the tools run and only removed once a
// new store exists, so that a failed repair leaves the old boot configuration.
#include <string>

#include "platform/FileSystem.h"

namespace orvanta {

// The name an old store is moved to, beside it.
std::string BackupPathOf(const std::string& storePath);

class StoreBackup {
public:
    StoreBackup(FileSystem& files, std::string storePath);
    // Restores the old store if the backup was neither discarded nor put back.
    ~StoreBackup();
    StoreBackup(const StoreBackup&) = delete;
    StoreBackup& operator=(const StoreBackup&) = delete;

    // Moves the store aside when the query finds it. A store that can't be
    // moved (held open by the running system, say) stays where it is. A backup
    // left by an earlier, interrupted run is replaced.
    void moveAside();

    // A new store exists: the backup is no longer needed.
    void discardBackup();

    // No new store was found: the old one goes back. A file that has appeared
    // at the store's path meanwhile (a new store the query can't see, being
    // hidden) is not overwritten; the backup then stays beside it.
    void putBack();

    // The run failed: the machine gets its old store back, replacing whatever
    // the tools wrote before the failure.
    void restoreOriginal();

    bool moved() const { return moved_; }

private:
    void moveBack(bool replaceExisting);

    FileSystem& files_;
    std::string storePath_;
    bool moved_ = false;
};

} // namespace orvanta
