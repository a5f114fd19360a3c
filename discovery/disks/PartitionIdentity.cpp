#include "discovery/disks/PartitionIdentity.h"

#include <algorithm>

namespace orvanta {

const Disk* FindDisk(const std::vector<Disk>& disks, std::uint32_t number) {
    const auto found = std::find_if(disks.begin(), disks.end(), [&](const Disk& disk) { return disk.number == number; });
    return found == disks.end() ? nullptr : &*found;
}

const PartitionRecord* PartitionOf(const Disk& disk, std::uint32_t number) {
    const auto& partitions = disk.layout.partitions;
    const auto found = std::find_if(partitions.begin(), partitions.end(),
                                    [&](const PartitionRecord& partition) { return partition.number == number; });
    return found == partitions.end() ? nullptr : &*found;
}

std::optional<PartitionIdentity> IdentityOf(const std::vector<Disk>& disks, std::uint32_t disk,
                                            std::uint32_t partition) {
    const Disk* found = FindDisk(disks, disk);
    const PartitionRecord* record = found ? PartitionOf(*found, partition) : nullptr;
    if (!record) return std::nullopt;
    if (record->style == PartitionStyle::Gpt) return PartitionIdentity{PartitionStyle::Gpt, record->gptId, 0, 0};
    return PartitionIdentity{PartitionStyle::Mbr, {}, found->layout.mbrSignature, record->offset};
}

} // namespace orvanta
