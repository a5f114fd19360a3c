#pragma once
// An old BCD store is never lost. It is moved aside ("bcd.orvanta-old")
// before the tools run; after them it goes back in place when the tools
// failed for the store, and otherwise stays beside the new one as a kept
// copy (KeptCopies.h). The running system's store can't be moved: before
// anything else moves, its content is saved to a kept copy through the
// registry, and the tools update it in place. A store's transaction logs go
// wherever it goes; a log that can't is recorded.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "discovery/bcd/BcdStore.h"
#include "platform/threads/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/errors/PlatformError.h"
#include "platform/system/Registry.h"
#include "repair/backup/KeptCopies.h"
#include "repair/stores/StoreCheck.h"
#include "repair/stores/StoreEvents.h"
#include "repair/stores/StoreNames.h"
#include "repair/stores/SystemStore.h"

namespace orvanta {

// Larger than any store; a larger file is not read.
inline constexpr std::size_t LargestStore = 16 * 1024 * 1024;

// A store file as read: a file that could not be read counts as damaged.
BcdStoreReading StoreReadingOf(const FileRead& read);

// The store at a path as it is now: the file, or the registry's copy when it
// is the running system's (which holds it open); nothing when there is no file.
std::optional<BcdStoreReading> ReadStoreAt(FileSystem& files, Registry& registry, const std::string& path,
                                           bool isSystemStore);

class StoreBackup {
public:
    // `expectation` judges the old store, for its copy's mark.
    StoreBackup(FileSystem& files, Registry& registry, std::string storePath, StoreExpectation expectation,
                StoreEventSink events);
    // Puts the old store back if it was neither settled nor restored.
    ~StoreBackup();
    StoreBackup(const StoreBackup&) = delete;
    StoreBackup& operator=(const StoreBackup&) = delete;

    // Before anything moves: whether something holds the store open (it is
    // read once, for `prepare`).
    bool heldOpen();
    // The store is the running system's: its content is saved to a kept copy
    // through the registry. The system's error, 0 when saved; without a copy
    // the run must not go on.
    SavedCopy saveSystemStore(const LocalTime& time);
    // Another program holds it: the run is refused. The programs, as far as
    // the system can name them.
    std::vector<std::string> refuseHeld();

    // Before the tools: a backup left alone goes back, one beside the store
    // becomes a kept copy; the store is read, then moved aside (or, the
    // system's, left in place). Returns the old store as read; nothing when there is none.
    std::optional<BcdStoreReading> prepare(const LocalTime& time);

    // The store at its place as it is now.
    BcdStoreReading readNow();

    // The tools are done with it. With `keepNew` the old store becomes a kept
    // copy beside the new one, else it goes back over whatever the tools left.
    // `newPassed`: whether the store in place passed its check, when the tools'
    // store stays (kept, or updated in place). Then the copies beyond those the
    // folder keeps are removed. An error is recorded, never thrown.
    void settle(bool keepNew, bool newPassed);

    // The session ends mid-tool: a moved store goes back over whatever is
    // there; one updated in place stays, noted. False when a moved store
    // could not go back (it then lies beside it).
    bool abandon();

    bool moved() const { return moved_; }
    bool inPlace() const { return inPlace_; }
    // Where the old store lies now, "" when in its place or when there was none.
    const std::string& keptAt() const { return keptAt_; }
    // The error that kept the old store from going back or being kept.
    const std::optional<PlatformError>& failure() const { return failure_; }

private:
    void record(StoreStep step, std::optional<FileAttributes> attributes = std::nullopt, std::string detail = {});
    bool passes(const BcdStoreReading& reading) const;
    // Moves a store with its logs; over an existing file (and its logs) with `replace`.
    bool moveWithLogs(const std::string& from, const std::string& to, bool replace);
    // False when a log that is there could not move.
    bool moveLog(const std::string& from, const std::string& to, bool replace);
    void keepLeftover(const FileAttributes& attributes);
    void keepOld();
    bool putBack(StoreStep done);
    // Runs a step that puts back or keeps the old store; an error leaves the
    // old store where it lies, recorded.
    template <typename Step>
    bool guarded(Step step);

    FileSystem& files_;
    Registry& registry_;
    std::string storePath_;
    StoreExpectation expectation_;
    StoreEventSink events_;
    KeptCopies copies_;
    LocalTime time_;
    std::optional<FileRead> firstRead_;
    std::optional<BcdStoreReading> systemReading_; // the running system's store, read through the registry
    bool beforePassed_ = false;                    // the old store passed the check
    bool moved_ = false;
    bool inPlace_ = false;
    bool madeCopy_ = false;
    std::string keptAt_;
    std::set<std::string> logsLeftInPlace_; // suffixes of the old store's logs that could not move aside
    std::optional<PlatformError> failure_;
};

} // namespace orvanta
