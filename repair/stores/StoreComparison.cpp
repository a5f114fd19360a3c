#include "repair/stores/StoreComparison.h"

#include <algorithm>
#include <utility>

#include "platform/text/CaseBlind.h"

namespace orvanta {
namespace {

// The same place; a ramdisk's options object may differ, a rebuild makes a new one.
bool SameDevice(const std::optional<BcdDevice>& first, const std::optional<BcdDevice>& second) {
    if (!first || !second) return first.has_value() == second.has_value();
    return first->kind == second->kind && first->partition == second->partition && first->fileOn == second->fileOn &&
           first->locateElement == second->locateElement && SameIgnoringCase(first->file, second->file);
}

bool IsCounterpart(const BcdObject& old, const BcdObject& candidate) {
    return candidate.type == old.type && SameDevice(old.device, candidate.device) &&
           SameDevice(old.osDevice, candidate.osDevice) && SameIgnoringCase(old.path, candidate.path) &&
           SameIgnoringCase(old.systemRoot, candidate.systemRoot);
}

bool IsOnDisks(const PartitionIdentity& partition, const std::vector<Disk>& disks) {
    return std::any_of(disks.begin(), disks.end(), [&](const Disk& disk) {
        return std::any_of(disk.layout.partitions.begin(), disk.layout.partitions.end(), [&](const PartitionRecord& record) {
            if (partition.style == PartitionStyle::Gpt) return record.style == PartitionStyle::Gpt && record.gptId == partition.gptId;
            return record.style == PartitionStyle::Mbr && disk.layout.mbrSignature == partition.mbrSignature &&
                   record.offset == partition.mbrOffset;
        });
    });
}

} // namespace

std::vector<DroppedEntry> DroppedEntries(const BcdStore& before, const BcdStore& after) {
    std::vector<DroppedEntry> dropped;
    for (const BcdObject& old : before.objects) {
        if (!IsApplication(old) || IsFirmwareObject(old)) continue;
        const auto counterpart = std::find_if(after.objects.begin(), after.objects.end(),
                                              [&](const BcdObject& candidate) { return IsCounterpart(old, candidate); });
        if (counterpart == after.objects.end()) {
            dropped.push_back({old, false});
        } else if (!old.description.empty() && old.description != counterpart->description) {
            dropped.push_back({old, true});
        }
    }
    return dropped;
}

bool LiesOnMissingPartition(const BcdObject& entry, const std::vector<Disk>& disks) {
    if (disks.empty()) return false;
    for (const auto* device : {&entry.device, &entry.osDevice}) {
        if (*device && (*device)->partition && !IsOnDisks(*(*device)->partition, disks)) return true;
    }
    return false;
}

StoreListing ListingOf(BcdStoreReading reading, const std::vector<Disk>& disks) {
    StoreListing listing{std::move(reading), {}};
    if (!listing.reading.store) return listing;
    for (const BcdObject& object : listing.reading.store->objects) {
        if (LiesOnMissingPartition(object, disks)) listing.onMissingPartitions.push_back(object.identifier);
    }
    return listing;
}

} // namespace orvanta
