#pragma once
// An in-memory file system with Windows paths: case-insensitive, with hidden,
// system and locked entries and volumes that can't be read.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/Journal.h"
#include "platform/files/FileSystem.h"

namespace orvanta {

struct FakeAttributes {
    bool hidden = false;
    bool system = false;
    bool readOnly = false;
    bool locked = false;    // held open without sharing: can't be moved, removed or read
    bool unmovable = false; // held open sharing reads only: can be read, not moved or removed

    bool operator==(const FakeAttributes&) const = default;
};

class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(Journal& journal) : journal_(journal) {}

    // Building the world; missing parents appear as plain folders.
    void addFile(const std::string& path, FakeAttributes attributes = {}, std::string content = {});
    void addFolder(const std::string& path, FakeAttributes attributes = {});
    void erase(const std::string& path);
    // Paths below the prefix can't be read: the volume answers with this error
    // (ERROR_NOT_READY unless told; 0x80310000 for one BitLocker keeps locked).
    void makeUnreadable(const std::string& prefix, std::uint32_t error = 21) { unreadable_.push_back({prefix, error}); }
    void setApplicationFolder(std::string folder) { applicationFolder_ = std::move(folder); }
    void setFileSystem(const std::string& driveName, std::string name) { fileSystems_[driveName] = std::move(name); }
    // A file that lists with this size, without holding the bytes.
    void addSizedFile(const std::string& path, std::uint64_t size);
    // What a drive has free; 100 GiB unless told, nothing (can't be told) for "".
    void setFreeBytes(const std::string& driveName, std::optional<std::uint64_t> bytes) { freeSpace_[driveName] = bytes; }
    // A drive's cluster size; 4 KB unless told, nothing (can't be told) for "".
    void setClusterBytes(const std::string& driveName, std::optional<std::uint64_t> bytes) { clusters_[driveName] = bytes; }

    // Looking at the world without journalling.
    bool isFile(const std::string& path) const;
    bool isFolder(const std::string& path) const;
    std::optional<FakeAttributes> attributesOf(const std::string& path) const;
    std::string contentOf(const std::string& path) const;
    // The files directly in a folder, by name (as written when made).
    std::vector<std::string> filesIn(const std::string& folder) const;

    std::string firstMatch(const std::string& path, MatchMask mask) override;
    std::optional<FileAttributes> fileAttributes(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    bool setFileAttributes(const std::string& path, const FileAttributes& attributes) override;
    bool removeFile(const std::string& path) override;
    bool createDirectories(const std::string& path) override;
    FileRead readFile(const std::string& path, std::size_t largest) override;
    std::optional<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    std::vector<std::string> holdersOf(const std::string& path) override;
    // The programs that hold a file open, as the system would name them.
    void setHolders(const std::string& path, std::vector<std::string> programs);
    // The folder can't be listed from now on (its files can still be reached).
    void failListing(const std::string& folder) { unlistable_.push_back(folder); }
    std::string fileSystemName(const std::string& driveName) override;
    std::optional<std::uint64_t> freeBytes(const std::string& driveName) override;
    std::optional<std::uint64_t> clusterBytes(const std::string& driveName) override;
    std::unique_ptr<AppendFile> createAppendFile(const std::string& path, bool replaceExisting) override;
    // Adds bytes to a file's content, as an open file does; with `toDisk`
    // all of it would survive a power cut. False, adding nothing, when the
    // file's volume is full.
    bool appendTo(const std::string& path, std::string_view bytes, bool toDisk = false);
    // What a power cut would leave of a file written by appending.
    std::string onDiskContentOf(const std::string& path) const;
    std::string applicationFolder() override { return applicationFolder_; }
    std::string temporaryFolder() override { return "T:\\Temp"; }
    // Paths below this one can't be written (read-only media).
    void makeReadOnly(const std::string& prefix) { readOnly_.push_back(prefix); }
    // From now on nothing more fits below this path (a full disk): appends fail.
    void fillUp(const std::string& prefix) { full_.push_back(prefix); }

private:
    struct Entry {
        std::string path; // as written when it was made
        bool folder = false;
        FakeAttributes attributes;
        std::string content;
        std::optional<std::uint64_t> size = std::nullopt; // the listed size, when not the content's
    };
    const Entry* find(const std::string& path) const;
    void put(const std::string& path, bool folder, FakeAttributes attributes, std::string content = {});
    bool rename(const std::string& from, const std::string& to, bool replace);

    Journal& journal_;
    std::map<std::string, Entry> entries_; // keyed by the upper-case path
    // The error a path can't be read with, if it lies below an unreadable prefix.
    std::optional<std::uint32_t> unreadableError(const std::string& path) const;

    std::vector<std::pair<std::string, std::uint32_t>> unreadable_;
    std::vector<std::string> readOnly_;
    std::vector<std::string> full_;
    std::vector<std::string> unlistable_;
    std::map<std::string, std::vector<std::string>> holders_; // by the upper-case path
    std::string applicationFolder_ = "F:\\Kit";
    std::map<std::string, std::string> fileSystems_; // by drive name; NTFS unless told
    std::map<std::string, std::optional<std::uint64_t>> freeSpace_; // by drive name
    std::map<std::string, std::optional<std::uint64_t>> clusters_;  // by drive name
    std::map<std::string, std::size_t> onDiskSizes_; // by the upper-case path
};

} // namespace orvanta
