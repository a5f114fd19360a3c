#pragma once
// Partition tables as a disk answers IOCTL_DISK_GET_DRIVE_LAYOUT_EX, written
// byte for byte from the SDK's documented layout of DRIVE_LAYOUT_INFORMATION_EX
// (48-byte header, 144-byte PARTITION_INFORMATION_EX entries).
#include <cstdint>
#include <vector>

namespace orvanta {

struct FakePartition {
    std::uint32_t number = 0;           // PartitionNumber; 0 for an unused MBR slot
    bool systemPartition = false;       // ESP type (GPT GUID or MBR 0xEF), else basic data / NTFS
    std::uint64_t offset = 1048576;     // StartingOffset
    std::uint64_t length = 104857600;   // PartitionLength
};

std::vector<std::uint8_t> GptLayout(const std::vector<FakePartition>& partitions);
std::vector<std::uint8_t> MbrLayout(const std::vector<FakePartition>& partitions);

} // namespace orvanta
