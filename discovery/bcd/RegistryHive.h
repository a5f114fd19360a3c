#pragma once
// A registry hive file ("regf") read from its bytes into a key tree: the 4 KB
// base block, then hive bins of cells. A cell is a 32-bit size (negative when
// in use) and its data; keys (nk) point to their subkey list (lf, lh, li, or
// ri holding lists) and their value list, values (vk) to their data, which
// lies in the offset field itself when it is 4 bytes or less and in segments
// (db) when it is larger than one cell may be. Offsets count from the first
// hive bin. Layout after the public description of the REGF format (libyal,
// libregf); every offset and length is checked against the bytes, lists and
// depth are bounded, and a key met twice is a loop: any fault gives "can't
// read", never a partial tree.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/system/RegistryTree.h"

namespace orvanta {

// Why a hive can't be read.
enum class HiveFault {
    None,
    NotAHive,  // too short for a base block, or no "regf" signature
    BadCell,   // an offset or length outside the hive bins, or a cell of the wrong kind
    Loop,      // a key reached twice, or lists nested deeper than the format allows
    TooLarge,  // more keys, values, data or depth than any boot store has
};

struct HiveReading {
    std::optional<RegistryKey> root; // nothing when the hive can't be read
    HiveFault fault = HiveFault::None;
    // The base block's two sequence numbers differ: a write was not finished
    // (its transaction logs were not applied). The hive is read as it is.
    bool dirty = false;
};

// Limits far above any boot store's (a few dozen keys, some hundred values).
inline constexpr std::size_t MostHiveKeys = 20000;
inline constexpr std::size_t MostHiveValues = 100000;
inline constexpr std::size_t MostHiveDataBytes = 32 * 1024 * 1024;
inline constexpr std::size_t DeepestHiveKey = 32;

HiveReading ReadHive(std::span<const std::uint8_t> bytes);

} // namespace orvanta
