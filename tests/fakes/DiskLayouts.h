#pragma once
// Partition tables as a disk answers IOCTL_DISK_GET_DRIVE_LAYOUT_EX, written
// byte for byte from the SDK's documented layout of DRIVE_LAYOUT_INFORMATION_EX
// (48-byte header, 144-byte PARTITION_INFORMATION_EX entries).
#include <array>
#include <cstdint>
#include <vector>

namespace orvanta {

struct FakePartition {
    std::uint32_t number = 0;           // PartitionNumber; 0 for an unused MBR slot
    bool systemPartition = false;       // ESP type (GPT GUID or MBR 0xEF), else basic data / NTFS
    std::uint64_t offset = 1048576;     // StartingOffset
    std::uint64_t length = 104857600;   // PartitionLength
    bool active = false;                // MBR: BootIndicator
    std::uint8_t mbrType = 0;           // MBR: PartitionType when not 0 (0x05: an extended partition or link)
};

// GPT partition N has the PartitionId {N, 0x9A, 0x9A...} and the disk the
// DiskId of all 0xD1; an MBR disk has the given signature.
inline constexpr std::uint32_t FakeMbrSignature = 0x1234ABCD;

std::vector<std::uint8_t> GptLayout(const std::vector<FakePartition>& partitions);
std::vector<std::uint8_t> MbrLayout(const std::vector<FakePartition>& partitions,
                                    std::uint32_t signature = FakeMbrSignature);
// The GPT PartitionId that GptLayout gives partition `number`.
std::array<std::uint8_t, 16> FakeGptPartitionId(std::uint32_t number);

} // namespace orvanta
