#pragma once
// Everything the program learns about the PC before a repair: the drives and
// installations, the firmware, and the EFI system partition to repair.
#include <map>
#include <optional>

#include "discovery/survey/DeviceSurveyor.h"
#include "discovery/survey/DiskScan.h"
#include "discovery/firmware/FirmwareMode.h"
#include "discovery/volumes/InstallationScan.h"
#include "discovery/volumes/SystemPartition.h"
#include "discovery/firmware/UefiBootState.h"
#include "discovery/volumes/VirtualDiskFile.h"
#include "platform/system/Firmware.h"
#include "platform/system/Registry.h"
#include "platform/system/RunningSystem.h"
#include "platform/disks/VirtualDisks.h"

namespace orvanta {

struct SurveyServices {
    Drives& drives;
    Devices& devices;
    FileSystem& files;
    Firmware& firmware;
    Registry& registry;
    RunningSystem& runningSystem;
    VirtualDisks& virtualDisks;
};

struct MachineSurvey {
    // Its fixed drives located and their first sectors read, when a disk
    // answered; drives that didn't answer in time are marked so. No
    // installation on a disk that didn't answer is listed.
    ScanResult scan;
    FirmwareMode firmware = FirmwareMode::Unknown;
    std::vector<Disk> disks; // those that gave their partition table, with sector size and MBR boot code
    // The disks that didn't answer within their deadline, in number order: left out.
    std::vector<UnansweredDisk> unansweredDisks;
    // Every ESP of the disks, with the letters they have; not looked for on a
    // PC that starts from BIOS.
    std::vector<SystemPartition> systemPartitions;
    // The one to repair, preferring the first installation's disk, and why.
    std::optional<SystemPartition> systemPartition;
    SystemPartitionReason systemPartitionReason = SystemPartitionReason::None;
    // The firmware's boot entries and Secure Boot's state and databases; not
    // read on a PC that starts from BIOS.
    std::optional<UefiBootState> uefi;
    // The installations that live in a virtual disk, with its file.
    std::map<std::string, VirtualDiskFile> virtualDisks;
};

// The partition identity of the drive that holds an installation such as
// "D:\Windows"; nothing when the system could not tell where it lies.
std::optional<PartitionIdentity> InstallationIdentity(const MachineSurvey& survey, const std::string& windowsFolder);

// Reads the firmware mode, the drives and the disks: each drive and each disk
// on a worker of its own (each disk's layout and first sectors once), so that
// one that doesn't answer is left out at its deadline and holds up nothing else.
MachineSurvey SurveyMachine(SurveyServices services, DeviceSurveyor& surveyor);

// The same survey again, before a repair, with the firmware mode as first
// found (it doesn't change while the PC runs). A drive or disk whose worker
// is still stuck from before is not asked again.
MachineSurvey RescanMachine(SurveyServices services, DeviceSurveyor& surveyor, FirmwareMode firmware);

// The drive letters that didn't answer in time, in drive order ("D:").
std::vector<std::string> UnansweredDriveNames(const ScanResult& scan);

// Whether the drive, or the disk it lies on, didn't answer in time.
bool IsUnanswered(const MachineSurvey& survey, const std::string& driveName);

// Whether the ESP needs a letter: it is what UEFI firmware starts from, so not
// on a PC known to start from BIOS.
bool NeedsSystemPartitionLetter(const MachineSurvey& survey);

// The partition identity of each installation found whose place the system told.
std::map<std::string, PartitionIdentity> InstallationPartitions(const MachineSurvey& survey);

} // namespace orvanta
