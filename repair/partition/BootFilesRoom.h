#pragma once
// Whether the boot partition has room for what a repair leaves on it,
// measured from the installations' own folders before anything is moved.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/FileSystem.h"

namespace orvanta {

struct BootFilesRoom {
    std::uint64_t freeBytes = 0;   // what the boot partition has free
    std::uint64_t neededBytes = 0; // what the runs add to it, the stores and their copies included

    bool enough() const { return freeBytes >= neededBytes; }
    bool operator==(const BootFilesRoom&) const = default;
};

// Files take whole clusters of the boot partition; where its cluster size
// can't be told, that of NTFS and of a small FAT32 partition.
inline constexpr std::uint64_t DefaultClusterBytes = 4096;
// Each new store: at least this large (it grows with the entries), with two
// transaction logs of at most this size each.
inline constexpr std::uint64_t NewStoreBytes = 64 * 1024;
inline constexpr std::uint64_t StoreLogBytes = 64 * 1024;

// What all the installations' bcdboot runs for both stores add to the boot
// partition: the union, by path, of the files they copy, each at the largest
// size any installation has for it, less the file already there that it
// overwrites; each file and each folder made in whole clusters. Then, for
// each of the two stores, the new store with its logs and a copy of the old
// one (made when it can't be moved aside). Nothing when the free space can't
// be told.
std::optional<BootFilesRoom> MeasureBootFilesRoom(FileSystem& files, const std::string& bootPartition,
                                                  const std::vector<std::string>& installations);

} // namespace orvanta
