#pragma once
// Puts a kept copy of a BCD store back in the store's place, in this order:
// the store in place, with its own transaction logs, becomes a kept copy
// (numbered as any, marked by the check of it now); the chosen copy, with its
// logs, moves into place and takes the attributes the store had; the copies
// beyond those the folder keeps are removed. The store in place afterwards
// is read back and checked (KeptStoreCheck.h).
//
// The running system's store can't be renamed: its content is saved to a
// kept copy through the registry, then the registry restores the chosen copy
// over it, and the chosen copy stays in its folder.
#include <optional>
#include <string>
#include <vector>

#include "discovery/disks/PartitionIdentity.h"
#include "platform/threads/Clock.h"
#include "platform/disks/Drives.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Registry.h"
#include "repair/backup/KeptCopies.h"
#include "repair/restore/RestoreReport.h"

namespace orvanta {

struct RestoreServices {
    FileSystem& files;
    Registry& registry;
    Drives& drives;
    Clock& clock;
};

struct RestoreRequest {
    std::string storePath; // "Z:\EFI\Microsoft\Boot\bcd"
    std::string copyPath;  // "Z:\EFI\Microsoft\Boot\bcd.orvanta-0003-20261208-153102-ok"
    StoreFirmware firmware = StoreFirmware::Uefi;
    std::vector<CheckedInstallation> installations; // every installation found
    std::vector<Disk> disks;                        // for the entries on partitions no disk has
};

class StoreRestore {
public:
    // `events` hears each step as it is done (the log); the report gets them too.
    StoreRestore(RestoreServices services, RestoreRequest request, RestoreReport& report, StoreEventSink events);

    // Refuses, changing nothing, or puts the copy back; never throws.
    void carryOut();

private:
    // Before anything changes: the copy is there and can be read, the store
    // in place is not another program's. Reads the store in place.
    bool admit();
    void putBackFile();
    void putBackThroughRegistry();
    bool moveReplacedAside();
    bool removeStrayLogs();
    void putReplacedBack();
    // Moves the logs that are there; false when one could not move (recorded).
    bool moveLogs(const std::string& from, const std::string& to);
    void checkInPlace();
    bool refuse(RestoreRefusal refusal);
    void record(StoreStep step, const std::string& detail);

    RestoreServices services_;
    RestoreRequest request_;
    RestoreReport& report_;
    StoreEventSink events_;
    KeptCopies copies_;
    LocalTime time_;
    std::optional<FileAttributes> placeAttributes_; // the store in place's, when there is one
};

} // namespace orvanta
