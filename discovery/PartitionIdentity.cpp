#include "discovery/PartitionIdentity.h"

namespace orvanta {

std::optional<PartitionIdentity> IdentityOf(const std::vector<Disk>& disks, std::uint32_t disk,
                                            std::uint32_t partition) {
    for (const Disk& candidate : disks) {
        if (candidate.number != disk) continue;
        for (const PartitionRecord& record : candidate.layout.partitions) {
            if (record.number != partition) continue;
            if (record.style == PartitionStyle::Gpt) return PartitionIdentity{PartitionStyle::Gpt, record.gptId, 0, 0};
            return PartitionIdentity{PartitionStyle::Mbr, {}, candidate.layout.mbrSignature, record.offset};
        }
    }
    return std::nullopt;
}

} // namespace orvanta
