#pragma once
// The kept copy a restore is asked to put back, as the user names it: its
// path on the boot partition ("\EFI\Microsoft\Boot\bcd.orvanta-0003-20261208-153102-ok"),
// or the same with a drive letter in front ("Z:\EFI\…"), which then names
// the boot partition. It must lie in one of the two store folders and be
// named as a kept copy of the store there; anything else is refused before
// a file is looked at.
#include <optional>
#include <string>

#include "repair/stores/StoreNames.h"

namespace orvanta {

enum class CopyPathFault {
    None,
    OutsideStoreFolders, // not directly in \boot or \EFI\Microsoft\Boot
    NotAKeptCopy,        // there, but not named as a kept copy of the store (a log, the store itself...)
};

struct CopyPath {
    std::string drive;     // "Z:" when the path began with one, else ""
    std::string storePath; // the store it is a copy of, below the root: BiosStorePath or UefiStorePath
    KeptCopy copy;         // its name (as given) and what the name says
};

struct CopyPathReading {
    std::optional<CopyPath> path;
    CopyPathFault fault = CopyPathFault::None;
};

CopyPathReading ReadCopyPath(const std::string& text);

// The copy's path below the root, with the store's folder as this program writes it.
std::string PathOnPartition(const CopyPath& path);

} // namespace orvanta
