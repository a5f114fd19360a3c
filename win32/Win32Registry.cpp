#include "win32/Win32Registry.h"

#include <windows.h>

#include "win32/Utf.h"

namespace orvanta::win32 {
namespace {

// An open registry key, closed when it goes out of scope.
class OpenKey {
public:
    explicit OpenKey(const std::string& key) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(key).c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

} // namespace

bool Win32Registry::keyExists(const std::string& key) {
    return OpenKey(key).get() != nullptr;
}

std::optional<std::uint32_t> Win32Registry::readNumber(const std::string& key, const std::string& name) {
    const OpenKey open(key);
    if (open.get() == nullptr) return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG read = RegQueryValueExW(open.get(), Widen(name).c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
    if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return std::nullopt;
    return value;
}

} // namespace orvanta::win32
