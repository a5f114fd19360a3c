#pragma once
// Before a repair, what it will do with each BCD store of the boot partition,
// told without changing anything: a store there is moved aside while the
// tools run and then kept beside the new one, the running system's own is
// saved through the registry and updated in place, and one another program
// holds open refuses the run. A backup an interrupted run left is taken care
// of first. The kept copy's name can't be told before: it carries the run's
// time and whether the store passed its check.
#include <string>
#include <vector>

#include "platform/disks/Drives.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Registry.h"
#include "repair/stores/StoreCheck.h"

namespace orvanta {

// The store each firmware reads, on a boot partition ("Z:").
std::string StorePathOn(const std::string& bootPartition, StoreFirmware firmware);

enum class PlannedStoreStep {
    Create,           // there is none: the tools make it
    MoveAside,        // moved aside while the tools run, then kept beside the new one (or put back)
    SaveFromRegistry, // the running system's, held open: saved to a kept copy, then updated in place
    RefusedHeld,      // another program holds it open: the run is refused
};

struct PlannedStore {
    StoreFirmware firmware = StoreFirmware::Bios;
    std::string path;                 // "Z:\EFI\Microsoft\Boot\bcd"
    PlannedStoreStep step = PlannedStoreStep::Create;
    bool leftoverBackup = false;      // an interrupted run left its backup beside it
    std::vector<std::string> holders; // RefusedHeld: the programs, as far as the system can name them
};

struct StorePlanServices {
    FileSystem& files;
    Registry& registry;
    Drives& drives;
};

// The BIOS store, then the UEFI store. Reads the stores and the registry's
// hive list; changes nothing.
std::vector<PlannedStore> PlanStores(StorePlanServices services, const std::string& bootPartition);

// The first store another program holds open, which refuses the run; nullptr when none does.
const PlannedStore* HeldStoreOf(const std::vector<PlannedStore>& stores);

} // namespace orvanta
