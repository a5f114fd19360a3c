#pragma once
// An old BCD store is moved aside before the tools run and removed only once a
// new store exists, so that no run, finished or cut short, loses the boot
// configuration the machine had. An existing backup is never replaced.
#include <functional>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace orvanta {

// The name an old store is moved to, beside it.
std::string BackupPathOf(const std::string& storePath);

// What was done with a store, for the report.
enum class StoreStep {
    BackupPutBack,     // before the run: a backup an interrupted run left, with no store, went back
    MovedAside,        // renamed to its backup
    KeptOlderBackup,   // store and backup both exist: the store stays and the backup is kept
    CouldNotMove,      // the store could not be renamed (held open, say); it stays
    BackupRemoved,     // a new store exists; the old one is gone
    PutBack,           // no new store: the old one is back in its place
    BackupLeftBeside,  // the old one could not go back (something else is there); it stays beside it
    KeptWithBackup,    // the run stopped: the new store stays, the old one beside it
    Restored,          // the run was abandoned: the old store went back over what the tools wrote
};

struct StoreEvent {
    StoreStep step;
    std::string path;                          // the store's path
    std::optional<FileAttributes> attributes;  // the store's, when it was found before the run

    bool operator==(const StoreEvent&) const = default;
};

// Receives each step as it is done.
using StoreEventSink = std::function<void(const StoreEvent&)>;

class StoreBackup {
public:
    StoreBackup(FileSystem& files, std::string storePath, StoreEventSink events);
    // Puts the old store back if the backup was neither settled nor restored.
    ~StoreBackup();
    StoreBackup(const StoreBackup&) = delete;
    StoreBackup& operator=(const StoreBackup&) = delete;

    // Before the tools: finds the store whatever its attributes and moves it
    // aside. A backup alone goes back first; a store with a backup beside it
    // stays, and so does one that can't be renamed.
    void prepare();

    // The tools are done: the backup goes when a new store exists, else the
    // old store goes back (never over a file that appeared meanwhile).
    void settle(bool newStoreExists);

    // The run stopped early: a store the tools already re-created stays, with
    // the old one beside it; otherwise the old one goes back.
    void stopEarly(bool newStoreExists);

    // The run is abandoned mid-tool: the old store goes back over whatever is there.
    void restoreOriginal();

    bool moved() const { return moved_; }

private:
    void record(StoreStep step, std::optional<FileAttributes> attributes = std::nullopt);
    void putBack();

    FileSystem& files_;
    std::string storePath_;
    StoreEventSink events_;
    bool moved_ = false;
};

} // namespace orvanta
