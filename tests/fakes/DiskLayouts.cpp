#include "fakes/DiskLayouts.h"

#include <algorithm>
#include <array>

namespace orvanta {
namespace {

void Put(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint64_t value, std::size_t width) {
    for (std::size_t index = 0; index < width; ++index) {
        bytes[offset + index] = static_cast<std::uint8_t>(value >> (8 * index));
    }
}

// EFI system partition c12a7328-f81f-11d2-ba4b-00a0c93ec93b and basic data
// ebd0a0a2-b9e5-4433-87c0-68b6b72699c7, in GUID memory order.
constexpr std::array<std::uint8_t, 16> EspGuid{0x28, 0x73, 0x2A, 0xC1, 0x1F, 0xF8, 0xD2, 0x11,
                                               0xBA, 0x4B, 0x00, 0xA0, 0xC9, 0x3E, 0xC9, 0x3B};
constexpr std::array<std::uint8_t, 16> BasicDataGuid{0xA2, 0xA0, 0xD0, 0xEB, 0xE5, 0xB9, 0x33, 0x44,
                                                     0x87, 0xC0, 0x68, 0xB6, 0xB7, 0x26, 0x99, 0xC7};

std::vector<std::uint8_t> Layout(std::uint32_t style, const std::vector<FakePartition>& partitions,
                                 std::uint32_t signature) {
    std::vector<std::uint8_t> bytes(48 + 144 * partitions.size(), 0);
    Put(bytes, 0, style, 4);
    Put(bytes, 4, partitions.size(), 4);
    if (style == 0) Put(bytes, 8, signature, 4);
    if (style == 1) std::fill_n(bytes.begin() + 8, 16, 0xD1);
    for (std::size_t index = 0; index < partitions.size(); ++index) {
        const FakePartition& partition = partitions[index];
        const std::size_t entry = 48 + 144 * index;
        Put(bytes, entry, style, 4);
        Put(bytes, entry + 8, partition.offset, 8);
        Put(bytes, entry + 16, partition.length, 8);
        Put(bytes, entry + 24, partition.number, 4);
        if (style == 1) {
            const auto& type = partition.systemPartition ? EspGuid : BasicDataGuid;
            std::copy(type.begin(), type.end(), bytes.begin() + static_cast<std::ptrdiff_t>(entry + 32));
            const auto id = FakeGptPartitionId(partition.number);
            std::copy(id.begin(), id.end(), bytes.begin() + static_cast<std::ptrdiff_t>(entry + 48));
        } else if (partition.number != 0) {
            bytes[entry + 32] = partition.systemPartition ? 0xEF : 0x07; // PartitionType: ESP or NTFS
            bytes[entry + 33] = partition.active ? 0x80 : 0;             // BootIndicator
            bytes[entry + 34] = 1;                                       // RecognizedPartition
        }
        if (style == 0 && partition.mbrType != 0) bytes[entry + 32] = partition.mbrType;
    }
    return bytes;
}

} // namespace

std::vector<std::uint8_t> GptLayout(const std::vector<FakePartition>& partitions) {
    return Layout(1, partitions, 0);
}

std::vector<std::uint8_t> MbrLayout(const std::vector<FakePartition>& partitions, std::uint32_t signature) {
    return Layout(0, partitions, signature);
}

std::array<std::uint8_t, 16> FakeGptPartitionId(std::uint32_t number) {
    std::array<std::uint8_t, 16> id{};
    id.fill(0x9A);
    id[0] = static_cast<std::uint8_t>(number);
    return id;
}

} // namespace orvanta
