#pragma once
// An old BCD store is never lost. It is moved aside ("bcd.orvanta-old")
// before the tools run; after them it goes back in place when the tools
// failed for the store, and otherwise stays beside the new one as a dated
// copy, of which each folder keeps the oldest and the two newest. A store
// the running system holds open can't be moved: its content is saved to a
// dated copy through the registry, and the tools update it in place. A
// store's transaction logs go wherever it goes.
#include <functional>
#include <optional>
#include <string>

#include "discovery/BcdStore.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "repair/StoreNames.h"

namespace orvanta {

// What was done with a store, for the report and the log.
enum class StoreStep {
    BackupPutBack,     // before the run: a backup an interrupted run left, with no store, went back
    LeftoverKept,      // before the run: such a backup beside the store became the dated copy `detail`
    MovedAside,        // renamed to `detail` while the tools run
    CouldNotMove,      // could not be renamed: updated in place, its bytes copied to `detail` ("" if not)
    SavedFromRegistry, // held open by the running system: its content saved to `detail`
    CouldNotSave,      // held open, and its content could not be saved
    KeptAs,            // the tools did their part: the old store now lies at `detail`
    PutBack,           // the tools failed for it: the old store is back in its place
    BackupLeftBeside,  // the old store could not go back in place: it lies at `detail`
    Restored,          // the session ended: the old store went back over what the tools wrote
    OldCopyRemoved,    // `detail`, a dated copy beyond the three a folder keeps, was removed
};

struct StoreEvent {
    StoreStep step = StoreStep::MovedAside;
    std::string path;                            // the store's path
    std::optional<FileAttributes> attributes;    // the store's, when it was found before the run
    std::string detail = {};                     // a path, as the step says

    bool operator==(const StoreEvent&) const = default;
};

// Receives each step as it is done.
using StoreEventSink = std::function<void(const StoreEvent&)>;

// The running system's own store, as the registry loads it.
inline constexpr const char* SystemStoreKey = "BCD00000000";
// Larger than any store; a larger file is not read.
inline constexpr std::size_t LargestStore = 16 * 1024 * 1024;

// The store at a path as it is now: the file, or the registry's copy when
// the running system holds the file open; nothing when there is no file.
std::optional<BcdStoreReading> ReadStoreAt(FileSystem& files, Registry& registry, const std::string& path);

class StoreBackup {
public:
    StoreBackup(FileSystem& files, Registry& registry, std::string storePath, StoreEventSink events);
    // Puts the old store back if it was neither settled nor restored.
    ~StoreBackup();
    StoreBackup(const StoreBackup&) = delete;
    StoreBackup& operator=(const StoreBackup&) = delete;

    // Before the tools: a backup left alone goes back, one beside the store
    // becomes a dated copy; the store is read, then moved aside (or, held
    // open, saved). Returns the old store as read; nothing when there is none.
    std::optional<BcdStoreReading> prepare(const LocalTime& time);

    // The store at its place as it is now: the file, or the registry's copy
    // of a store the system holds open.
    BcdStoreReading readNow();

    // The tools are done with it: with `keepNew` the old store becomes a
    // dated copy beside the new one, else it goes back over whatever the
    // tools left.
    void settle(bool keepNew);

    // The session ends mid-tool: the old store goes back over whatever is
    // there; false when it could not (it then lies beside it).
    bool restoreOriginal();

    bool moved() const { return moved_; }
    bool inPlace() const { return inPlace_; }
    // Where the old store lies now, "" when in its place or when there was none.
    const std::string& keptAt() const { return keptAt_; }

private:
    void record(StoreStep step, std::optional<FileAttributes> attributes = std::nullopt, std::string detail = {});
    // Moves a store with its logs; over an existing file (and its logs) with `replace`.
    bool moveWithLogs(const std::string& from, const std::string& to, bool replace);
    std::string freeDatedPath();
    void keepCopyOf(const std::vector<std::uint8_t>& bytes);
    void removeOldCopies();
    bool putBack(StoreStep done);

    FileSystem& files_;
    Registry& registry_;
    std::string storePath_;
    StoreEventSink events_;
    LocalTime time_;
    bool moved_ = false;
    bool inPlace_ = false;
    std::string keptAt_;
};

} // namespace orvanta
