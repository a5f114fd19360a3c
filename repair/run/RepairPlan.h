#pragma once
// What a repair will do, settled before anything is touched: the tools, the
// boot partition and the order of the installations.
#include <map>
#include <string>
#include <vector>

#include "discovery/volumes/DrivePlace.h"
#include "discovery/firmware/FirmwareMode.h"
#include "discovery/disks/PartitionIdentity.h"
#include "discovery/firmware/UefiBootState.h"
#include "discovery/volumes/VirtualDiskFile.h"
#include "platform/text/ConsoleCodePage.h"
#include "platform/files/Crypto.h"
#include "platform/files/FileIdentities.h"
#include "platform/files/FileSystem.h"
#include "platform/threads/Processes.h"
#include "repair/partition/BootFilesRoom.h"
#include "repair/run/BootexChoice.h"

namespace orvanta {

// Why a repair does not start.
enum class Refusal {
    None,
    ToolsMissing,     // bcdboot.exe or bootsect.exe is not in the Bin folder
    BadBootPartition, // the boot partition is not a drive letter and a colon
    NotElevated,      // the program lacks administrator rights
    EncryptedBootPartition, // BitLocker encrypts the boot partition: the boot manager can't read it
    EncryptingBootLoader,   // VeraCrypt's or TrueCrypt's loader in the MBR that bootsect would replace
    NotEnoughRoom,          // the boot partition lacks the room for the boot files
};

// What the technician is told before a run and may accept; the run is then
// not fully repaired, whatever the stores' checks say.
enum class RunWarning {
    EncryptedDefault,      // BitLocker encrypts the default installation: the next start may ask for the recovery key
    BiosGptDisk,           // BIOS firmware, the boot partition on a GPT disk
    BiosNotActive,         // BIOS firmware, the boot partition not its MBR disk's active partition
    UefiNotSystemPartition, // UEFI firmware, a FAT boot partition that is not an ESP
    ForeignBootCode,       // GRUB's or unknown code in the MBR that bootsect will replace
    BootFileDamaged,       // a boot manager bcdboot will copy for UEFI doesn't match its signature
    EveryBootManagerRefused, // Secure Boot will refuse every boot manager bcdboot can copy for the default
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
    std::vector<ScannedDrive> drives = {};  // as the survey saw them: place, first sector, BitLocker
    std::map<std::string, VirtualDiskFile> virtualDisks = {}; // the installations in a virtual disk
    std::optional<UefiBootState> uefi = {};  // the firmware's variables, on a PC not known to start from BIOS
};

// What planning reads: the files, the boot managers' signatures, and bcdboot's usage text.
struct PlanServices {
    FileSystem& files;
    FileIdentities& fileIdentities;
    Crypto& crypto;
    Processes& processes;
    ConsoleCodePage& codePage;
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
    std::map<std::string, VirtualDiskFile> virtualDisks;  // by installation, for those in a virtual disk
    std::vector<Disk> disks;                              // to tell entries on partitions that are gone
    std::optional<DrivePlace> bootPlace;                  // where the boot partition lies, when told
    std::optional<BootFilesRoom> room;                    // measured, when its free space could be told
    std::vector<RunWarning> warnings;                     // in the order they are told
    std::optional<UefiBootFiles> uefiBootFiles;           // judged, on a PC not known to start from BIOS
};

// The installation to make the default: the one selected before the rescan
// when the make-default box is checked and it is still listed, else the first.
std::string DefaultInstallationOf(const std::vector<std::string>& installations,
                                  const std::string& selectedBefore, bool keepSelected);

// Checks the tools, the boot partition and the rights, in that order, and
// orders the installations; then what the boot partition and its disk can
// take (CheckBeforeRun). Touches nothing; a refused plan says why.
RepairPlan PlanRepair(const RepairRequest& request, PlanServices services);

// Whether UEFI firmware can start from a partition of this file system: it
// reads FAT, nothing else.
bool UefiCanStartFrom(const std::string& fileSystem);

} // namespace orvanta
