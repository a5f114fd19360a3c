#pragma once
// What a repair will do, settled before anything is touched: the tools, the
// boot partition and the order of the installations.
#include <map>
#include <string>
#include <vector>

#include "discovery/FirmwareMode.h"
#include "discovery/PartitionIdentity.h"
#include "platform/FileSystem.h"

namespace orvanta {

// Why a repair does not start.
enum class Refusal {
    None,
    ToolsMissing,     // bcdboot.exe or bootsect.exe is not in the Bin folder
    BadBootPartition, // the boot partition is not a drive letter and a colon
    NotElevated,      // the program lacks administrator rights
};

struct RepairRequest {
    std::vector<std::string> installations; // as found, in drive order
    std::string defaultInstallation;        // one of them; it runs last
    std::string bootPartition;              // as the user gave it
    bool elevated = false;                  // the program has administrator rights
    FirmwareMode firmware = FirmwareMode::Unknown;
    // Where each installation lies, as far as the system told.
    std::map<std::string, PartitionIdentity> partitions = {};
    std::vector<Disk> disks = {};           // the disks that gave their partitions
};

struct RepairPlan {
    Refusal refusal = Refusal::None;
    std::vector<std::string> missingTools; // the paths where the missing tools were expected
    std::string toolFolder;                // the application folder, which holds Bin
    std::string bootPartition;             // "C:"
    std::string bootFileSystem;            // the boot partition's file system, "" when unknown
    std::vector<std::string> runOrder;     // the others from the last to the first, the default last
    FirmwareMode firmware = FirmwareMode::Unknown;       // what the PC started from
    std::map<std::string, PartitionIdentity> partitions; // by installation, where known
    std::vector<Disk> disks;                              // to tell entries on partitions that are gone
};

// The installation to make the default: the one selected before the rescan
// when the make-default box is checked and it is still listed, else the first.
std::string DefaultInstallationOf(const std::vector<std::string>& installations,
                                  const std::string& selectedBefore, bool keepSelected);

// Checks the tools, the boot partition and the rights, in that order, and
// orders the installations. Touches nothing; a refused plan says why.
RepairPlan PlanRepair(const RepairRequest& request, FileSystem& files);

// Whether UEFI firmware can start from a partition of this file system: it
// reads FAT, nothing else.
bool UefiCanStartFrom(const std::string& fileSystem);

} // namespace orvanta
