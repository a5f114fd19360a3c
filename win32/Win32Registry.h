#pragma once
// Keys and REG_DWORD values below HKEY_LOCAL_MACHINE.
#include "platform/Registry.h"

namespace orvanta::win32 {

class Win32Registry final : public Registry {
public:
    bool keyExists(const std::string& key) override;
    std::optional<std::uint32_t> readNumber(const std::string& key, const std::string& name) override;
};

} // namespace orvanta::win32
