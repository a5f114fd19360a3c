#pragma once
// Reading the local machine's registry (HKEY_LOCAL_MACHINE).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/system/RegistryTree.h"

namespace orvanta {

class Registry {
public:
    virtual ~Registry() = default;
    // Whether the key exists below HKEY_LOCAL_MACHINE, e.g. "System\\CurrentControlSet\\Control\\MiniNT".
    virtual bool keyExists(const std::string& key) = 0;
    // A REG_DWORD value of a key below HKEY_LOCAL_MACHINE; nothing when it is missing or of another type.
    virtual std::optional<std::uint32_t> readNumber(const std::string& key, const std::string& name) = 0;
    // A REG_SZ value of a key below HKEY_LOCAL_MACHINE; nothing when it is missing or of another type.
    virtual std::optional<std::string> readText(const std::string& key, const std::string& name) = 0;
    // A key below HKEY_LOCAL_MACHINE with everything below it, such as the
    // loaded boot store "BCD00000000"; nothing when it can't be read.
    virtual std::optional<RegistryKey> readTree(const std::string& key) = 0;
    // Writes a key below HKEY_LOCAL_MACHINE and everything below it to a new
    // hive file at `path` (with the backup privilege). Returns the system's
    // error number, 0 when it was saved; a failed save may leave part of the file.
    virtual std::uint32_t saveKey(const std::string& key, const std::string& path) = 0;
    // Replaces everything below a loaded key with the hive file at `path`,
    // over the handles others hold open in it (with the backup and restore
    // privileges). Returns the system's error number, 0 when it was restored;
    // PrivilegeNotHeldError when the privileges could not be had: nothing was
    // tried then.
    virtual std::uint32_t restoreKey(const std::string& key, const std::string& path) = 0;
};

} // namespace orvanta
