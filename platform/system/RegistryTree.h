#pragma once
// A registry key with everything below it, as values: what a hive file holds
// and what the registry gives back for a loaded key. Names are UTF-8; value
// data is the bytes as stored.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

// Registry value types (REG_SZ, REG_BINARY...).
inline constexpr std::uint32_t RegistryStringType = 1;
inline constexpr std::uint32_t RegistryExpandStringType = 2;
inline constexpr std::uint32_t RegistryBinaryType = 3;
inline constexpr std::uint32_t RegistryNumberType = 4;
inline constexpr std::uint32_t RegistryStringListType = 7;

struct RegistryValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;

    bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
    std::string name;
    std::vector<RegistryValue> values;
    std::vector<RegistryKey> subkeys;

    bool operator==(const RegistryKey&) const = default;

    // The subkey or value of this name, compared without case as Windows
    // does for ASCII letters; nothing when there is none.
    const RegistryKey* subkey(const std::string& name) const;
    const RegistryValue* value(const std::string& name) const;
};

} // namespace orvanta
