#pragma once
// Where a drive lies, as far as firmware cares: the disk and its partition
// style, whether the partition is an EFI system partition, and on an MBR disk
// which partition is active and whose boot code the disk's first sector holds.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/volumes/InstallationScan.h"
#include "discovery/disks/PartitionIdentity.h"

namespace orvanta {

struct DrivePlace {
    std::uint32_t disk = 0;
    std::uint32_t partition = 0;
    PartitionStyle style = PartitionStyle::Raw;
    bool systemPartition = false;                      // an ESP
    std::optional<std::uint32_t> activePartition = std::nullopt; // MBR: the disk's active partition, if it has one
    std::optional<MasterBootCodeKind> bootCode = std::nullopt;    // MBR: whose code the disk's first sector holds, when read

    bool isActive() const { return activePartition == partition; }
    bool operator==(const DrivePlace&) const = default;
};

// The drive of a name such as "c:" (in any case); nullptr when the scan has none.
const ScannedDrive* FindDrive(const std::vector<ScannedDrive>& drives, const std::string& name);

// The active partition of an MBR disk (the one BIOS firmware starts); nothing
// when none is marked, or the disk is not MBR.
std::optional<std::uint32_t> ActivePartitionOf(const Disk& disk);

// Where a located drive lies on the disks that answered; nothing when it was
// not located or its disk or partition is not among them.
std::optional<DrivePlace> PlaceOfDrive(const std::vector<Disk>& disks, const ScannedDrive& drive);

} // namespace orvanta
