#pragma once
// The names of the firmware's variables as Windows lists them
// (NtEnumerateSystemEnvironmentValuesEx, information class 1): VARIABLE_NAME
// records one after another, each NextEntryOffset (4 bytes, from this
// record's start to the next one's; 0 in the last), VendorGuid (16 bytes),
// then Name in UTF-16 up to its zero. Microsoft documents the same record as
// XVARIABLE_NAME (ntddsysenv.h).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/bytes/Guid.h"

namespace orvanta {

inline constexpr std::size_t VariableNameHeaderSize = 20;

struct VariableName {
    Guid vendor{};
    std::string name; // UTF-8

    bool operator==(const VariableName&) const = default;
};

struct VariableNameList {
    std::vector<VariableName> names; // in the order listed; up to a fault, those before it
    bool damaged = false;            // a record's offset or name doesn't fit the bytes
};

VariableNameList ParseVariableNames(std::span<const std::uint8_t> bytes);

// 0x00A3 for "Boot00A3": "Boot" and four upper-case hexadecimal digits, as
// the firmware names its boot entries; nothing for any other name.
std::optional<std::uint16_t> BootEntryNumberOf(std::string_view name);

} // namespace orvanta
