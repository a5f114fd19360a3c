#include "win32/system/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "win32/base/Utf.h"

namespace orvanta::win32 {
namespace {

static_assert(REG_SZ == RegistryStringType && REG_EXPAND_SZ == RegistryExpandStringType);
static_assert(REG_BINARY == RegistryBinaryType && REG_DWORD == RegistryNumberType);
static_assert(REG_MULTI_SZ == RegistryStringListType);

// Far beyond any boot store; a tree larger than this is not read.
constexpr std::size_t DeepestKey = 32;
constexpr std::size_t MostKeys = 20000;

// An open registry key, closed when it goes out of scope.
class OpenKey {
public:
    OpenKey(HKEY parent, const std::wstring& key, DWORD options = 0) {
        if (RegOpenKeyExW(parent, key.c_str(), options, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    explicit OpenKey(const std::string& key) : OpenKey(HKEY_LOCAL_MACHINE, Widen(key)) {}
    ~OpenKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The key's values and subkeys, depth first; false when any part can't be read.
bool ReadKey(HKEY key, RegistryKey& tree, std::size_t depth, std::size_t& keys) {
    if (depth > DeepestKey || ++keys > MostKeys) return false;
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                         &largestData, nullptr, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    std::vector<wchar_t> name(std::max(longestSubkey, longestName) + 1);
    std::vector<BYTE> data(largestData + 1);
    for (DWORD index = 0; index < values; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) !=
            ERROR_SUCCESS) {
            return false;
        }
        tree.values.push_back({Narrow(std::wstring(name.data(), nameLength)), type,
                               std::vector<std::uint8_t>(data.begin(), data.begin() + dataLength)});
    }
    for (DWORD index = 0; index < subkeys; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const std::wstring child(name.data(), nameLength);
        const OpenKey open(key, child);
        RegistryKey subtree{Narrow(child), {}, {}};
        if (open.get() == nullptr || !ReadKey(open.get(), subtree, depth + 1, keys)) return false;
        tree.subkeys.push_back(std::move(subtree));
    }
    return true;
}

// RegSaveKeyEx needs the backup privilege, RegRestoreKey the backup and the
// restore privileges, which administrators hold but which are not enabled in
// their token until asked for. The system's error, ERROR_PRIVILEGE_NOT_HELD
// when a policy took the privilege away.
DWORD EnablePrivilege(const wchar_t* name) {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token) == FALSE) {
        return GetLastError();
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD error = ERROR_SUCCESS;
    if (LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid) == FALSE ||
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) == FALSE) {
        error = GetLastError();
    } else if (GetLastError() == ERROR_NOT_ALL_ASSIGNED) {
        error = ERROR_PRIVILEGE_NOT_HELD;
    }
    CloseHandle(token);
    return error;
}

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

std::optional<std::string> Win32Registry::readText(const std::string& key, const std::string& name) {
    const OpenKey open(key);
    if (open.get() == nullptr) return std::nullopt;
    const std::wstring valueName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(open.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD room = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(open.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &room) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    // The data may or may not end with its NUL.
    return Narrow(std::wstring(text.data()));
}

std::optional<RegistryKey> Win32Registry::readTree(const std::string& key) {
    const OpenKey open(key);
    if (open.get() == nullptr) return std::nullopt;
    RegistryKey tree{key.substr(key.find_last_of('\\') + 1), {}, {}};
    std::size_t keys = 0;
    if (!ReadKey(open.get(), tree, 0, keys)) return std::nullopt;
    return tree;
}

// The file must not exist yet; the hive is written in the format of the
// running Windows.
std::uint32_t Win32Registry::saveKey(const std::string& key, const std::string& path) {
    if (const DWORD error = EnablePrivilege(SE_BACKUP_NAME); error != ERROR_SUCCESS) return error;
    HKEY opened = nullptr;
    const LONG open = RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(key).c_str(), REG_OPTION_BACKUP_RESTORE, KEY_READ, &opened);
    if (open != ERROR_SUCCESS) return static_cast<std::uint32_t>(open);
    const LONG saved = RegSaveKeyExW(opened, Widen(path).c_str(), nullptr, REG_LATEST_FORMAT);
    RegCloseKey(opened);
    return static_cast<std::uint32_t>(saved);
}

// The loaded hive's content is replaced in one call and flushed to its file,
// so that a power cut soon after doesn't bring the store it replaced back.
std::uint32_t Win32Registry::restoreKey(const std::string& key, const std::string& path) {
    for (const wchar_t* privilege : {SE_BACKUP_NAME, SE_RESTORE_NAME}) {
        if (EnablePrivilege(privilege) != ERROR_SUCCESS) return ERROR_PRIVILEGE_NOT_HELD;
    }
    HKEY opened = nullptr;
    // With REG_OPTION_BACKUP_RESTORE the access asked for is what a restore needs.
    const LONG open = RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(key).c_str(), REG_OPTION_BACKUP_RESTORE, KEY_ALL_ACCESS, &opened);
    if (open != ERROR_SUCCESS) return static_cast<std::uint32_t>(open);
    const LONG restored = RegRestoreKeyW(opened, Widen(path).c_str(), REG_FORCE_RESTORE);
    if (restored == ERROR_SUCCESS) RegFlushKey(opened);
    RegCloseKey(opened);
    return static_cast<std::uint32_t>(restored);
}

} // namespace orvanta::win32
