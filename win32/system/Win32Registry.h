#pragma once
// Keys, REG_DWORD and REG_SZ values and whole key trees below HKEY_LOCAL_MACHINE; a key
// saved to a hive file, and restored from one.
#include "platform/system/Registry.h"

namespace orvanta::win32 {

class Win32Registry final : public Registry {
public:
    bool keyExists(const std::string& key) override;
    std::optional<std::uint32_t> readNumber(const std::string& key, const std::string& name) override;
    std::optional<std::string> readText(const std::string& key, const std::string& name) override;
    std::optional<RegistryKey> readTree(const std::string& key) override;
    std::uint32_t saveKey(const std::string& key, const std::string& path) override;
    std::uint32_t restoreKey(const std::string& key, const std::string& path) override;
};

} // namespace orvanta::win32
