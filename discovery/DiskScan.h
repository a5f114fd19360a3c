#pragma once
// The PC's disks, read once per survey: each one's partition table, sector
// size and (on an MBR disk) master boot code, and the first sector of each
// fixed volume that lies on one of them.
#include <vector>

#include "discovery/InstallationScan.h"
#include "discovery/PartitionIdentity.h"
#include "platform/Devices.h"

namespace orvanta {

// \\.\PhysicalDrive0 to \\.\PhysicalDrive31 are looked at; numbers may have gaps.
inline constexpr std::uint32_t DisksToExamine = 32;

// Every disk that opens and gives its layout, in number order, with its bus,
// its sector size and, for an MBR disk, whose code its first sector holds. A
// disk that can't be opened or doesn't give its layout is left out.
std::vector<Disk> ScanDisks(Devices& devices);

// Reads the first sector of each located fixed drive through its disk, at its
// partition's offset and in whole sectors of the disk, and says what it holds;
// drives on a disk that is not among `disks` (or whose sector size is unknown)
// are not read. Each disk opens at most once.
void ReadBootSectors(Devices& devices, const std::vector<Disk>& disks, std::vector<ScannedDrive>& drives);

} // namespace orvanta
