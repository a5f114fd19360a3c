#pragma once
// The PC's disks and their partition tables, read once per survey.
#include <vector>

#include "discovery/PartitionIdentity.h"
#include "platform/Devices.h"

namespace orvanta {

// \\.\PhysicalDrive0 to \\.\PhysicalDrive31 are looked at; numbers may have gaps.
inline constexpr std::uint32_t DisksToExamine = 32;

// Every disk that opens and gives its layout, in number order, with its bus.
// A disk that can't be opened or doesn't answer is left out.
std::vector<Disk> ScanDisks(Devices& devices);

} // namespace orvanta
