#include "discovery/disks/DiskRecords.h"

#include <algorithm>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {
namespace {

std::optional<PartitionStyle> StyleOf(std::uint32_t value) {
    if (value == MbrPartitionStyle) return PartitionStyle::Mbr;
    if (value == GptPartitionStyle) return PartitionStyle::Gpt;
    if (value == RawPartitionStyle) return PartitionStyle::Raw;
    return std::nullopt;
}

GuidBytes GuidAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    GuidBytes guid{};
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), guid.size(), guid.begin());
    return guid;
}

// One PARTITION_INFORMATION_EX of exactly PartitionEntrySize bytes.
std::optional<PartitionRecord> ParseEntry(std::span<const std::uint8_t> entry) {
    const std::optional<PartitionStyle> style = StyleOf(ReadLittleEndian32(entry, EntryStyleOffset));
    if (!style || *style == PartitionStyle::Raw) return std::nullopt;
    PartitionRecord record;
    record.number = ReadLittleEndian32(entry, EntryNumberOffset);
    record.offset = ReadLittleEndian(entry, EntryStartOffset, 8);
    record.length = ReadLittleEndian(entry, EntryLengthOffset, 8);
    record.style = *style;
    if (*style == PartitionStyle::Mbr) {
        record.mbrType = entry[EntryTypeOffset];
        record.active = entry[EntryBootIndicatorOffset] != 0;
        record.systemPartition = record.mbrType == MbrSystemPartitionType;
    } else {
        record.gptType = GuidAt(entry, EntryTypeOffset);
        record.gptId = GuidAt(entry, EntryIdOffset);
        record.systemPartition = record.gptType == GptSystemPartitionType;
    }
    return record;
}

} // namespace

DiskLayout ParseDriveLayout(std::span<const std::uint8_t> answer) {
    DiskLayout layout;
    if (answer.size() < LayoutEntriesOffset) return layout;
    layout.style = StyleOf(ReadLittleEndian32(answer, LayoutStyleOffset)).value_or(PartitionStyle::Raw);
    if (layout.style == PartitionStyle::Mbr) layout.mbrSignature = ReadLittleEndian32(answer, LayoutSignatureOffset);
    if (layout.style == PartitionStyle::Gpt) layout.gptDiskId = GuidAt(answer, LayoutDiskIdOffset);
    const std::size_t held = (answer.size() - LayoutEntriesOffset) / PartitionEntrySize;
    const std::size_t count = std::min<std::size_t>(ReadLittleEndian32(answer, LayoutCountOffset), held);
    for (std::size_t index = 0; index < count; ++index) {
        const auto entry = answer.subspan(LayoutEntriesOffset + index * PartitionEntrySize, PartitionEntrySize);
        std::optional<PartitionRecord> record = ParseEntry(entry);
        // A slot of number 0 is an unused or extended MBR slot.
        if (record && record->number != 0) layout.partitions.push_back(*record);
    }
    return layout;
}

std::optional<PartitionRecord> ParsePartitionInformation(std::span<const std::uint8_t> answer) {
    if (answer.size() < PartitionEntrySize) return std::nullopt;
    return ParseEntry(answer.first(PartitionEntrySize));
}

std::optional<DiskGeometry> ParseDiskGeometry(std::span<const std::uint8_t> answer) {
    if (answer.size() < GeometryMinimumSize) return std::nullopt;
    const std::uint32_t bytesPerSector = ReadLittleEndian32(answer, GeometryBytesPerSectorOffset);
    const bool powerOfTwo = (bytesPerSector & (bytesPerSector - 1)) == 0;
    if (!powerOfTwo || bytesPerSector < SmallestSectorSize || bytesPerSector > LargestSectorSize) return std::nullopt;
    return DiskGeometry{bytesPerSector, ReadLittleEndian(answer, GeometryDiskSizeOffset, 8)};
}

VolumeLocation ParseDeviceNumber(std::span<const std::uint8_t, DeviceNumberRecordSize> answer) {
    return {ReadLittleEndian32(answer, DeviceNumberOffset), ReadLittleEndian32(answer, PartitionNumberOffset)};
}

} // namespace orvanta
