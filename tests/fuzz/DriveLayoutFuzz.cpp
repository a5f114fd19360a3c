// Fuzzes the partition-table parsers (a disk's layout answer, a volume's
// partition information) against the record layout read independently here:
// every partition parsed is one of the answer's own entries, whole and in
// order, never more than the bytes hold or the answer counts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "discovery/disks/DiskRecords.h"

namespace {

std::uint64_t Le(const std::uint8_t* at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = 0; index < width; ++index) value |= std::uint64_t{at[index]} << (8 * index);
    return value;
}

// The entry of 144 bytes at `at` says this number, place and length.
bool EntrySays(const std::uint8_t* at, const orvanta::PartitionRecord& record) {
    return Le(at + 24, 4) == record.number && Le(at + 8, 8) == record.offset && Le(at + 16, 8) == record.length &&
           Le(at, 4) == (record.style == orvanta::PartitionStyle::Gpt ? 1U : 0U);
}

void CheckLayout(const std::uint8_t* data, std::size_t size) {
    const orvanta::DiskLayout layout = orvanta::ParseDriveLayout(std::span(data, size));
    if (size < 48) {
        if (!layout.partitions.empty() || layout.style != orvanta::PartitionStyle::Raw) __builtin_trap();
        return;
    }
    const std::size_t held = (size - 48) / 144;
    if (layout.partitions.size() > held || layout.partitions.size() > Le(data + 4, 4)) __builtin_trap();
    std::size_t entry = 0;
    for (const orvanta::PartitionRecord& record : layout.partitions) {
        while (entry < held && !EntrySays(data + 48 + entry * 144, record)) ++entry;
        if (entry == held || record.number == 0) __builtin_trap();
        ++entry;
    }
}

void CheckPartitionInformation(const std::uint8_t* data, std::size_t size) {
    const auto record = orvanta::ParsePartitionInformation(std::span(data, size));
    if (!record) return;
    if (size < 144 || !EntrySays(data, *record)) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckLayout(data, size);
    CheckPartitionInformation(data, size);
    return 0;
}
