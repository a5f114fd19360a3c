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
    // Puts the store back if the backup was neither confirmed nor restored.
    ~StoreBackup();
    StoreBackup(const StoreBackup&) = delete;
    StoreBackup& operator=(const StoreBackup&) = delete;

    // Moves the store aside when the query finds it. A store that can't be
    // moved (held open by the running system, say) stays where it is. A backup
    // left by an earlier, interrupted run is replaced.
    void moveAside();

    // A new store exists: the backup is no longer needed.
    void discardBackup();

    // No new store: the old one goes back. Never overwrites a file that has
    // appeared at the store's path meanwhile; the backup then stays beside it.
    void putBack();

    bool moved() const { return moved_; }

private:
    FileSystem& files_;
    std::string storePath_;
    bool moved_ = false;
};

} // namespace orvanta
