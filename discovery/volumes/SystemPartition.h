#pragma once
// The EFI system partition (ESP): the small FAT partition that UEFI firmware
// starts Windows from, usually without a drive letter.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/volumes/InstallationScan.h"
#include "discovery/disks/PartitionIdentity.h"
#include "platform/disks/Devices.h"
#include "platform/disks/Drives.h"

namespace orvanta {

struct SystemPartition {
    std::uint32_t disk = 0;
    std::uint32_t partition = 0; // PartitionNumber, from 1
    std::uint32_t busType = 0;   // of its disk
    std::string driveName;       // "S:" when it has a drive letter already, else ""
    std::uint64_t size = 0;      // bytes

    bool operator==(const SystemPartition&) const = default;
};

// Every ESP of the disks, in disk order, without its letter.
std::vector<SystemPartition> FindSystemPartitions(const std::vector<Disk>& disks);

// Gives each ESP the letter of the located drive that lies on it, if any.
void NameSystemPartitions(std::vector<SystemPartition>& partitions, const std::vector<ScannedDrive>& drives);

// The ESP to use: the one on the disk of the default installation, else the
// first one on a disk that is not attached through USB (the technician's own
// stick may carry one).
std::optional<SystemPartition> ChooseSystemPartition(const std::vector<SystemPartition>& partitions,
                                                     std::optional<std::uint32_t> defaultDisk);

// Why the chosen ESP was chosen.
enum class SystemPartitionReason {
    None,          // none was chosen: every ESP lies on a USB disk
    OnDefaultDisk, // it lies on the default installation's disk
    FirstNotOnUsb, // that disk has none: the first not on a USB disk
};

SystemPartitionReason ReasonForChoice(const std::optional<SystemPartition>& chosen,
                                      std::optional<std::uint32_t> defaultDisk);

// "\Device\Harddisk0\Partition1", the device a drive letter can be given to.
std::string PartitionDevicePath(const SystemPartition& partition);

// A drive letter no drive uses, from Z: downwards; never X: (the RAM drive of
// a pre-installation environment), A: or B:. "" when every letter is taken.
std::string FreeDriveName(const std::vector<ScannedDrive>& drives);

} // namespace orvanta
