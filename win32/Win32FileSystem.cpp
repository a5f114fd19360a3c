#include "win32/Win32FileSystem.h"

#include <windows.h>

#include "win32/ScopedHandles.h"
#include "win32/Utf.h"

namespace orvanta::win32 {
namespace {

// Hidden and system entries never match; folders only when the mask asks for them.
bool Matches(const WIN32_FIND_DATAW& entry, MatchMask mask) {
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) return false;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return mask == MatchMask::FilesAndFolders;
    return true;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

std::string Win32FileSystem::firstMatch(const std::string& path, MatchMask mask) {
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW(Widen(path).c_str(), &entry));
    if (!search.valid()) return {};
    do {
        if (Matches(entry, mask)) return Narrow(std::wstring(entry.cFileName));
    } while (FindNextFileW(search.get(), &entry) != FALSE);
    return {};
}

bool Win32FileSystem::fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::moveFile(const std::string& from, const std::string& to, bool replaceExisting) {
    const DWORD flags = replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0;
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), flags) != FALSE;
}

bool Win32FileSystem::removeFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool Win32FileSystem::createDirectories(const std::string& path) {
    const std::wstring full = Widen(path);
    // Each parent in turn, from the first one below the root; existing ones fail harmlessly.
    for (std::size_t end = full.find(L'\\', 3); end != std::wstring::npos;
         end = full.find(L'\\', end + 1)) {
        CreateDirectoryW(full.substr(0, end).c_str(), nullptr);
    }
    CreateDirectoryW(full.c_str(), nullptr);
    return IsFolder(full);
}

std::string Win32FileSystem::applicationFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2); // the path was cut short: try a larger buffer
    }
    const std::size_t slash = name.find_last_of(L'\\');
    return Narrow(slash == std::wstring::npos ? name : name.substr(0, slash));
}

} // namespace orvanta::win32
