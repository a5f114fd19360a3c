#pragma once
// What /restore listed or did, as one value: the console's text, the log and
// a script's summary are renderings of it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors/PlatformError.h"
#include "repair/restore/KeptCopyListing.h"
#include "repair/stores/StoreCheck.h"
#include "repair/stores/StoreComparison.h"
#include "repair/stores/StoreEvents.h"

namespace orvanta {

// Why nothing was changed.
enum class RestoreRefusal {
    None,
    NotElevated,         // without administrator rights
    AnotherRepair,       // another instance repairs or restores now
    OutsideStoreFolders, // the path lies in neither store folder
    NotAKeptCopy,        // the name is no kept copy of the store in its folder
    BadBootPartition,    // /s (or the path's drive) is no drive letter and colon
    OtherDrive,          // the path's drive is not the one /s names
    NoSuchDrive,         // the boot partition is no drive of this PC
    NoSuchCopy,          // no file at the path
    CopyUnreadable,      // the copy is no BCD store that can be read
    HeldByProgram,       // a program other than the running system holds the store in place open (`holders`)
    FolderNotListed,     // the store's folder can't be listed: the replaced store's copy can't be numbered
    StoreNotMoved,       // the store in place, or one of its logs, could not be moved aside
    StrayLog,            // a log lies where no store is, and can't be removed
    SystemStoreNotSaved, // the running system's store could not be saved to a copy (`error`)
    SystemStoreNotRestored, // the running system's store can't be restored here (`error`): run from WinPE
};

// Why a restore that had begun stopped before the copy was in place.
enum class RestoreStop {
    None,
    CopyNotMoved,       // the copy could not be moved into place
    RegistryNotRestored, // the registry could not restore the running system's store (`error`)
    Error,              // a disk stopped answering (`failure`)
};

struct RestoreReport {
    std::string bootPartition;        // "Z:"
    std::vector<StoreCopies> listing; // the copies found, when they were listed (no copy was named)

    // A copy named to be put back:
    std::string asked;            // its path as given
    std::string storePath;        // "Z:\EFI\Microsoft\Boot\bcd"
    StoreFirmware firmware = StoreFirmware::Uefi;
    std::string copyPath;         // "Z:\EFI\Microsoft\Boot\bcd.orvanta-0003-20261208-153102-ok"
    bool throughRegistry = false; // the running system's store: put back through the registry
    std::optional<StoreListing> replaced; // the store that was in place, as read; nothing when there was none
    bool replacedPassed = false;  // ...and whether it passed the check (its copy's mark)
    std::string replacedKeptAt;   // where that store lies now, "" when it is in place or there was none
    bool restored = false;        // the copy's store is in place
    std::optional<StoreListing> after; // the store in place afterwards, as read back
    StoreCheck check;             // the check of it (see KeptStoreCheck.h)
    std::vector<std::string> withoutLoader; // installations found that no loader of it starts
    std::vector<StoreEvent> steps; // what was moved where, in order

    RestoreRefusal refusal = RestoreRefusal::None;
    std::vector<std::string> holders; // the programs holding the store, as far as the system tells
    RestoreStop stop = RestoreStop::None;
    std::uint32_t error = 0;          // the system's error, for the refusals and stops that name one
    std::optional<PlatformError> failure;

    // Restored, and it passed the check with every log beside it.
    bool restoredClean() const;
};

} // namespace orvanta
