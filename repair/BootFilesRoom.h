#pragma once
// Whether the boot partition has room for the boot files bcdboot copies to
// it, measured from the installations' own folders before anything is moved.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace orvanta {

struct BootFilesRoom {
    std::uint64_t freeBytes = 0;   // what the boot partition has free
    std::uint64_t neededBytes = 0; // what the largest installation's boot files add, with the margin

    bool enough() const { return freeBytes >= neededBytes; }
    bool operator==(const BootFilesRoom&) const = default;
};

// Room kept for the two new stores with their transaction logs, the saved
// copy of a store the system holds, and the folders made.
inline constexpr std::uint64_t StoreMarginBytes = 1024 * 1024;
// Each file is counted in whole units of this size, the usual cluster of NTFS
// and of a FAT32 system partition.
inline constexpr std::uint64_t AllocationUnitBytes = 4096;

// For each installation ("D:\Windows"), the bytes its bcdboot runs for both
// stores would add to the boot partition (each file it copies, less the file
// of the same name already there, which it overwrites); the largest of
// these plus StoreMarginBytes is what is needed. Nothing when the free space
// can't be told.
std::optional<BootFilesRoom> MeasureBootFilesRoom(FileSystem& files, const std::string& bootPartition,
                                                  const std::vector<std::string>& installations);

} // namespace orvanta
