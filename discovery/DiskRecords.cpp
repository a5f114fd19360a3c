#include "discovery/DiskRecords.h"

#include <algorithm>

#include "discovery/LittleEndian.h"

namespace orvanta {
namespace {

bool IsSystemPartition(std::span<const std::uint8_t> entry) {
    const std::uint32_t style = ReadLittleEndian32(entry, EntryStyleOffset);
    if (style == MbrPartitionStyle) return entry[EntryTypeOffset] == MbrSystemPartitionType;
    if (style != GptPartitionStyle) return false;
    const auto type = entry.subspan(EntryTypeOffset, GptSystemPartitionType.size());
    return std::equal(type.begin(), type.end(), GptSystemPartitionType.begin());
}

} // namespace

std::vector<PartitionRecord> ParseDriveLayout(std::span<const std::uint8_t> answer) {
    std::vector<PartitionRecord> partitions;
    if (answer.size() < LayoutEntriesOffset) return partitions;
    const std::size_t held = (answer.size() - LayoutEntriesOffset) / PartitionEntrySize;
    const std::size_t count = std::min<std::size_t>(ReadLittleEndian32(answer, LayoutCountOffset), held);
    for (std::size_t index = 0; index < count; ++index) {
        const auto entry = answer.subspan(LayoutEntriesOffset + index * PartitionEntrySize, PartitionEntrySize);
        const std::uint32_t number = ReadLittleEndian32(entry, EntryNumberOffset);
        if (number == 0) continue; // an unused or extended MBR slot
        partitions.push_back({number, ReadLittleEndian(entry, EntryStartOffset, 8),
                              ReadLittleEndian(entry, EntryLengthOffset, 8), IsSystemPartition(entry)});
    }
    return partitions;
}

VolumeLocation ParseDeviceNumber(std::span<const std::uint8_t, DeviceNumberRecordSize> answer) {
    return {ReadLittleEndian32(answer, DeviceNumberOffset), ReadLittleEndian32(answer, PartitionNumberOffset)};
}

} // namespace orvanta
