#pragma once
// Reading the local machine's registry (HKEY_LOCAL_MACHINE).
#include <cstdint>
#include <optional>
#include <string>

namespace orvanta {

class Registry {
public:
    virtual ~Registry() = default;
    // Whether the key exists below HKEY_LOCAL_MACHINE, e.g. "System\\CurrentControlSet\\Control\\MiniNT".
    virtual bool keyExists(const std::string& key) = 0;
    // A REG_DWORD value of a key below HKEY_LOCAL_MACHINE; nothing when it is missing or of another type.
    virtual std::optional<std::uint32_t> readNumber(const std::string& key, const std::string& name) = 0;
};

} // namespace orvanta
