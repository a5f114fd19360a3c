#pragma once
// What was done with a BCD store and its kept copies, step by step, for the
// report and the log.
#include <functional>
#include <optional>
#include <string>

#include "platform/files/FileSystem.h"

namespace orvanta {

enum class StoreStep {
    BackupPutBack,      // before the run: a backup an interrupted run left, with no store, went back
    LeftoverKept,       // before the run: such a backup beside the store became the kept copy `detail`
    MovedAside,         // renamed to `detail` while the tools run
    CouldNotMove,       // could not be renamed: updated in place, its bytes copied to `detail` ("" if not)
    SavedFromRegistry,  // held open by the running system: its content saved to `detail`
    CouldNotSave,       // held open by the running system, and its content could not be saved: the run is refused
    HeldByProgram,      // held open by a program, not by the running system: the run is refused
    KeptAs,             // the tools did their part: the old store now lies at `detail`
    PutBack,            // the tools failed for it: the old store is back in its place
    BackupLeftBeside,   // the old store could not go back in place: it lies at `detail`
    Restored,           // the session ended: the old store went back over what the tools wrote
    LeftInPlace,        // the session ended while the tools updated it in place: its content before lies at `detail`
    OldCopyRemoved,     // `detail`, a kept copy beyond those a folder keeps, was removed
    CopyNotWritten,     // the copy `detail` could not be written whole: what was written of it was removed
    CopyLeftUnfinished, // the same, and what was written could not be removed
    LogNotMoved,        // the transaction log `detail` could not go with its store
    LogNotRemoved,      // the tools' transaction log `detail` could not be removed when the old store went back
    // Putting a kept copy back (/restore):
    KeptBeforeRestore,  // the store in place, with its logs, now lies at `detail` (renamed, or saved through the registry)
    CopyPutInPlace,     // the kept copy `detail`, with its logs, was moved into place
    RestoredThroughRegistry, // the running system's store was restored through the registry from the copy `detail`
    StrayLogRemoved,    // the transaction log `detail` lay where no store was: removed before the copy came
    AttributesNotSet,   // the copy in place could not be given the attributes the store in place had
    ReplacedPutBack,    // the copy could not be moved into place: the store from `detail` went back
};

struct StoreEvent {
    StoreStep step = StoreStep::MovedAside;
    std::string path;                            // the store's path
    std::optional<FileAttributes> attributes;    // the store's, when it was found before the run
    std::string detail = {};                     // as the step says

    bool operator==(const StoreEvent&) const = default;
};

// Receives each step as it is done.
using StoreEventSink = std::function<void(const StoreEvent&)>;

} // namespace orvanta
