#pragma once
// What a store's entries say beyond the check: which entries of the old
// store the new one has no counterpart for (a rebuild keeps only what the
// tools write), and which entries point at a partition that no disk has.
#include <string>
#include <vector>

#include "discovery/bcd/BcdStore.h"
#include "discovery/disks/PartitionIdentity.h"

namespace orvanta {

struct DroppedEntry {
    BcdObject entry;          // as the old store held it
    bool descriptionOnly = false; // the new store has it, under another description

    bool operator==(const DroppedEntry&) const = default;
};

// The old store's entries (settings objects, device options and the
// firmware's own entries are none) with no counterpart in the new one: an
// entry of the same type that starts the same program from the same device,
// for the same system. An entry that has one under another description lost
// that description.
std::vector<DroppedEntry> DroppedEntries(const BcdStore& before, const BcdStore& after);

// Whether the entry's program or system lies on a partition that none of the
// disks has; false when no disk told its partitions.
bool LiesOnMissingPartition(const BcdObject& entry, const std::vector<Disk>& disks);

// A store as read, and its entries that lie on a partition no disk has.
struct StoreListing {
    BcdStoreReading reading;
    std::vector<std::string> onMissingPartitions; // identifiers

    bool operator==(const StoreListing&) const = default;
};

StoreListing ListingOf(BcdStoreReading reading, const std::vector<Disk>& disks);

} // namespace orvanta
