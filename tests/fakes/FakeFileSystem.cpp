#include "fakes/FakeFileSystem.h"

#include <algorithm>

#include "platform/errors/PlatformError.h"

namespace orvanta {
namespace {

std::string Key(std::string path) {
    for (char& c : path) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return path;
}

// The folders above a path, below its drive root: "C:\a\b\c" gives C:\a, C:\a\b.
std::vector<std::string> Parents(const std::string& path) {
    std::vector<std::string> parents;
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        parents.push_back(path.substr(0, slash));
    }
    return parents;
}

} // namespace

std::optional<std::uint32_t> FakeFileSystem::unreadableError(const std::string& path) const {
    for (const auto& [prefix, error] : unreadable_) {
        if (Key(path).starts_with(Key(prefix))) return error;
    }
    return std::nullopt;
}

const FakeFileSystem::Entry* FakeFileSystem::find(const std::string& path) const {
    const auto found = entries_.find(Key(path));
    return found == entries_.end() ? nullptr : &found->second;
}

void FakeFileSystem::put(const std::string& path, bool folder, FakeAttributes attributes, std::string content) {
    for (const std::string& parent : Parents(path)) {
        if (find(parent) == nullptr) entries_[Key(parent)] = Entry{parent, true, {}, {}};
    }
    entries_[Key(path)] = Entry{path, folder, attributes, std::move(content)};
}

void FakeFileSystem::addFile(const std::string& path, FakeAttributes attributes, std::string content) {
    put(path, false, attributes, std::move(content));
}

std::optional<FakeAttributes> FakeFileSystem::attributesOf(const std::string& path) const {
    const Entry* entry = find(path);
    return entry == nullptr ? std::nullopt : std::optional<FakeAttributes>(entry->attributes);
}

std::string FakeFileSystem::contentOf(const std::string& path) const {
    const Entry* entry = find(path);
    return entry == nullptr ? std::string() : entry->content;
}

void FakeFileSystem::addSizedFile(const std::string& path, std::uint64_t size) {
    put(path, false, {});
    entries_[Key(path)].size = size;
}

void FakeFileSystem::addFolder(const std::string& path, FakeAttributes attributes) {
    put(path, true, attributes);
}

void FakeFileSystem::erase(const std::string& path) {
    entries_.erase(Key(path));
}

bool FakeFileSystem::isFile(const std::string& path) const {
    const Entry* entry = find(path);
    return entry != nullptr && !entry->folder;
}

// A drive's root ("C:") is a folder when anything lies on the drive.
bool FakeFileSystem::isFolder(const std::string& path) const {
    if (path.size() == 2 && path[1] == ':') {
        const auto below = entries_.lower_bound(Key(path) + "\\");
        return below != entries_.end() && below->first.starts_with(Key(path) + "\\");
    }
    const Entry* entry = find(path);
    return entry != nullptr && entry->folder;
}

std::string FakeFileSystem::firstMatch(const std::string& path, MatchMask mask) {
    journal_.add("query " + path + " mask " + std::to_string(static_cast<std::uint32_t>(mask)));
    if (const auto error = unreadableError(path)) throw PlatformError(*error, "设备未就绪。");
    const Entry* entry = find(path);
    if (entry == nullptr || entry->attributes.hidden || entry->attributes.system) return {};
    if (entry->folder && mask != MatchMask::FilesAndFolders) return {};
    return entry->path.substr(entry->path.find_last_of('\\') + 1);
}

std::optional<FileAttributes> FakeFileSystem::fileAttributes(const std::string& path) {
    journal_.add("attributes " + path);
    if (const auto error = unreadableError(path)) throw PlatformError(*error, "设备未就绪。");
    const Entry* entry = find(path);
    if (entry == nullptr || entry->folder) return std::nullopt;
    return FileAttributes{entry->attributes.readOnly, entry->attributes.hidden, entry->attributes.system};
}

bool FakeFileSystem::moveFile(const std::string& from, const std::string& to) {
    return rename(from, to, false);
}

bool FakeFileSystem::replaceFile(const std::string& from, const std::string& to) {
    return rename(from, to, true);
}

// Renaming keeps the attributes; a read-only file may be renamed, but not replaced.
bool FakeFileSystem::rename(const std::string& from, const std::string& to, bool replace) {
    const Entry* source = find(from);
    const Entry* target = find(to);
    const bool movable = source != nullptr && !source->folder && !source->attributes.locked && !source->attributes.unmovable;
    const bool free = target == nullptr || (replace && !target->folder && !target->attributes.locked);
    journal_.add("move " + from + " -> " + to + (replace ? " replace" : "") + (movable && free ? "" : " refused"));
    if (!movable || !free) return false;
    const Entry moved = *source;
    erase(from);
    put(to, false, moved.attributes, moved.content);
    return true;
}

// "set attributes C:\boot\bcd +h +s"; a file held open can't be changed.
bool FakeFileSystem::setFileAttributes(const std::string& path, const FileAttributes& attributes) {
    const auto found = entries_.find(Key(path));
    const bool changeable = found != entries_.end() && !found->second.folder && !found->second.attributes.locked &&
                            !found->second.attributes.unmovable;
    journal_.add("set attributes " + path + (attributes.readOnly ? " +r" : "") + (attributes.hidden ? " +h" : "") +
                 (attributes.system ? " +s" : "") + (changeable ? "" : " refused"));
    if (!changeable) return false;
    found->second.attributes.readOnly = attributes.readOnly;
    found->second.attributes.hidden = attributes.hidden;
    found->second.attributes.system = attributes.system;
    return true;
}

bool FakeFileSystem::removeFile(const std::string& path) {
    const Entry* entry = find(path);
    const bool removable = entry != nullptr && !entry->folder && !entry->attributes.locked && !entry->attributes.unmovable;
    journal_.add("remove " + path + (removable ? "" : " refused"));
    if (removable) erase(path);
    return removable;
}

namespace {

bool IsBelowAny(const std::vector<std::string>& prefixes, const std::string& path) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const std::string& prefix) { return Key(path).starts_with(Key(prefix)); });
}

class FakeAppendFile : public AppendFile {
public:
    FakeAppendFile(FakeFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    bool append(std::string_view bytes, bool toDisk) override {
        return files_.appendTo(path_, bytes, toDisk);
    }

private:
    FakeFileSystem& files_;
    std::string path_;
};

} // namespace

// Not journalled: the log writes many times, and tests read the file instead.
std::unique_ptr<AppendFile> FakeFileSystem::createAppendFile(const std::string& path, bool replaceExisting) {
    if (IsBelowAny(readOnly_, path)) return nullptr;
    const Entry* entry = find(path);
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    const bool folderThere = folder.size() == 2 || isFolder(folder); // "C:" is a drive's root
    if (!folderThere || (entry != nullptr && (!replaceExisting || entry->folder || entry->attributes.locked))) {
        return nullptr;
    }
    put(path, false, FakeAttributes{}, {});
    return std::make_unique<FakeAppendFile>(*this, path);
}

bool FakeFileSystem::appendTo(const std::string& path, std::string_view bytes, bool toDisk) {
    if (IsBelowAny(full_, path)) return false;
    const Entry* entry = find(path);
    const std::string content = (entry != nullptr ? entry->content : std::string()) + std::string(bytes);
    put(path, false, entry != nullptr ? entry->attributes : FakeAttributes{}, content);
    if (toDisk) onDiskSizes_[Key(path)] = content.size();
    return true;
}

std::string FakeFileSystem::onDiskContentOf(const std::string& path) const {
    const auto size = onDiskSizes_.find(Key(path));
    return size == onDiskSizes_.end() ? std::string() : contentOf(path).substr(0, size->second);
}

std::string FakeFileSystem::fileSystemName(const std::string& driveName) {
    journal_.add("file system " + driveName);
    const auto found = fileSystems_.find(driveName);
    return found == fileSystems_.end() ? "NTFS" : found->second;
}

std::optional<std::uint64_t> FakeFileSystem::freeBytes(const std::string& driveName) {
    journal_.add("free space " + driveName);
    const auto found = freeSpace_.find(driveName);
    return found == freeSpace_.end() ? std::optional<std::uint64_t>(100ULL << 30) : found->second;
}

std::optional<std::uint64_t> FakeFileSystem::clusterBytes(const std::string& driveName) {
    journal_.add("cluster size " + driveName);
    const auto found = clusters_.find(driveName);
    return found == clusters_.end() ? std::optional<std::uint64_t>(4096) : found->second;
}

FileRead FakeFileSystem::readFile(const std::string& path, std::size_t largest) {
    journal_.add("read " + path);
    if (const auto error = unreadableError(path)) return {FileReadStatus::Failed, {}, *error};
    const Entry* entry = find(path);
    if (entry == nullptr || entry->folder) return {};
    if (entry->attributes.locked) return {FileReadStatus::HeldOpen, {}, 32};
    if (entry->content.size() > largest) return {FileReadStatus::TooLarge, {}, 0};
    return {FileReadStatus::Read, std::vector<std::uint8_t>(entry->content.begin(), entry->content.end()), 0};
}

std::vector<std::string> FakeFileSystem::filesIn(const std::string& folder) const {
    std::vector<std::string> names;
    const std::string prefix = Key(folder) + "\\";
    for (const auto& [key, entry] : entries_) {
        if (key.starts_with(prefix) && key.find('\\', prefix.size()) == std::string::npos && !entry.folder) {
            names.push_back(entry.path.substr(folder.size() + 1));
        }
    }
    return names;
}

std::optional<std::vector<FolderEntry>> FakeFileSystem::listFolder(const std::string& path) {
    journal_.add("list " + path);
    const bool unlistable = std::any_of(unlistable_.begin(), unlistable_.end(),
                                        [&](const std::string& folder) { return Key(folder) == Key(path); });
    if (!isFolder(path) || unreadableError(path) || unlistable) return std::nullopt;
    std::vector<FolderEntry> entries;
    const std::string prefix = Key(path) + "\\";
    for (const auto& [key, entry] : entries_) {
        if (!key.starts_with(prefix) || key.find('\\', prefix.size()) != std::string::npos) continue;
        entries.push_back({entry.path.substr(entry.path.find_last_of('\\') + 1), entry.folder,
                           entry.size.value_or(entry.content.size())});
    }
    return entries;
}

std::vector<std::string> FakeFileSystem::holdersOf(const std::string& path) {
    journal_.add("holders " + path);
    const auto found = holders_.find(Key(path));
    return found == holders_.end() ? std::vector<std::string>{} : found->second;
}

void FakeFileSystem::setHolders(const std::string& path, std::vector<std::string> programs) {
    holders_[Key(path)] = std::move(programs);
}

bool FakeFileSystem::createDirectories(const std::string& path) {
    std::vector<std::string> folders = Parents(path);
    folders.push_back(path);
    for (const std::string& folder : folders) {
        if (isFile(folder)) return false;
        for (const std::string& prefix : readOnly_) {
            if (find(folder) == nullptr && Key(folder).starts_with(Key(prefix))) return false;
        }
        if (find(folder) != nullptr) continue;
        entries_[Key(folder)] = Entry{folder, true, {}, {}};
        journal_.add("create " + folder);
    }
    return true;
}

} // namespace orvanta
