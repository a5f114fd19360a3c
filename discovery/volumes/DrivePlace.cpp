#include "discovery/volumes/DrivePlace.h"

#include <algorithm>

#include "platform/text/CaseBlind.h"

namespace orvanta {

const ScannedDrive* FindDrive(const std::vector<ScannedDrive>& drives, const std::string& name) {
    const auto found = std::find_if(drives.begin(), drives.end(),
                                    [&](const ScannedDrive& drive) { return SameIgnoringCase(drive.name, name); });
    return found == drives.end() ? nullptr : &*found;
}

std::optional<std::uint32_t> ActivePartitionOf(const Disk& disk) {
    if (disk.layout.style != PartitionStyle::Mbr) return std::nullopt;
    for (const PartitionRecord& partition : disk.layout.partitions) {
        if (partition.active && partition.number != 0) return partition.number;
    }
    return std::nullopt;
}

std::optional<DrivePlace> PlaceOfDrive(const std::vector<Disk>& disks, const ScannedDrive& drive) {
    if (!drive.location) return std::nullopt;
    const Disk* disk = FindDisk(disks, drive.location->disk);
    const PartitionRecord* partition = disk ? PartitionOf(*disk, drive.location->partition) : nullptr;
    if (!partition) return std::nullopt;
    return DrivePlace{disk->number, partition->number, disk->layout.style, partition->systemPartition,
                      ActivePartitionOf(*disk), disk->masterBootCode};
}

} // namespace orvanta
