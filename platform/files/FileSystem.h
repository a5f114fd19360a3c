#pragma once
// The file services the scan and the repair run use. Paths are UTF-8 texts in
// Windows form (drive letter, colon, backslashes).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

// What the first-match query lets match: plain files only, or folders too.
// Hidden and system entries never match.
enum class MatchMask : std::uint32_t {
    FilesOnly = 0,
    FilesAndFolders = 16,
};

struct FileAttributes {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;

    bool operator==(const FileAttributes&) const = default;
};

// What reading a whole file gave.
enum class FileReadStatus {
    Read,
    Missing,  // no file at the path
    HeldOpen, // the system (or a program) holds it open without sharing it
    TooLarge, // larger than the reader takes
    Failed,   // any other failure; `error` says which
};

struct FileRead {
    FileReadStatus status = FileReadStatus::Missing;
    std::vector<std::uint8_t> bytes = {};
    std::uint32_t error = 0; // the system's error number when it failed

    bool operator==(const FileRead&) const = default;
};

// One entry of a folder.
struct FolderEntry {
    std::string name;
    bool folder = false;
    std::uint64_t size = 0; // bytes, for a file

    bool operator==(const FolderEntry&) const = default;
};

// A file open for appending; false when it could not be written. With
// `toDisk` the bytes (and all before them) reach the disk before it returns;
// without, the system has them, which a crash of the program doesn't lose.
class AppendFile {
public:
    virtual ~AppendFile() = default;
    virtual bool append(std::string_view bytes, bool toDisk) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The name of the entry at exactly this path when it matches the mask, or ""
    // when nothing matches. May throw PlatformError when the volume can't be read.
    virtual std::string firstMatch(const std::string& path, MatchMask mask) = 0;

    // The attributes of the plain file at the path, whatever they are; nothing
    // when there is no file there (a folder doesn't count). May throw
    // PlatformError when the volume can't be read.
    virtual std::optional<FileAttributes> fileAttributes(const std::string& path) = 0;

    // Renames a file, keeping its attributes; never replaces an existing file.
    // False when the file could not be moved; nothing is changed then.
    virtual bool moveFile(const std::string& from, const std::string& to) = 0;

    // Renames a file over an existing one, whatever that one's attributes.
    // False when it could not be done; nothing is changed then.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;

    // Sets a file's read-only, hidden and system attributes, keeping its
    // others; false when it could not be done.
    virtual bool setFileAttributes(const std::string& path, const FileAttributes& attributes) = 0;

    // Removes a file, also a read-only one; false when it could not be removed.
    virtual bool removeFile(const std::string& path) = 0;

    // Reads the whole file at the path, whatever its attributes, when it is
    // no larger than `largest` bytes.
    virtual FileRead readFile(const std::string& path, std::size_t largest) = 0;

    // The programs that hold the file open, by the names the system gives
    // them ("记事本"); empty when none is known or the system can't tell.
    virtual std::vector<std::string> holdersOf(const std::string& path) = 0;

    // Every entry of the folder (without "." and ".."), whatever their
    // attributes; nothing when the folder can't be listed.
    virtual std::optional<std::vector<FolderEntry>> listFolder(const std::string& path) = 0;

    // Creates the folder and any missing parents; true when it exists afterwards.
    virtual bool createDirectories(const std::string& path) = 0;

    // The file system of a drive such as "C:" ("NTFS", "FAT32"...); "" when
    // it can't be told.
    virtual std::string fileSystemName(const std::string& driveName) = 0;

    // The bytes free on a drive such as "C:" that this program may write
    // (disk quotas counted); nothing when it can't be told.
    virtual std::optional<std::uint64_t> freeBytes(const std::string& driveName) = 0;

    // The size of a drive's clusters, the unit its files take room in (sectors
    // per cluster times bytes per sector); nothing when it can't be told.
    virtual std::optional<std::uint64_t> clusterBytes(const std::string& driveName) = 0;

    // Creates the file and keeps it open for appending; nothing when it can't
    // be written, or when it exists and `replaceExisting` is false.
    virtual std::unique_ptr<AppendFile> createAppendFile(const std::string& path, bool replaceExisting) = 0;

    // The folder of the program's executable, without a trailing backslash.
    virtual std::string applicationFolder() = 0;

    // The user's folder for temporary files (%TEMP%), without a trailing backslash.
    virtual std::string temporaryFolder() = 0;
};

} // namespace orvanta
