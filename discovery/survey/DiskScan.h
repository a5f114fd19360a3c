#pragma once
// One disk as a survey asks it: its partition table, sector size, model and
// (on an MBR disk) master boot code, and the first sector of each of its
// partitions, for the volumes that lie on them.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "discovery/volumes/InstallationScan.h"
#include "discovery/disks/PartitionIdentity.h"
#include "platform/disks/Devices.h"

namespace orvanta {

// \\.\PhysicalDrive0 to \\.\PhysicalDrive31 are looked at; numbers may have gaps.
inline constexpr std::uint32_t DisksToExamine = 32;

// What one disk answered.
struct DiskAnswer {
    // Nothing when the disk can't be opened or doesn't give its layout.
    std::optional<Disk> disk;
    // What the first sector of each partition holds, by partition number;
    // a partition whose sector couldn't be read is left out.
    std::map<std::uint32_t, BootSectorKind> firstSectors;
};

// Asks disk `number` all a survey needs of it, opened once: first its bus and
// model (handed to `modelKnown` at once, so that a disk that goes quiet after
// can still be named by it), then its partition table, sector size, MBR code
// and each partition's first sector, in whole sectors of the disk.
DiskAnswer AskDisk(Devices& devices, std::uint32_t number, const std::function<void(const std::string&)>& modelKnown);

// Gives each located fixed drive what its partition's first sector holds,
// from its disk's answer; drives on a disk that gave no answer are left alone.
void AssignBootSectors(const std::vector<DiskAnswer>& answers, std::vector<ScannedDrive>& drives);

} // namespace orvanta
