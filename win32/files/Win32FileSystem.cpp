#include "win32/files/Win32FileSystem.h"

#include <windows.h>

#include "win32/base/ProgramPath.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"
#include "win32/base/Win32Error.h"

namespace orvanta::win32 {
namespace {

// Hidden and system entries never match; folders only when the mask asks for them.
bool Matches(const WIN32_FIND_DATAW& entry, MatchMask mask) {
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) return false;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return mask == MatchMask::FilesAndFolders;
    return true;
}

bool IsNoSuchFile(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_BAD_PATHNAME || error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME;
}

void ClearReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

std::string Win32FileSystem::firstMatch(const std::string& path, MatchMask mask) {
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW(Widen(path).c_str(), &entry));
    if (!search.valid()) {
        // Nothing there is no match; anything else (a volume BitLocker keeps
        // locked, a drive without media) is the volume's own answer.
        const DWORD error = GetLastError();
        if (IsNoSuchFile(error)) return {};
        throw LastErrorOf(error);
    }
    do {
        if (Matches(entry, mask)) return Narrow(std::wstring(entry.cFileName));
    } while (FindNextFileW(search.get(), &entry) != FALSE);
    return {};
}

std::optional<FileAttributes> Win32FileSystem::fileAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (IsNoSuchFile(error)) return std::nullopt;
        throw LastErrorOf(error); // the volume can't be read
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
    return FileAttributes{(attributes & FILE_ATTRIBUTE_READONLY) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                          (attributes & FILE_ATTRIBUTE_SYSTEM) != 0};
}

// A rename keeps the file's attributes, whatever they are.
bool Win32FileSystem::moveFile(const std::string& from, const std::string& to) {
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), 0) != FALSE;
}

bool Win32FileSystem::replaceFile(const std::string& from, const std::string& to) {
    ClearReadOnly(Widen(to)); // a read-only file can't be replaced
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool Win32FileSystem::setFileAttributes(const std::string& path, const FileAttributes& wanted) {
    const std::wstring file = Widen(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    // Of the others, only those SetFileAttributesW takes are kept.
    constexpr DWORD Kept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                           FILE_ATTRIBUTE_TEMPORARY;
    DWORD changed = (attributes & Kept) | (wanted.readOnly ? FILE_ATTRIBUTE_READONLY : 0) |
                    (wanted.hidden ? FILE_ATTRIBUTE_HIDDEN : 0) | (wanted.system ? FILE_ATTRIBUTE_SYSTEM : 0);
    if (changed == 0) changed = FILE_ATTRIBUTE_NORMAL; // valid only alone
    return SetFileAttributesW(file.c_str(), changed) != FALSE;
}

bool Win32FileSystem::removeFile(const std::string& path) {
    const std::wstring file = Widen(path);
    ClearReadOnly(file); // a read-only file can't be deleted
    return DeleteFileW(file.c_str()) != FALSE;
}

std::string Win32FileSystem::fileSystemName(const std::string& driveName) {
    wchar_t name[MAX_PATH + 1] = {};
    const std::wstring root = Widen(driveName) + L"\\";
    if (GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1) == FALSE) {
        return {};
    }
    return Narrow(std::wstring(name));
}

std::optional<std::uint64_t> Win32FileSystem::freeBytes(const std::string& driveName) {
    ULARGE_INTEGER available{};
    const std::wstring root = Widen(driveName) + L"\\";
    if (GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr) == FALSE) return std::nullopt;
    return available.QuadPart;
}

std::optional<std::uint64_t> Win32FileSystem::clusterBytes(const std::string& driveName) {
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    const std::wstring root = Widen(driveName) + L"\\";
    if (GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) == FALSE ||
        sectorsPerCluster == 0 || bytesPerSector == 0) {
        return std::nullopt;
    }
    return std::uint64_t{sectorsPerCluster} * bytesPerSector;
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

// Shared for reading, writing and deleting, so that only a handle that shares
// nothing (a loaded registry hive's) keeps the file from being read.
FileRead Win32FileSystem::readFile(const std::string& path, std::size_t largest) {
    const UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (IsNoSuchFile(error)) return {};
        return {error == ERROR_SHARING_VIOLATION ? FileReadStatus::HeldOpen : FileReadStatus::Failed, {}, error};
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) == FALSE) return {FileReadStatus::Failed, {}, GetLastError()};
    if (static_cast<std::uint64_t>(size.QuadPart) > largest) return {FileReadStatus::TooLarge, {}, 0};
    FileRead read{FileReadStatus::Read, std::vector<std::uint8_t>(static_cast<std::size_t>(size.QuadPart)), 0};
    std::size_t done = 0;
    while (done < read.bytes.size()) {
        DWORD got = 0;
        const auto wanted = static_cast<DWORD>(read.bytes.size() - done);
        if (ReadFile(file.get(), read.bytes.data() + done, wanted, &got, nullptr) == FALSE) {
            return {FileReadStatus::Failed, {}, GetLastError()};
        }
        if (got == 0) break; // the file became shorter meanwhile
        done += got;
    }
    read.bytes.resize(done);
    return read;
}

std::optional<std::vector<FolderEntry>> Win32FileSystem::listFolder(const std::string& path) {
    WIN32_FIND_DATAW entry{};
    const FindHandle search(FindFirstFileW((Widen(path) + L"\\*").c_str(), &entry));
    if (!search.valid()) return std::nullopt;
    std::vector<FolderEntry> entries;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::uint64_t size = static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32U | entry.nFileSizeLow;
        entries.push_back({Narrow(name), folder, folder ? 0 : size});
    } while (FindNextFileW(search.get(), &entry) != FALSE);
    return entries;
}

namespace {

// Open for the program's life; others may read it meanwhile (Notepad, say).
class Win32AppendFile final : public AppendFile {
public:
    explicit Win32AppendFile(UniqueHandle file) : file_(std::move(file)) {}
    bool append(std::string_view bytes, bool toDisk) override {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(bytes.size());
        const bool ok = WriteFile(file_.get(), bytes.data(), size, &written, nullptr) != FALSE && written == size;
        return ok && (!toDisk || FlushFileBuffers(file_.get()) != FALSE);
    }

private:
    UniqueHandle file_;
};

} // namespace

std::unique_ptr<AppendFile> Win32FileSystem::createAppendFile(const std::string& path, bool replaceExisting) {
    // GENERIC_WRITE, not only FILE_APPEND_DATA: FlushFileBuffers needs it. Only
    // this handle writes, so every write lands at the end.
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  replaceExisting ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    return std::make_unique<Win32AppendFile>(std::move(file));
}

std::string Win32FileSystem::temporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring path(folder, length);
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return Narrow(path);
}

std::string Win32FileSystem::applicationFolder() {
    return Narrow(ProgramFolder());
}

} // namespace orvanta::win32
