#pragma once
// The kept copies of the stores on a boot partition, each read with the
// store reader: what its name says (number, time, pass mark), and its default
// and loaders, with the installation found on this PC that each one starts.
#include <optional>
#include <string>
#include <vector>

#include "discovery/bcd/BcdStore.h"
#include "platform/files/FileSystem.h"
#include "repair/stores/StoreCheck.h"
#include "repair/stores/StoreNames.h"

namespace orvanta {

struct ListedEntry {
    BcdObject entry;
    std::string installation; // "D:\Windows" when it starts one found here, else ""

    bool operator==(const ListedEntry&) const = default;
};

struct ListedCopy {
    std::string path;                 // below the root: "\boot\bcd.orvanta-0002-20261208-153102-ok"
    KeptCopy copy;                    // what its name says
    StoreFault fault = StoreFault::None; // why it can't be read
    bool bootManager = false;         // it has a Windows boot manager
    std::optional<ListedEntry> defaultEntry = {}; // the object the boot manager's default names, when there is one
    std::vector<ListedEntry> loaders = {}; // the Windows loaders of installed systems, in the store's order
};

struct StoreCopies {
    std::string storePath;          // below the root: BiosStorePath or UefiStorePath
    bool listed = false;            // false: its folder is missing or can't be listed
    std::vector<ListedCopy> copies = {}; // oldest first
};

// Both stores' copies on the partition ("Z:"), BIOS first.
std::vector<StoreCopies> ListKeptCopies(FileSystem& files, const std::string& bootPartition,
                                        const std::vector<CheckedInstallation>& found);

} // namespace orvanta
