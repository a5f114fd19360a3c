#pragma once
// Whether a BCD store that the tools wrote boots what it should: a boot
// manager whose default is the Windows loader of the default installation, a
// loader for every installation run for the store, and loaders whose program
// fits the store's firmware. Where the system could not tell an
// installation's partition (its identity is unknown), loaders are matched by
// their Windows folder alone, and the check says so. An installation in a
// virtual disk has its loader when the loader's device is that virtual disk's
// file; where the file couldn't be found, its loader is matched by folder and
// the check says it couldn't match the virtual disk, never failing for it.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "discovery/bcd/BcdStore.h"
#include "discovery/disks/PartitionIdentity.h"
#include "discovery/volumes/VirtualDiskFile.h"

namespace orvanta {

// The firmware a store is read by: \Boot\BCD by BIOS, \EFI\Microsoft\Boot\BCD by UEFI.
enum class StoreFirmware { Bios, Uefi };

struct CheckedInstallation {
    std::string folder;                         // "D:\Windows"
    std::optional<PartitionIdentity> partition; // nothing when the system didn't tell
    std::optional<VirtualDiskFile> virtualDisk = std::nullopt; // the file it lives in, when in a virtual disk

    bool operator==(const CheckedInstallation&) const = default;
};

// The installations in the order of `folders`, with their partitions and
// virtual disks where they are known.
std::vector<CheckedInstallation> CheckedInstallationsOf(const std::vector<std::string>& folders,
                                                        const std::map<std::string, PartitionIdentity>& partitions,
                                                        const std::map<std::string, VirtualDiskFile>& virtualDisks);

struct StoreExpectation {
    StoreFirmware firmware = StoreFirmware::Uefi;
    // The installations run for the store, in their order; the default is the last.
    std::vector<CheckedInstallation> installations;
};

enum class StoreProblem {
    Unreadable,    // the store can't be read
    NoBootManager, // there is no Windows boot manager
    NoDefault,     // the boot manager's default is missing or no Windows loader
    DefaultNotHere, // the default is a loader of none of the installations found (`entry` says which)
    OtherDefault,  // the default is the loader of another installation (`entry` says which)
    NoLoader,      // no loader for `installation`
    TooFewLoaders, // partitions unknown: fewer loaders (`found`) than installations (`expected`)
    WrongProgram,  // loader `entry` starts `detail`, which this firmware can't run
};

struct StoreFinding {
    StoreProblem problem = StoreProblem::Unreadable;
    std::string installation = {}; // the installation concerned, when one is
    std::string entry = {};        // the entry concerned: its description
    std::string detail = {};
    std::size_t found = 0;
    std::size_t expected = 0;

    bool operator==(const StoreFinding&) const = default;
};

struct StoreCheck {
    std::vector<StoreFinding> findings; // none: the store boots what it should
    bool matchedByFolderOnly = false;   // some installation's partition was unknown
    // Installations in a virtual disk whose file couldn't be found: matched by folder.
    std::vector<std::string> unmatchedVirtualDisks = {};

    bool passed() const { return findings.empty(); }
    bool operator==(const StoreCheck&) const = default;
};

StoreCheck CheckStore(const BcdStoreReading& reading, const StoreExpectation& expected);

// Whether the installation's place is known: its partition, or its virtual disk's file.
bool IsPlaced(const CheckedInstallation& installation);

// The store's Windows loaders for installed systems: those whose system lies
// on a partition or in a virtual disk, not in a ramdisk (as Windows RE's does).
std::vector<const BcdObject*> InstalledLoaders(const BcdStore& store);

// Whether the loader starts the installation: its Windows folder, and its
// partition or virtual disk where that is known.
bool LoaderFits(const BcdObject& loader, const CheckedInstallation& installation);

// "D:\Windows" -> "\Windows", as a loader's system root names it.
std::string FolderBelowDrive(const std::string& installation);

} // namespace orvanta
