#pragma once
// Which partition a drive is, as boot entries name it: by the partition's GPT
// GUID, or by the MBR disk's signature and the partition's byte offset. Boot
// configuration and firmware entries name partitions this way, not by letter.
#include <cstdint>
#include <optional>
#include <vector>

#include "discovery/disks/DiskRecords.h"
#include "discovery/disks/MasterBootCode.h"

namespace orvanta {

struct PartitionIdentity {
    PartitionStyle style = PartitionStyle::Gpt;
    GuidBytes gptId{};              // GPT: the partition's GUID
    std::uint32_t mbrSignature = 0; // MBR: the disk's signature
    std::uint64_t mbrOffset = 0;    // MBR: the partition's start in bytes

    bool operator==(const PartitionIdentity&) const = default;
};

// One disk as the layout query saw it.
struct Disk {
    std::uint32_t number = 0; // \\.\PhysicalDriveN
    std::uint32_t busType = 0;
    DiskLayout layout;
    std::uint32_t sectorSize = 0; // bytes per sector (512, 4096 on a 4Kn disk); 0 when the disk didn't tell
    // An MBR disk's: whose boot code its first sector holds; nothing for a GPT
    // disk, or when the sector couldn't be read.
    std::optional<MasterBootCodeKind> masterBootCode = std::nullopt;

    bool operator==(const Disk&) const = default;
};

// The disk of that number, and a disk's partition of that number; nothing
// when there is none.
const Disk* FindDisk(const std::vector<Disk>& disks, std::uint32_t number);
const PartitionRecord* PartitionOf(const Disk& disk, std::uint32_t number);

// The identity of a partition of a disk that answered; nothing for a disk or
// partition that is not among them.
std::optional<PartitionIdentity> IdentityOf(const std::vector<Disk>& disks, std::uint32_t disk,
                                            std::uint32_t partition);

} // namespace orvanta
