#pragma once
// The BCD stores the fake bcdboot writes: a boot manager, a Windows loader
// per installation it was run for, the default the last one; written as hive
// bytes by a small writer of its own (one hive bin, "li" lists), enough for
// the fake machine. The reader is tested against stores that Windows and
// hivex wrote, not against this writer.
#include <optional>
#include <string>
#include <vector>

#include "discovery/disks/PartitionIdentity.h"
#include "platform/system/RegistryTree.h"

namespace orvanta {

struct FakeLoader {
    std::string installation; // "C:\Windows"
    PartitionIdentity partition;
};

// `defaultIndex` names the default loader; -1 leaves the boot manager without one.
RegistryKey FakeBcdTree(bool uefi, const std::vector<FakeLoader>& loaders, int defaultIndex);

// A hive file holding the tree.
std::string FakeHiveBytes(const RegistryKey& root);

// A partition device element naming the partition.
std::vector<std::uint8_t> FakePartitionElement(const PartitionIdentity& partition);

} // namespace orvanta
